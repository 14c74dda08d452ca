#pragma once

// The shared state every view, pane, dialog and service is handed: the store, the repositories,
// the services, and the view state (active group, date, mode, history, running syncs).

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QLocale>
#include <QObject>
#include <QSet>
#include <QString>

#include <functional>

class Database;
class PreferencesRepository;
class AccountRepository;
class CalendarRepository;
class EventRepository;
class TaskRepository;
class ViewRepository;
class FilterRuleRepository;
class TemplateRepository;
class ThemeManager;
class UndoStack;
class SyncQueueRepository;
class AppState;

namespace Weather {
class Service;
}
namespace LarkAccount {
class Client;
} // namespace LarkAccount
namespace Sync {
class ConflictResolutionService;
class SyncCoordinator;
} // namespace Sync
namespace Larkspindle {
class ConfigSyncService;
}
namespace Invitations {
class Service;
}

// What the layers above the core add to the state. The composition root registers one set for
// the process (AppState::setServiceFactory); AppState::initialize runs it once the store and the
// repositories stand. Without one the state runs with the store alone, signed out.
struct AppStateServiceFactory
{
    // Makes the theme manager, the forecast service, the cloud account client and the
    // configuration sync (the state as their parent) and hands them over with attachServices.
    std::function<void(AppState &state)> create;
    // Connects the cloud account to the state and loads its stored tokens.
    std::function<void(AppState &state)> startAccount;
    // Whether the cloud account is signed in right now.
    std::function<bool(const AppState &state)> isSignedIn;
    // Configuration sync on and the cloud calendar-list pull, for AppState::onAuthenticated.
    std::function<void(AppState &state)> authenticated;
    // Configuration sync timers off, on any sign-in state but signed in.
    std::function<void(AppState &state)> signedOut;
};

// One step of the view history.
struct NavEntry
{
    QString viewMode;
    QDate date;
    int weekHorizon = 7;
};

class AppState : public QObject
{
    Q_OBJECT
public:
    explicit AppState(QObject *parent = nullptr);
    ~AppState() override;

    // Opens the store at the data directory's database path (or at databasePath when given),
    // creates the repositories and services and restores the view state. False when the store
    // cannot be opened or migrated; only the Database object exists then.
    [[nodiscard]] bool initialize(const QString &databasePath = QString());

    // Registers how the layers above make their services; replaces any earlier registration.
    static void setServiceFactory(AppStateServiceFactory factory);
    static const AppStateServiceFactory &serviceFactory();
    void attachServices(ThemeManager *themeManager, Weather::Service *weather,
                        LarkAccount::Client *accountClient,
                        Larkspindle::ConfigSyncService *configSync);

    // Runs after a sign-in to the cloud account, and at start when already signed in.
    void onAuthenticated();
    // The reaction to the cloud account's sign-in state (the state's number, 3 = signed in).
    void onAuthStateChanged(int state);
    // Seeds "On This Device" and its "Personal" calendar unless a calendar of an account of
    // type "larkspindle" exists.
    void ensurePersonalLocalCalendar();

    // "Now" for today's date and the seeded rows' time stamps; the wall clock unless replaced.
    // Set it before initialize: the store's repositories take it over too.
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

    Database *database() const { return m_database; }
    PreferencesRepository *preferences() const { return m_preferences; }
    AccountRepository *accounts() const { return m_accounts; }
    CalendarRepository *calendars() const { return m_calendars; }
    EventRepository *events() const { return m_events; }
    TaskRepository *tasks() const { return m_tasks; }
    ViewRepository *views() const { return m_views; }
    FilterRuleRepository *filterRules() const { return m_filterRules; }
    TemplateRepository *templates() const { return m_templates; }
    ThemeManager *themeManager() const { return m_themeManager; }
    UndoStack *undoStack() const { return m_undoStack; }
    Weather::Service *weather() const { return m_weather; }
    LarkAccount::Client *accountClient() const { return m_accountClient; }
    SyncQueueRepository *syncQueue() const { return m_syncQueue; }
    Sync::ConflictResolutionService *conflicts() const { return m_conflicts; }
    // The account sync runs, on request and by themselves; the window only shows its texts.
    Sync::SyncCoordinator *syncCoordinator() const { return m_syncCoordinator; }
    Larkspindle::ConfigSyncService *configSync() const { return m_configSync; }
    Invitations::Service *invitations() const { return m_invitations; }

