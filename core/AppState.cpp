#include "core/AppState.h"

#include "core/InvitationsService.h"
#include "core/LocalCalendar.h"
#include "core/sync/ConflictResolutionService.h"
#include "core/sync/SyncCoordinator.h"
#include "model/Clock.h"
#include "platform/DataPaths.h"
#include "platform/UndoStack.h"
#include "storage/AccountRepository.h"
#include "storage/CalendarRepository.h"
#include "storage/Database.h"
#include "storage/EventRepository.h"
#include "storage/FilterRuleRepository.h"
#include "storage/PreferenceKeys.h"
#include "storage/PreferencesRepository.h"
#include "storage/SyncQueueRepository.h"
#include "storage/TaskRepository.h"
#include "storage/TemplateRepository.h"
#include "storage/ViewRepository.h"

#include <QLocale>
#include <QUrl>
#include <QtDebug>

#include <algorithm>

namespace {

constexpr int minHourHeight = 56;
constexpr int maxHourHeight = 200;
constexpr int minWeekHorizon = 2;
constexpr int maxWeekHorizon = 21;

// Agenda and list are shown inside the week view's frame.
QString normalizedViewMode(const QString &mode)
{
    if (mode == QLatin1String("agenda") || mode == QLatin1String("list"))
        return QStringLiteral("week");
    return mode;
}

} // namespace

AppState::AppState(QObject *parent)
    : QObject(parent)
{ }

AppState::~AppState()
{
    // Services lean on what was made before them (the store first of all): take them down
    // newest first rather than in Qt's creation order.
    const QObjectList owned = children();
    for (auto it = owned.crbegin(); it != owned.crend(); ++it)
        delete *it;
}

QDateTime AppState::now() const
{
    return m_clock ? m_clock() : Clock::now();
}

bool AppState::initialize(const QString &path)
{
    m_database = new Database(this);
    if (m_clock) {
        const auto clock = m_clock;
        m_database->setClock([clock] { return clock().toUTC(); });
    }
    const QString dbPath = path.isEmpty() ? databasePath() : path;
    qInfo().noquote() << "Opening database at:" << dbPath;
    if (!m_database->open(dbPath) || !m_database->migrate())
        return false;

    m_preferences = new PreferencesRepository(m_database, this);
    connect(m_preferences, &PreferencesRepository::changed, this, &AppState::onPreferenceChanged);

    m_accounts = new AccountRepository(m_database, this);
    m_calendars = new CalendarRepository(m_database, this);
    m_events = new EventRepository(m_database, this);
    m_tasks = new TaskRepository(m_database, this);
    m_views = new ViewRepository(m_database, this);
    m_filterRules = new FilterRuleRepository(m_database, this);
    m_templates = new TemplateRepository(m_database, this);

    m_undoStack = new UndoStack(this);
    m_syncQueue = new SyncQueueRepository(m_database, this);
    m_conflicts = new Sync::ConflictResolutionService(this, this);
    m_syncCoordinator = new Sync::SyncCoordinator(this, this);
    m_invitations = new Invitations::Service(m_accounts, m_calendars, m_events, this);

    const AppStateServiceFactory &services = serviceFactory();
    if (services.create)
        services.create(*this);
    const int runsBefore = m_onAuthenticatedRuns;
    if (services.startAccount)
        services.startAccount(*this);
    // The account reports a stored token through its state change while it starts; the
    // reaction has then run onAuthenticated already.
    const bool signedIn = services.isSignedIn && services.isSignedIn(*this);
    if (signedIn && m_onAuthenticatedRuns == runsBefore)
        onAuthenticated();
    if (!(services.isSignedIn && services.isSignedIn(*this)))
        ensurePersonalLocalCalendar();

    restoreViewState();
    emit databaseReady();
    return true;
}

void AppState::restoreViewState()
{
    // The fallback group is not written back: the stored choice may come back with a sync.
    const QString storedView
        = m_preferences->getString(Prefs::ActiveViewId, Prefs::ActiveViewIdDefault);
    if (m_views->byId(storedView)) {
        m_activeViewId = storedView;
    } else {
        const QList<CalendarView> active = m_views->listActive();
        m_activeViewId = active.isEmpty() ? QString() : active.first().id;
    }

    m_currentDate = now().date();

    m_viewMode
        = normalizedViewMode(m_preferences->getString(Prefs::ViewMode, Prefs::ViewModeDefault));
    m_hourHeight = std::clamp(
        m_preferences->getInt(Prefs::TimelineHourHeight, Prefs::TimelineHourHeightDefault),
        minHourHeight, maxHourHeight);
    m_weekHorizon = std::clamp(m_preferences->getInt(Prefs::WeekHorizon, Prefs::WeekHorizonDefault),
                               minWeekHorizon, maxWeekHorizon);
}

namespace {
AppStateServiceFactory &registeredServices()
{
    static AppStateServiceFactory factory;
    return factory;
}
} // namespace

void AppState::setServiceFactory(AppStateServiceFactory factory)
{
    registeredServices() = std::move(factory);
}

