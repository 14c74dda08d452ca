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

namespace Weather {
class Service;
}
namespace LarkAccount {
class Client;
enum class AuthState : int;
} // namespace LarkAccount
namespace Sync {
class ConflictResolutionService;
}
namespace Larkspindle {
class ConfigSyncService;
}
namespace Invitations {
class Service;
}

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

    // Runs after a sign-in to the cloud account, and at start when already signed in.
    void onAuthenticated();
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
    void onAuthStateChanged(LarkAccount::AuthState state);
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
