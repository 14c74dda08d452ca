#include "services/sync/cloud/ConfigSyncService.h"

#include <QLoggingCategory>
#include <QTimer>
#include <QtDebug>

Q_LOGGING_CATEGORY(lcConfigSync, "calendar.configsync", QtWarningMsg)

namespace Larkspindle {

ConfigSyncService::ConfigSyncService(AppState *appState, LarkAccount::ApiClient *api,
                                     QObject *parent)
    : QObject(parent)
    , m_appState(appState)
    , m_api(api)
    , m_autoSyncTimer(new QTimer(this))
    , m_mutationDebounceTimer(new QTimer(this))
{
    m_autoSyncTimer->setInterval(autoSyncIntervalMs);
    m_mutationDebounceTimer->setInterval(mutationDebounceMs);
    m_mutationDebounceTimer->setSingleShot(true);
    connect(m_autoSyncTimer, &QTimer::timeout, this, &ConfigSyncService::syncNow);
    connect(m_mutationDebounceTimer, &QTimer::timeout, this, &ConfigSyncService::syncNow);
}

void ConfigSyncService::setState(State state)
{
    if (state == m_state)
        return;
    m_state = state;
    emit stateChanged(state);
}

void ConfigSyncService::syncNow()
{
    if (m_state == Syncing) {
        qInfo() << "[ConfigSync] syncNow skipped — already syncing";
        return;
    }
    if (!m_api) {
        qInfo() << "[ConfigSync] syncNow skipped — no api client";
        return;
    }
    qInfo() << "[ConfigSync] syncNow → running";
    setState(Syncing);
    runPush();
}

void ConfigSyncService::syncOnMutation()
{
    m_mutationDebounceTimer->start();
}

void ConfigSyncService::startAutoSync()
{
    if (!m_autoSyncTimer->isActive())
        m_autoSyncTimer->start();
}

void ConfigSyncService::stopAutoSync()
{
    m_autoSyncTimer->stop();
    m_mutationDebounceTimer->stop();
}

void ConfigSyncService::runPush()
{
    // No section of the bucket is written yet, so there is never anything to send: the cycle
    // ends here without a request.
    qCDebug(lcConfigSync) << "[ConfigSync] nothing to push — cycle ends";
    setState(Idle);
}

} // namespace Larkspindle
