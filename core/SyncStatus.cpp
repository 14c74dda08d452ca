#include "core/SyncStatus.h"

SyncStatus::SyncStatus(QObject *parent)
    : QObject(parent)
{ }

void SyncStatus::beginSync()
{
    if (m_depth++ == 0) {
        m_errorPending = false;
        emit syncBusyChanged(true);
    }
}

void SyncStatus::endSync(bool errored)
{
    if (m_depth < 1)
        return;
    if (errored)
        m_errorPending = true;
    if (--m_depth > 0)
        return;
    if (m_lastErrored != m_errorPending) {
        m_lastErrored = m_errorPending;
        emit lastSyncErroredChanged(m_lastErrored);
    }
    if (!m_lastErrored) {
        m_lastErrorReason.clear();
        m_lastErrorCalendarId.clear();
    }
    emit syncBusyChanged(false);
}

void SyncStatus::setLastSyncError(const QString &calendarId, const QString &reason)
{
    m_lastErrorCalendarId = calendarId;
    m_lastErrorReason = reason;
}