const AppStateServiceFactory &AppState::serviceFactory()
{
    return registeredServices();
}

void AppState::attachServices(ThemeManager *themeManager, Weather::Service *weather,
                              LarkAccount::Client *accountClient,
                              Larkspindle::ConfigSyncService *configSync)
{
    m_themeManager = themeManager;
    m_weather = weather;
    m_accountClient = accountClient;
    m_configSync = configSync;
}

void AppState::onAuthStateChanged(int state)
{
    qInfo().noquote() << "[AppState] authStateChanged →" << state;
    constexpr int signedIn = 3;
    const AppStateServiceFactory &services = serviceFactory();
    if (state == signedIn)
        onAuthenticated();
    else if (services.signedOut)
        services.signedOut(*this);
}

void AppState::onAuthenticated()
{
    ++m_onAuthenticatedRuns;
    qInfo().noquote() << "[AppState] onAuthenticated firing — kicking ConfigSync";
    const AppStateServiceFactory &services = serviceFactory();
    if (services.authenticated)
        services.authenticated(*this);
}

void AppState::ensurePersonalLocalCalendar()
{
    LocalCalendar::ensurePersonal(m_accounts, m_calendars, now());
}

void AppState::onPreferenceChanged(const QString &key)
{
    if (key != Prefs::WeekStartDay)
        return;
    const int day = m_preferences->getInt(Prefs::WeekStartDay, Prefs::WeekStartDayDefault);
    emit firstDayOfWeekChanged(day >= 1 && day <= 7 ? static_cast<Qt::DayOfWeek>(day)
                                                    : localeFirstDayOfWeek());
}

// --- view state ---------------------------------------------------------------------------

NavEntry AppState::currentEntry() const
{
    return NavEntry {m_viewMode, m_currentDate, m_weekHorizon};
}

void AppState::recordHistoryStep()
{
    if (m_navigating)
        return;
    m_backHistory.append(currentEntry());
    m_forwardHistory.clear();
}

void AppState::setActiveViewId(const QString &id)
{
    if (id == m_activeViewId)
        return;
    m_activeViewId = id;
    m_preferences->set(Prefs::ActiveViewId, id);
    emit activeViewChanged(id);
}

void AppState::setSelectedEventId(const QString &id)
{
    if (id == m_selectedEventId)
        return;
    m_selectedEventId = id;
    emit selectedEventChanged(id);
}

void AppState::setCurrentDate(const QDate &date)
{
    if (!date.isValid() || date == m_currentDate)
        return;
    recordHistoryStep();
    m_currentDate = date;
    m_preferences->set(Prefs::ViewDate, date.toString(Qt::ISODate));
    emit currentDateChanged(date);
}

void AppState::setViewMode(const QString &mode)
{
    const QString normalized = normalizedViewMode(mode);
    if (normalized == m_viewMode)
        return;
    recordHistoryStep();
    m_viewMode = normalized;
    m_preferences->set(Prefs::ViewMode, normalized);
    emit viewModeChanged(normalized);
}

void AppState::setViewModeAndDate(const QString &mode, const QDate &date)
{
    const QString normalized = normalizedViewMode(mode);
    const bool modeChanges = normalized != m_viewMode;
    const bool dateChanges = date.isValid() && date != m_currentDate;
    if (!modeChanges && !dateChanges)
        return;
    recordHistoryStep();
    const bool wasNavigating = m_navigating;
    m_navigating = true;
    if (dateChanges)
        setCurrentDate(date);
    if (modeChanges)
        setViewMode(normalized);
    m_navigating = wasNavigating;
}

void AppState::setHourHeight(int pixels)
{
    const int clamped = std::clamp(pixels, minHourHeight, maxHourHeight);
    if (clamped == m_hourHeight)
        return;
    m_hourHeight = clamped;
    m_preferences->setInt(Prefs::TimelineHourHeight, clamped);
    emit hourHeightChanged(clamped);
}

void AppState::setWeekHorizon(int days)
{
    const int clamped = std::clamp(days, minWeekHorizon, maxWeekHorizon);
    if (clamped == m_weekHorizon)
        return;
    recordHistoryStep();
    m_weekHorizon = clamped;
    m_preferences->setInt(Prefs::WeekHorizon, clamped);
    emit weekHorizonChanged(clamped);
}

void AppState::setFilterHiddenCount(int count)
{
    if (count == m_filterHiddenCount)
        return;
    m_filterHiddenCount = count;
    emit filterHiddenCountChanged(count);
}

void AppState::applyEntry(const NavEntry &entry)
{
    m_navigating = true;
    if (entry.viewMode != m_viewMode)
        setViewMode(entry.viewMode);
    if (entry.date.isValid() && entry.date != m_currentDate)
        setCurrentDate(entry.date);
    if (entry.weekHorizon != m_weekHorizon)
        setWeekHorizon(entry.weekHorizon);
    m_navigating = false;
}

