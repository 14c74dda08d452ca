#pragma once

// Keeps the user's configuration in step between devices through one bucket on the cloud
// service's sync API: a cycle runs when asked, every five minutes while signed in, and two
// seconds after the last of a burst of filter-rule changes.

#include <QObject>

class AppState;
class QTimer;

namespace LarkAccount {
class ApiClient;
}

namespace Larkspindle {

class ConfigSyncService : public QObject
{
    Q_OBJECT
public:
    enum State {
        Idle = 0,
        Syncing = 1,
        Failed = 2,
        SignInRequired = 3,
    };
    Q_ENUM(State)

    static constexpr int autoSyncIntervalMs = 300000;
    static constexpr int mutationDebounceMs = 2000;

    ConfigSyncService(AppState *appState, LarkAccount::ApiClient *api, QObject *parent = nullptr);

    State state() const { return m_state; }
    const QTimer *autoSyncTimer() const { return m_autoSyncTimer; }
    const QTimer *mutationDebounceTimer() const { return m_mutationDebounceTimer; }

public slots:
    void syncNow();
    void syncOnMutation();
    void startAutoSync();
    void stopAutoSync();

signals:
    void stateChanged(Larkspindle::ConfigSyncService::State state);

private:
    void setState(State state);
    void runPush();

    [[maybe_unused]] AppState *m_appState; // the bucket is read from its repositories
    LarkAccount::ApiClient *m_api;
    QTimer *m_autoSyncTimer;
    QTimer *m_mutationDebounceTimer;
    State m_state = Idle;
};

} // namespace Larkspindle
