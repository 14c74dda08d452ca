#pragma once

// Keeps the user's configuration in step between devices through one bucket on the cloud
// service's sync API: accounts, per-calendar preferences, calendar groups, filter rules, event
// templates and the first day of the week. A cycle pushes the whole bucket, pulls what changed
// since the stored cursor, applies the account records, finds the calendars of accounts that
// have just arrived, applies the rest and only then stores the new cursor.
//
// A cycle runs when asked, every five minutes while signed in, and two seconds after the last of
// a burst of filter-rule changes; never while signed out, and never two at once (asking during
// a cycle runs one more after it). Each stage of applying is one transaction: a failed write
// leaves the store as it was and the same changes are pulled again next cycle. A device that
// has not applied a pull yet (new, or after such a failure) pulls before it pushes. A pulled record
// that changes nothing writes nothing, so devices do not echo each other's records forever.

#include "model/Records.h"

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

// One calendar of a Google or Microsoft account, as its provider lists it.
struct ProviderCalendar
{
    QString id;
    QString name;
    QString description;
    QString color;
    bool readOnly = false;
};

// Lists the calendars of a "google" or "microsoft" account with an access token; calls done
// exactly once, with ok false and a readable reason when no list could be had. Objects it makes
// for the request are children of context.
using ProviderCalendarDone
    = std::function<void(bool ok, const QList<ProviderCalendar> &calendars, const QString &reason)>;
using ProviderCalendarLister = std::function<void(
    const QString &provider, const QString &accessToken, QObject *context, ProviderCalendarDone)>;

// The lister of the program: the providers' own calendar-list requests.
void listProviderCalendarsWithClients(const QString &provider, const QString &accessToken,
                                      QObject *context, ProviderCalendarDone done);

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
    static constexpr int discoveryTimeoutMs = 120000;

    ConfigSyncService(AppState *appState, LarkAccount::ApiClient *api, QObject *parent = nullptr);
    ~ConfigSyncService() override;

    State state() const { return m_state; }
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
    void setDiscoveryTimeout(int ms) { m_discoveryTimeoutMs = ms; }

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
    struct Discovery;
    struct ProviderTraits;
    using Done = std::function<void()>;

    // What one transaction of applying has written, announced once it is committed.
    struct ApplyRun
    {
        bool failed = false;
        bool accounts = false;
        bool calendars = false;
        bool views = false;
        bool rules = false;
        bool templates = false;
        QStringList preferences;
        bool calendarsLoaded = false;
        QList<Calendar> calendarList;
    };

    QDateTime now() const;
    bool signedIn() const;
    void setState(State state);
    void endCycle(State state);

    // The cycle
    void runPush();
    void runPull();
    void handlePush(bool ok, int status, const QJsonObject &body, const QStringList &pushedIds);
    void handlePull(bool ok, int status, const QJsonObject &body);
    void finishPull(const QJsonArray &changes, const QJsonObject &reply, bool discovered);
    bool storeCursor(const QJsonObject &reply);
    bool secretsMayTravel() const;
    void reapAccountTombstones(const QStringList &ids);
    bool removeCalendarWithItems(const QString &calendarId);

    // Applying, inside applyInTransaction
    bool applyInTransaction(const char *name, const std::function<void()> &apply);
    bool noteWrite(bool ok, bool ApplyRun::*what);
    const QList<Calendar> &calendarList();
    bool applyCalDavAccount(const QJsonObject &record, QString *discoveryId);
    bool applyOAuthAccount(const QJsonObject &record, QString *discoveryId);
    void applyWebcalCalendar(const QJsonObject &record);
    bool storePassword(const QString &accountId, const QString &password);
    void applyRemainingChanges(const QJsonArray &changes);
    void applyCalendarPreference(const QJsonObject &record);
    template<typename Row, typename Repo>
    void applyLastWriter(Repo *repo, bool ApplyRun::*written, const QJsonObject &record,
                         const std::optional<Row> &local,
                         Row (*from)(const QJsonObject &, const QList<Calendar> &,
                                     const QDateTime &),
                         QJsonObject (*toRecord)(const Row &, const QList<Calendar> &,
                                                 const QDateTime &));
    void applyCalendarView(const QJsonObject &record);
    void applyFilterRule(const QJsonObject &record);
    void applyEventTemplate(const QJsonObject &record);
    void applyInitialSetting(const QJsonObject &record);
    void resolveKeptCalendarKeys();

    // Discovery of the calendars of accounts that have just arrived
    void runPostAccountDiscovery(const QStringList &ids, const QJsonArray &changes,
                                 const QJsonObject &reply);
    void runCalDavDiscovery(const Account &account, Done done);
    void runProviderDiscovery(const Account &account, const ProviderTraits &traits, Done done);
    void listProviderCalendars(const std::shared_ptr<Discovery> &discovery,
                               const QString &accessToken);
    void adoptProviderCalendars(const std::shared_ptr<Discovery> &discovery,
                                const QList<ProviderCalendar> &calendars);
    void setAccountSyncError(const QString &accountId, const QString &text);

    AppState *m_appState;
    LarkAccount::ApiClient *m_api;
    QTimer *m_autoSyncTimer;
    QTimer *m_mutationDebounceTimer;
    State m_state = Idle;
    bool m_running = false;
    bool m_runAgain = false;
    // The running cycle pulls first and pushes last.
    bool m_pushLast = false;
    // The last pull was not applied: the next cycle pulls it again before pushing.
    bool m_applyFailed = false;
    std::function<bool()> m_signedIn;
    ProviderCalendarLister m_listProviderCalendars;
    int m_discoveryTimeoutMs = discoveryTimeoutMs;
    ApplyRun m_apply;
};

} // namespace Larkspindle
