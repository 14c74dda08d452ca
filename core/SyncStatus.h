#pragma once

// Whether account syncs are running and how the last round ended: runs nest (beginSync /
// endSync), and the round counts as failed when any run in it failed. The state's sync gate
// calls both as its runs begin and end, so busy means a run is under way there.

#include <QObject>
#include <QString>

class SyncStatus : public QObject
{
    Q_OBJECT
public:
    explicit SyncStatus(QObject *parent = nullptr);

    int depth() const { return m_depth; }
    bool isBusy() const { return m_depth > 0; }
    bool errorPending() const { return m_errorPending; }
    bool lastErrored() const { return m_lastErrored; }
    QString lastErrorReason() const { return m_lastErrorReason; }
    QString lastErrorCalendarId() const { return m_lastErrorCalendarId; }

    void beginSync();
    void endSync(bool errored);
    void setLastSyncError(const QString &calendarId, const QString &reason);

signals:
    void syncBusyChanged(bool busy);
    void lastSyncErroredChanged(bool errored);

private:
    int m_depth = 0;
    bool m_errorPending = false;
    bool m_lastErrored = false;
    QString m_lastErrorReason;
    QString m_lastErrorCalendarId;
};
