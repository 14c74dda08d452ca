#include "core/AppState.h"

#include "core/InvitationsService.h"
#include "core/LocalCalendar.h"
#include "core/QuickAddQueue.h"
#include "core/sync/RunGate.h"
#include "model/Clock.h"
#include "platform/DataPaths.h"
#include "platform/UndoStack.h"
#include "storage/AccountRepository.h"
#include "storage/CalendarRepository.h"
#include "storage/Database.h"

#include <QFileInfo>
#include <QtDebug>

#include <utility>

AppState::AppState(QObject *parent)
    : QObject(parent)
    , m_store(new Store(this))
    , m_quickAdds(new QuickAddQueue(*m_store, this))
    , m_view(new ViewState(this))
    , m_sync(new SyncStatus(this))
    , m_gate(new Sync::RunGate(m_store->imports(), this))
{
    connect(m_view, &ViewState::activeViewChanged, this, &AppState::activeViewChanged);
    connect(m_view, &ViewState::selectedEventChanged, this, &AppState::selectedEventChanged);
    connect(m_view, &ViewState::currentDateChanged, this, &AppState::currentDateChanged);
    connect(m_view, &ViewState::viewModeChanged, this, &AppState::viewModeChanged);
    connect(m_view, &ViewState::hourHeightChanged, this, &AppState::hourHeightChanged);
    connect(m_view, &ViewState::weekHorizonChanged, this, &AppState::weekHorizonChanged);
    connect(m_view, &ViewState::filterHiddenCountChanged, this,
            &AppState::filterHiddenCountChanged);
    connect(m_view, &ViewState::densityChanged, this, &AppState::densityChanged);
    connect(m_view, &ViewState::firstDayOfWeekChanged, this, &AppState::firstDayOfWeekChanged);
    connect(m_sync, &SyncStatus::syncBusyChanged, this, &AppState::syncBusyChanged);
    connect(m_sync, &SyncStatus::lastSyncErroredChanged, this, &AppState::lastSyncErroredChanged);
    // Busy while the gate has a run under way, whoever started it.
    connect(m_gate, &Sync::RunGate::runBegan, m_sync, &SyncStatus::beginSync);
    connect(m_gate, &Sync::RunGate::runEnded, m_sync, &SyncStatus::endSync);
}

AppState::~AppState()
{
    // Services lean on what was made before them (the store first of all): take them down
    // newest first rather than in Qt's creation order.
    const QObjectList owned = children();
    for (auto it = owned.crbegin(); it != owned.crend(); ++it)
        delete *it;
}

bool AppState::initialize(const QString &path)
{
    const QString file = path.isEmpty() ? databasePath() : path;
    if (!m_store->open(file))
        return false;
    // Lines wait until a calendar may take them: the one they go to may be seeded below.
    m_quickAdds->hold();
    if (QFileInfo(file).isFile())
        m_quickAdds->keepWaitingLinesIn(waitingLinesPath(file));
    m_view->setPreferences(preferences());

    m_undoStack = new UndoStack(this);
    m_invitations = new Invitations::Service(accounts(), calendars(), events(), this);

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
    noteSeeding(services.isSignedIn && services.isSignedIn(*this));

    m_view->restore(views(), Clock::today());
    emit databaseReady();
    return true;
}

QString AppState::waitingLinesPath(const QString &databasePath)
{
    return QFileInfo(databasePath).absolutePath() + QStringLiteral("/quick-add-waiting.json");
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

bool AppState::ensurePersonalLocalCalendar()
{
    return LocalCalendar::ensurePersonal(accounts(), calendars(), Clock::now());
}

void AppState::noteSeeding(bool seeded)
{
    const bool waited = std::exchange(m_seedingWaits,
                                      !seeded && !ensurePersonalLocalCalendar()
                                          && database()->lastFailureWasBusy());
    if (m_seedingWaits && !waited)
        qWarning("[AppState] another program is writing to the calendar; the on-device calendar "
                 "is made once it is done");
    if (!m_seedingWaits)
        m_quickAdds->release();
}

bool AppState::seedAgain()
{
    if (m_seedingWaits)
        noteSeeding(false);
    return m_seedingWaits;
}

QSet<QString> AppState::remoteProviderCalendarIds() const
{
    QSet<QString> ids;
    if (!accounts() || !calendars())
        return ids;
    static const QSet<QString> remoteTypes = {
        QStringLiteral("caldav"), QStringLiteral("icloud"),    QStringLiteral("zoho"),
        QStringLiteral("google"), QStringLiteral("microsoft"),
    };
    QSet<QString> remoteAccounts;
    for (const Account &account : accounts()->listActive()) {
        if (remoteTypes.contains(account.type))
            remoteAccounts.insert(account.id);
    }
    for (const Calendar &calendar : calendars()->listAll()) {
        if (remoteAccounts.contains(calendar.account_id))
            ids.insert(calendar.id);
    }
    return ids;
}