void AppState::goBack()
{
    if (m_backHistory.isEmpty())
        return;
    const NavEntry entry = m_backHistory.takeLast();
    m_forwardHistory.append(currentEntry());
    applyEntry(entry);
}

void AppState::goForward()
{
    if (m_forwardHistory.isEmpty())
        return;
    const NavEntry entry = m_forwardHistory.takeLast();
    m_backHistory.append(currentEntry());
    applyEntry(entry);
}

// --- density and first day of the week ----------------------------------------------------

QString AppState::density(const QString &mode) const
{
    if (!m_preferences)
        return Prefs::DensityDefault;
    return m_preferences->getString(Prefs::densityKey(mode), Prefs::DensityDefault);
}

bool AppState::isCompact(const QString &mode) const
{
    return density(mode) == QLatin1String("compact");
}

void AppState::setDensity(const QString &mode, const QString &value)
{
    const QString normalized = value == QLatin1String("compact") ? QStringLiteral("compact")
                                                                 : QStringLiteral("comfortable");
    if (!m_preferences || density(mode) == normalized)
        return;
    m_preferences->set(Prefs::densityKey(mode), normalized);
    emit densityChanged(mode, normalized);
}

Qt::DayOfWeek AppState::firstDayOfWeek() const
{
    if (m_preferences) {
        const int day = m_preferences->getInt(Prefs::WeekStartDay, Prefs::WeekStartDayDefault);
        if (day >= 1 && day <= 7)
            return static_cast<Qt::DayOfWeek>(day);
    }
    return localeFirstDayOfWeek();
}

Qt::DayOfWeek AppState::localeFirstDayOfWeek()
{
    return localeFirstDayOfWeek(QLocale::system());
}

Qt::DayOfWeek AppState::localeFirstDayOfWeek(const QLocale &locale)
{
    static const QSet<QLocale::Territory> sundayFirst = {
        QLocale::UnitedStates,
        QLocale::Canada,
        QLocale::Japan,
        QLocale::Israel,
        QLocale::Philippines,
        QLocale::Thailand,
        QLocale::SouthKorea,
        QLocale::Taiwan,
        QLocale::SaudiArabia,
        QLocale::UnitedArabEmirates,
        QLocale::Bahrain,
        QLocale::Algeria,
        QLocale::Egypt,
        QLocale::Iraq,
        QLocale::Jordan,
        QLocale::Kuwait,
        QLocale::Libya,
        QLocale::Oman,
        QLocale::Qatar,
        QLocale::Syria,
        QLocale::Yemen,
        QLocale::Belize,
        QLocale::DominicanRepublic,
        QLocale::Guatemala,
        QLocale::Honduras,
        QLocale::Mexico,
        QLocale::Nicaragua,
        QLocale::Panama,
        QLocale::ElSalvador,
        QLocale::Colombia,
        QLocale::Venezuela,
        QLocale::Peru,
        QLocale::Brazil,
        QLocale::SouthAfrica,
        QLocale::Australia,
        QLocale::NewZealand,
        QLocale::India,
        QLocale::Bangladesh,
        QLocale::Pakistan,
        QLocale::HongKong,
        QLocale::Macao,
        QLocale::China,
    };
    return sundayFirst.contains(locale.territory()) ? Qt::Sunday : Qt::Monday;
}

// --- sync state ---------------------------------------------------------------------------

void AppState::beginSync()
{
    if (m_syncDepth++ == 0) {
        m_syncErrorPending = false;
        emit syncBusyChanged(true);
    }
}

void AppState::endSync(bool errored)
{
    if (m_syncDepth < 1)
        return;
    if (errored)
        m_syncErrorPending = true;
    if (--m_syncDepth > 0)
        return;
    if (m_lastSyncErrored != m_syncErrorPending) {
        m_lastSyncErrored = m_syncErrorPending;
        emit lastSyncErroredChanged(m_lastSyncErrored);
    }
    if (!m_lastSyncErrored) {
        m_lastSyncErrorReason.clear();
        m_lastSyncErrorCalendarId.clear();
    }
    emit syncBusyChanged(false);
}

void AppState::setLastSyncError(const QString &calendarId, const QString &reason)
{
    m_lastSyncErrorCalendarId = calendarId;
    m_lastSyncErrorReason = reason;
}

QSet<QString> AppState::remoteProviderCalendarIds() const
{
    QSet<QString> ids;
    if (!m_accounts || !m_calendars)
        return ids;
    static const QSet<QString> remoteTypes = {
        QStringLiteral("caldav"), QStringLiteral("icloud"),    QStringLiteral("zoho"),
        QStringLiteral("google"), QStringLiteral("microsoft"),
    };
    QSet<QString> remoteAccounts;
    for (const Account &account : m_accounts->listActive()) {
        if (remoteTypes.contains(account.type))
            remoteAccounts.insert(account.id);
    }
    for (const Calendar &calendar : m_calendars->listAll()) {
        if (remoteAccounts.contains(calendar.account_id))
            ids.insert(calendar.id);
    }
    return ids;
}
