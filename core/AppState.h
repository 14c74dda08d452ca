#pragma once

// The shared state every view, pane, dialog and service is handed. It holds three parts and
// the services: the store (database and repositories, core/Store), the view state (core/
// ViewState) and the sync status (core/SyncStatus); its accessors and signals forward to them.

#include "core/Store.h"
#include "core/SyncStatus.h"
#include "core/ViewState.h"

#include <QDate>
#include <QList>
#include <QLocale>
#include <QObject>
#include <QSet>
#include <QString>

#include <functional>

class ThemeManager;
class UndoStack;
class QuickAddQueue;
class AppState;

namespace Weather {
class Service;
}
namespace LarkAccount {
class Client;
} // namespace LarkAccount
namespace Sync {
class ConflictResolutionService;
class RunGate;
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
    // The file beside the database that keeps quick-add lines while they wait.
    static QString waitingLinesPath(const QString &databasePath);

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
    // type "larkspindle" exists. False when it could not be stored.
    bool ensurePersonalLocalCalendar();
    // True while another program's write kept initialize from seeding that calendar; quick adds
    // wait for it meanwhile. seedAgain tries once more and answers seedingWaits().
    bool seedingWaits() const { return m_seedingWaits; }
    bool seedAgain();

    // The three parts.
    const Store &store() const { return *m_store; }
    // Quick-add lines from every place they are typed, stored in the order given.
    QuickAddQueue *quickAdds() const { return m_quickAdds; }
    ViewState *viewState() const { return m_view; }
    SyncStatus *syncStatus() const { return m_sync; }
    // Whether a sync run may start, asked by every run of this state; the sync status counts the
    // runs under way there.
    Sync::RunGate *syncGate() const { return m_gate; }

    Database *database() const { return m_store->database(); }
    PreferencesRepository *preferences() const { return m_store->preferences(); }
    AccountRepository *accounts() const { return m_store->accounts(); }
    CalendarRepository *calendars() const { return m_store->calendars(); }
    EventRepository *events() const { return m_store->events(); }
    TaskRepository *tasks() const { return m_store->tasks(); }
    ViewRepository *views() const { return m_store->views(); }
    FilterRuleRepository *filterRules() const { return m_store->filterRules(); }
    TemplateRepository *templates() const { return m_store->templates(); }
    ThemeManager *themeManager() const { return m_themeManager; }
    UndoStack *undoStack() const { return m_undoStack; }
    Weather::Service *weather() const { return m_weather; }
    LarkAccount::Client *accountClient() const { return m_accountClient; }
    SyncQueueRepository *syncQueue() const { return m_store->syncQueue(); }
    Sync::ConflictResolutionService *conflicts() const { return m_conflicts; }
    // The account sync runs, on request and by themselves; the window only shows its texts.
    // The application makes it (sync runs with the window hidden) and hands it over here.
    Sync::SyncCoordinator *syncCoordinator() const { return m_syncCoordinator; }
    void setSyncCoordinator(Sync::SyncCoordinator *coordinator) { m_syncCoordinator = coordinator; }
    void setConflicts(Sync::ConflictResolutionService *conflicts) { m_conflicts = conflicts; }
    Larkspindle::ConfigSyncService *configSync() const { return m_configSync; }
    Invitations::Service *invitations() const { return m_invitations; }

    QString activeViewId() const { return m_view->activeViewId(); }
    QString selectedEventId() const { return m_view->selectedEventId(); }
    QDate currentDate() const { return m_view->currentDate(); }
    QString viewMode() const { return m_view->viewMode(); }
    int hourHeight() const { return m_view->hourHeight(); }
    int weekHorizon() const { return m_view->weekHorizon(); }
    int filterHiddenCount() const { return m_view->filterHiddenCount(); }
    QList<NavEntry> backHistory() const { return m_view->backHistory(); }
    QList<NavEntry> forwardHistory() const { return m_view->forwardHistory(); }
    bool navigating() const { return m_view->navigating(); }

    void setActiveViewId(const QString &id) { m_view->setActiveViewId(id); }
    void setSelectedEventId(const QString &id) { m_view->setSelectedEventId(id); }
    void setCurrentDate(const QDate &date) { m_view->setCurrentDate(date); }
    void setViewMode(const QString &mode) { m_view->setViewMode(mode); }
    void setViewModeAndDate(const QString &mode, const QDate &date)
    {
        m_view->setViewModeAndDate(mode, date);
    }
    void setHourHeight(int pixels) { m_view->setHourHeight(pixels); }
    void setWeekHorizon(int days) { m_view->setWeekHorizon(days); }
    void setFilterHiddenCount(int count) { m_view->setFilterHiddenCount(count); }
    void goBack() { m_view->goBack(); }
    void goForward() { m_view->goForward(); }

    QString density(const QString &mode) const { return m_view->density(mode); }
    bool isCompact(const QString &mode) const { return m_view->isCompact(mode); }
    void setDensity(const QString &mode, const QString &density)
    {
        m_view->setDensity(mode, density);
    }

    Qt::DayOfWeek firstDayOfWeek() const { return m_view->firstDayOfWeek(); }
    static Qt::DayOfWeek localeFirstDayOfWeek() { return ViewState::localeFirstDayOfWeek(); }
    static Qt::DayOfWeek localeFirstDayOfWeek(const QLocale &locale)
    {
        return ViewState::localeFirstDayOfWeek(locale);
    }

    int syncDepth() const { return m_sync->depth(); }
    bool syncErrorPending() const { return m_sync->errorPending(); }
    bool lastSyncErrored() const { return m_sync->lastErrored(); }
    QString lastSyncErrorReason() const { return m_sync->lastErrorReason(); }
    QString lastSyncErrorCalendarId() const { return m_sync->lastErrorCalendarId(); }
    bool isSyncBusy() const { return m_sync->isBusy(); }
    void beginSync() { m_sync->beginSync(); }
    void endSync(bool errored) { m_sync->endSync(errored); }
    void setLastSyncError(const QString &calendarId, const QString &reason)
    {
        m_sync->setLastSyncError(calendarId, reason);
    }

    QSet<QString> remoteProviderCalendarIds() const;

signals:
    void databaseReady();
    // The view state's and the sync status's own signals, passed on.
    void activeViewChanged(const QString &viewId);
    void selectedEventChanged(const QString &eventId);
    void currentDateChanged(const QDate &date);
    void viewModeChanged(const QString &mode);
    void hourHeightChanged(int pixels);
    void weekHorizonChanged(int days);
    void filterHiddenCountChanged(int count);
    void densityChanged(const QString &mode, const QString &density);
    void firstDayOfWeekChanged(Qt::DayOfWeek day);
    void syncBusyChanged(bool busy);
    void lastSyncErroredChanged(bool errored);
    // Asks the window to sync every account now.
    void syncNowRequested();

private:
    void noteSeeding(bool seeded);
    Store *m_store;
    QuickAddQueue *m_quickAdds;
    ViewState *m_view;
    SyncStatus *m_sync;
    Sync::RunGate *m_gate;
    ThemeManager *m_themeManager = nullptr;
    UndoStack *m_undoStack = nullptr;
    Weather::Service *m_weather = nullptr;
    LarkAccount::Client *m_accountClient = nullptr;
    Sync::ConflictResolutionService *m_conflicts = nullptr;
    Sync::SyncCoordinator *m_syncCoordinator = nullptr;
    Larkspindle::ConfigSyncService *m_configSync = nullptr;
    Invitations::Service *m_invitations = nullptr;

    int m_onAuthenticatedRuns = 0;
    bool m_seedingWaits = false;
};
