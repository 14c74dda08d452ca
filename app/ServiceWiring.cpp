#include "app/ServiceWiring.h"

#include "core/AppState.h"
#include "core/LocalCalendar.h"
#include "core/sync/SyncClientRegistry.h"
#include "core/sync/SyncEngine.h"
#include "platform/DataPaths.h"
#include "platform/Endpoints.h"
#include "services/account/ApiClient.h"
#include "services/account/Client.h"
#include "services/account/ClientConfig.h"
#include "services/sync/cloud/CloudSyncProvider.h"
#include "services/sync/cloud/ConfigSyncService.h"
#include "services/sync/cloud/SyncClient.h"
#include "services/sync/google/GoogleSyncProvider.h"
#include "services/sync/microsoft/MicrosoftSyncProvider.h"
#include "services/weather/WeatherService.h"
#include "storage/Database.h"
#include "storage/FilterRuleRepository.h"
#include "ui/theme/ThemeManager.h"

#include <QUrl>
#include <QtDebug>

namespace {

void createServices(AppState &state)
{
    auto *themeManager = new ThemeManager(state.preferences(), &state);
    themeManager->loadThemeSettings();
    themeManager->loadFontScale();

    auto *weather = new Weather::Service(&state, &state);

    const LarkAccount::ClientConfig config = LarkAccount::clientConfigFromEnvironment(
        applicationIdentifier(), QStringLiteral(LARK_VERSION));
    auto *accountClient = new LarkAccount::Client(config, &state);
    // Without a configured address the sync client keeps an empty base and sends nothing.
    const QString syncUrl = Endpoints::syncApiUrl();
    accountClient->syncApiClient()->setBaseUrl(syncUrl.isEmpty() ? QUrl() : QUrl(syncUrl));

    auto *configSync
        = new Larkspindle::ConfigSyncService(&state, accountClient->syncApiClient(), &state);
    // The bucket carries the account records, CalDAV passwords included: it leaves the machine
    // only for a signed-in user.
    configSync->setSignedInCheck([accountClient] { return accountClient->isAuthenticated(); });
    state.attachServices(themeManager, weather, accountClient, configSync);
}

void startAccount(AppState &state)
{
    LarkAccount::Client *client = state.accountClient();
    Larkspindle::ConfigSyncService *configSync = state.configSync();
    // A rule change is pushed only for a signed-in user: the bucket carries the account
    // records, CalDAV passwords included, and must not leave the machine otherwise.
    QObject::connect(state.filterRules(), &FilterRuleRepository::filterRulesChanged, &state,
                     [client, configSync] {
                         if (client->isAuthenticated())
                             configSync->syncOnMutation();
                     });
    QObject::connect(client, &LarkAccount::Client::authStateChanged, &state,
                     [&state](LarkAccount::AuthState authState) {
                         state.onAuthStateChanged(static_cast<int>(authState));
                     });
    client->initialize();
    qInfo().noquote() << "[AppState] post-initialize isAuthenticated=" << client->isAuthenticated();
}

void onAuthenticated(AppState &state)
{
    state.configSync()->startAutoSync();
    state.configSync()->syncNow();

    // Signed in from the first start, the store has no account yet to hold the pulled cloud
    // calendars: every insert would fail on its account id.
    (void)LocalCalendar::ensureCloudCalendarHome(state.accounts(),
                                                 state.database()->currentDateTimeUtc());

    auto *client
        = new Larkspindle::SyncClient(&state, state.accountClient()->syncApiClient(), &state);
    QObject::connect(client, &Larkspindle::SyncClient::calendarListPulled, &state,
                     [&state, client] {
                         client->deleteLater();
                         state.ensurePersonalLocalCalendar();
                         emit state.syncNowRequested();
                     });
    client->pullCalendarList();
}

// The cloud account's run: its cloud calendars, over the sync API's client. Nothing is sent
// while no service address is configured.
Sync::SyncProvider *makeCloudProvider(AppState *state, const Account &account)
{
    LarkAccount::Client *client = state->accountClient();
    LarkAccount::ApiClient *api = client ? client->syncApiClient() : nullptr;
    if (api && api->baseUrl().isEmpty())
        api = nullptr;
    return new Larkspindle::CloudSyncProvider(account, api, client && client->isAuthenticated());
}

} // namespace

void registerAppServices()
{
    SyncClientRegistry::registerClient(QStringLiteral("larkspindle"),
                                       Sync::engineFactory(makeCloudProvider));
    SyncClientRegistry::registerClient(
        QStringLiteral("microsoft"),
        Sync::engineFactory([](AppState *, const Account &account) -> Sync::SyncProvider * {
            return new Microsoft::MicrosoftSyncProvider(account);
        }));
    SyncClientRegistry::registerClient(
        QStringLiteral("google"),
        Sync::engineFactory([](AppState *, const Account &account) -> Sync::SyncProvider * {
            return new Google::GoogleSyncProvider(account);
        }));

    AppStateServiceFactory factory;
    factory.create = createServices;
    factory.startAccount = startAccount;
    factory.isSignedIn = [](const AppState &state) {
        return state.accountClient() && state.accountClient()->isAuthenticated();
    };
    factory.authenticated = onAuthenticated;
    factory.signedOut = [](AppState &state) {
        if (state.configSync())
            state.configSync()->stopAutoSync();
    };
    AppState::setServiceFactory(std::move(factory));
}
