#pragma once

// Keeps the user's configuration in step between devices through one bucket on the cloud
// service's sync API: accounts, per-calendar preferences, calendar groups, filter rules, event
// templates and the first day of the week. A cycle pulls what changed since the stored cursor,
// applies the account records, finds the calendars of accounts that have just arrived, applies
// the rest, stores the new cursor and then pushes the whole bucket.
//
// A cycle runs when asked, every five minutes while signed in, and two seconds after the last of
// a burst of filter-rule changes; never while signed out, and never two at once (asking during
// a cycle runs one more after it). Applying is ConfigApplier's, one transaction per kind of
// record: a failed write leaves that kind as it was and the same changes are pulled again next
// cycle. The push follows also a pull that failed, except on a device that has not applied a
// pull yet (new, or after such a failure); it follows a pull that arrived but was not applied.
// The state ends "failed", with the reason, when any step of the cycle failed.

#include "services/sync/cloud/ConfigApplier.h"
#include "services/sync/cloud/ConfigDiscovery.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QLoggingCategory>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class AppState;
class QTimer;

Q_DECLARE_LOGGING_CATEGORY(lcConfigSync)

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
    static constexpr int discoveryTimeoutMs = ConfigDiscovery::defaultTimeoutMs;

    ConfigSyncService(AppState *appState, LarkAccount::ApiClient *api, QObject *parent = nullptr);
    ~ConfigSyncService() override;

    State state() const { return m_state; }
    // Why the last cycle failed; empty when it did not.
    QString failureReason() const { return m_failureReason; }
    // A cycle is running; the state may already tell a failed push while the pull runs.
    bool isCycleRunning() const { return m_running; }
    const QTimer *autoSyncTimer() const { return m_autoSyncTimer; }
    const QTimer *mutationDebounceTimer() const { return m_mutationDebounceTimer; }

    // Whether the cloud account is signed in; without a check every cycle may run.
    void setSignedInCheck(std::function<bool()> check) { m_signedIn = std::move(check); }
    // How the calendars of a newly arrived Google or Microsoft account are listed; the
    // providers' own requests unless replaced.
    void setProviderCalendarLister(ProviderCalendarLister lister);
    // Longest wait for one account's discovery before the cycle goes on without it.
    void setDiscoveryTimeout(int ms);

    // The bucket as the next push would send it, and the ids of the account tombstones in it.
    struct Bucket
    {
        QJsonArray changes;
        QStringList accountTombstones;
    };
    Bucket buildBucket() const;

    bool syncAccountsEnabled() const;
    bool syncFiltersEnabled() const;
    bool syncViewsEnabled() const;
    bool syncTemplatesEnabled() const;
    bool syncSettingsEnabled() const;

public slots:
    void syncNow();
    void syncOnMutation();
    void startAutoSync();
    void stopAutoSync();

signals:
    void stateChanged(Larkspindle::ConfigSyncService::State state);

private:
    QDateTime now() const;
    bool signedIn() const;
    void setState(State state);
    // Remembers the first failure of the cycle; the cycle ends in it.
    void noteFailure(State state, const QString &reason);
    void endCycle();
    ConfigApplier::Sections sections() const;

    void runPush();
    void runPull();
    void handlePush(bool ok, int status, const QJsonObject &body, const QStringList &pushedIds);
    void handlePull(bool ok, int status, const QJsonObject &body);
    // Finds the calendars of the accounts the pull brought, then finishes the pull.
    void runPostAccountDiscovery(const QStringList &accountIds, const QJsonArray &changes,
                                 const QJsonObject &reply);
    // Every record of the pull but the accounts, stage by stage.
    [[nodiscard]] bool applyRemainingChanges(const QJsonArray &changes);
    void finishPull(const QJsonArray &changes, const QJsonObject &reply, bool accountsKept,
                    bool discovered);
    bool storeCursor(const QJsonObject &reply);
    bool secretsMayTravel() const;
    void reapAccountTombstones(const QStringList &ids);

    AppState *m_appState;
    LarkAccount::ApiClient *m_api;
    QTimer *m_autoSyncTimer;
    QTimer *m_mutationDebounceTimer;
    ConfigApplier m_applier;
    ConfigDiscovery *m_discovery;
    State m_state = Idle;
    State m_failure = Idle;
    QString m_failureReason;
    bool m_running = false;
    bool m_runAgain = false;
    // The running cycle pushes also when its pull did not arrive.
    bool m_pushWithoutPull = false;
    // The last pull was not applied: the next cycle pulls it again before pushing.
    bool m_applyFailed = false;
    std::function<bool()> m_signedIn;
};

} // namespace Larkspindle