    QString activeViewId() const { return m_activeViewId; }
    QString selectedEventId() const { return m_selectedEventId; }
    QDate currentDate() const { return m_currentDate; }
    QString viewMode() const { return m_viewMode; }
    int hourHeight() const { return m_hourHeight; }
    int weekHorizon() const { return m_weekHorizon; }
    int filterHiddenCount() const { return m_filterHiddenCount; }
    QList<NavEntry> backHistory() const { return m_backHistory; }
    QList<NavEntry> forwardHistory() const { return m_forwardHistory; }
    bool navigating() const { return m_navigating; }
    int syncDepth() const { return m_syncDepth; }
    bool syncErrorPending() const { return m_syncErrorPending; }
    bool lastSyncErrored() const { return m_lastSyncErrored; }
    QString lastSyncErrorReason() const { return m_lastSyncErrorReason; }
    QString lastSyncErrorCalendarId() const { return m_lastSyncErrorCalendarId; }
    bool isSyncBusy() const { return m_syncDepth > 0; }

    void setActiveViewId(const QString &id);
    void setSelectedEventId(const QString &id);
    void setCurrentDate(const QDate &date);
    void setViewMode(const QString &mode);
    void setViewModeAndDate(const QString &mode, const QDate &date);
    void setHourHeight(int pixels);
    void setWeekHorizon(int days);
    void setFilterHiddenCount(int count);
    void goBack();
    void goForward();

    QString density(const QString &mode) const;
    bool isCompact(const QString &mode) const;
    void setDensity(const QString &mode, const QString &density);

    Qt::DayOfWeek firstDayOfWeek() const;
    static Qt::DayOfWeek localeFirstDayOfWeek();
    // The rule above for a given locale; the system locale is only read by the overload.
    static Qt::DayOfWeek localeFirstDayOfWeek(const QLocale &locale);

    void beginSync();
    void endSync(bool errored);
    void setLastSyncError(const QString &calendarId, const QString &reason);

    QSet<QString> remoteProviderCalendarIds() const;

signals:
    void databaseReady();
    void activeViewChanged(const QString &viewId);
    void selectedEventChanged(const QString &eventId);
    void currentDateChanged(const QDate &date);
    void viewModeChanged(const QString &mode);
    void hourHeightChanged(int pixels);
    void weekHorizonChanged(int days);
    void filterHiddenCountChanged(int count);
    void densityChanged(const QString &mode, const QString &density);
    void firstDayOfWeekChanged(Qt::DayOfWeek day);
    void syncNowRequested();
    void syncBusyChanged(bool busy);
    void lastSyncErroredChanged(bool errored);

private:
    void recordHistoryStep();
    NavEntry currentEntry() const;
    void applyEntry(const NavEntry &entry);
    void restoreViewState();
    void onPreferenceChanged(const QString &key);
    QDateTime now() const;

    Database *m_database = nullptr;
    PreferencesRepository *m_preferences = nullptr;
    AccountRepository *m_accounts = nullptr;
    CalendarRepository *m_calendars = nullptr;
    EventRepository *m_events = nullptr;
    TaskRepository *m_tasks = nullptr;
    ViewRepository *m_views = nullptr;
    FilterRuleRepository *m_filterRules = nullptr;
    TemplateRepository *m_templates = nullptr;
    ThemeManager *m_themeManager = nullptr;
    UndoStack *m_undoStack = nullptr;
    Weather::Service *m_weather = nullptr;
    LarkAccount::Client *m_accountClient = nullptr;
    SyncQueueRepository *m_syncQueue = nullptr;
    Sync::ConflictResolutionService *m_conflicts = nullptr;
    Sync::SyncCoordinator *m_syncCoordinator = nullptr;
    Larkspindle::ConfigSyncService *m_configSync = nullptr;
    Invitations::Service *m_invitations = nullptr;

    QString m_activeViewId;
    QString m_selectedEventId;
    QDate m_currentDate;
    QString m_viewMode;
    int m_hourHeight = 56;
    int m_weekHorizon = 7;
    int m_filterHiddenCount = -1;
    QList<NavEntry> m_backHistory;
    QList<NavEntry> m_forwardHistory;
    bool m_navigating = false;
    int m_syncDepth = 0;
    bool m_syncErrorPending = false;
    bool m_lastSyncErrored = false;
    QString m_lastSyncErrorReason;
    QString m_lastSyncErrorCalendarId;

    std::function<QDateTime()> m_clock;
    int m_onAuthenticatedRuns = 0;
};
