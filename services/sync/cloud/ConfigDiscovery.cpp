#include "services/sync/cloud/ConfigDiscovery.h"

#include "core/AppState.h"
#include "core/sync/CalendarIdentity.h"
#include "model/Identifiers.h"
#include "platform/DataPaths.h"
#include "platform/TokenStore.h"
#include "services/oauth/ProviderCredentials.h"
#include "services/oauth/ProviderSession.h"
#include "services/sync/caldav/CalDavClient.h"
#include "services/sync/caldav/CalDavDiscovery.h"
#include "services/sync/caldav/CalDavImport.h"
#include "services/sync/cloud/ConfigSyncService.h"
#include "services/sync/google/AuthService.h"
#include "services/sync/google/CalendarClient.h"
#include "services/sync/microsoft/AuthService.h"
#include "services/sync/microsoft/CalendarClient.h"
#include "storage/AccountRepository.h"
#include "storage/CalendarRepository.h"
#include "storage/Database.h"

#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <QtDebug>

namespace Larkspindle {

// What the Google and Microsoft discoveries do differently.
struct ConfigDiscovery::ProviderTraits
{
    QString kind; // account type and identity-key kind
    const char *label; // in log lines
    QString (*tokenKey)(const QString &accountId); // where the account's tokens are kept
    OAuth::LoopbackAuthService *(*makeAuth)(QObject *parent);
    bool keepsDescription; // a calendar's description comes from the list
};

namespace {

OAuth::LoopbackAuthService *makeGoogleAuth(QObject *parent)
{
    return new Google::AuthService(parent);
}

OAuth::LoopbackAuthService *makeMicrosoftAuth(QObject *parent)
{
    return new Microsoft::AuthService(parent);
}

} // namespace

void listProviderCalendarsWithClients(const QString &provider, const QString &accessToken,
                                      QObject *context, ProviderCalendarDone done)
{
    if (provider == QLatin1String("google")) {
        auto *client = new Google::CalendarClient(context);
        client->accessToken = accessToken;
        QObject::connect(client, &Google::CalendarClient::calendarsListed, context,
                         [done](const QList<Google::DiscoveredCalendar> &found) {
                             QList<ProviderCalendar> calendars;
                             for (const Google::DiscoveredCalendar &c : found) {
                                 const bool writable = c.accessRole == QLatin1String("owner")
                                     || c.accessRole == QLatin1String("writer");
                                 calendars << ProviderCalendar {c.id, c.summary, c.description,
                                                                c.backgroundColor, !writable};
                             }
                             done(true, calendars, QString());
                         });
        QObject::connect(client, &Google::CalendarClient::requestFailed, context,
                         [done](const QString &reason) { done(false, {}, reason); });
        client->listCalendars();
        return;
    }
    if (provider == QLatin1String("microsoft")) {
        auto *client = new Microsoft::CalendarClient(context);
        client->accessToken = accessToken;
        client->listCalendars([done](const QList<Microsoft::DiscoveredCalendar> &found,
                                     const Microsoft::GraphReply &reply) {
            if (!reply.ok()) {
                done(false, {}, reply.reason);
                return;
            }
            QList<ProviderCalendar> calendars;
            for (const Microsoft::DiscoveredCalendar &c : found)
                calendars << ProviderCalendar {c.id, c.name, QString(), c.color, !c.canEdit};
            done(true, calendars, QString());
        });
        return;
    }
    done(false, {}, QStringLiteral("no calendar list for ") + provider);
}

// One account's discovery: its context owns every object the discovery makes, and finish() ends
// it once, whatever comes first.
struct ConfigDiscovery::Discovery
{
    QString accountId;
    QString accountName;
    const ProviderTraits *traits = nullptr;
    QPointer<QObject> context;
    Done done;
    bool finished = false;

    void finish()
    {
        if (finished)
            return;
        finished = true;
        if (context)
            context->deleteLater();
        if (done)
            done();
    }
};

ConfigDiscovery::ConfigDiscovery(AppState *state, QObject *parent)
    : QObject(parent)
    , m_state(state)
    , m_listProviderCalendars(&listProviderCalendarsWithClients)
{ }

QDateTime ConfigDiscovery::now() const
{
    return m_state->database()->currentDateTimeUtc();
}

void ConfigDiscovery::setProviderCalendarLister(ProviderCalendarLister lister)
{
    m_listProviderCalendars = std::move(lister);
}

void ConfigDiscovery::run(const QStringList &ids, std::function<void()> finished)
{
    if (ids.isEmpty()) {
        finished();
        return;
    }
    auto remaining = std::make_shared<int>(int(ids.size()));
    const Done done = [remaining, finished = std::move(finished)] {
        if (--*remaining == 0)
            finished();
    };
    qInfo() << "[ConfigSync] post-account discovery for" << ids.size() << "account(s):" << ids;

    static const ProviderTraits google {QStringLiteral("google"), "Google",
                                        &Google::AuthService::tokenKey, &makeGoogleAuth, true};
    static const ProviderTraits microsoft {QStringLiteral("microsoft"), "Microsoft",
                                           &Microsoft::AuthService::tokenKey, &makeMicrosoftAuth,
                                           false};
    for (const QString &id : ids) {
        const std::optional<Account> account = m_state->accounts()->byId(id);
        if (!account) {
            qWarning().noquote() << "[ConfigSync] discovery skipped for" << id
                                 << "(account row vanished)";
            done();
            continue;
        }
        const QString &type = account->type;
        if (type == QLatin1String("caldav") || type == QLatin1String("icloud")
            || type == QLatin1String("zoho"))
            runCalDavDiscovery(*account, done);
        else if (type == google.kind)
            runProviderDiscovery(*account, google, done);
        else if (type == microsoft.kind)
            runProviderDiscovery(*account, microsoft, done);
        else {
            qCDebug(lcConfigSync) << "[ConfigSync] no discovery handler for type" << type
                                  << "account" << account->name;
            done();
        }
    }
}

void ConfigDiscovery::runCalDavDiscovery(const Account &account, Done done)
{
    const std::unique_ptr<LarkAccount::TokenStore> secrets
        = LarkAccount::createTokenStore(applicationIdentifier());
    const QString password = secrets->get(caldavPasswordKey(account.id)).value_or(QString());
    if (account.server_url.isEmpty() || account.username.isEmpty() || password.isEmpty()) {
        QString missing;
        if (account.server_url.isEmpty())
            missing += QStringLiteral("url ");
        if (account.username.isEmpty())
            missing += QStringLiteral("user ");
        if (password.isEmpty())
            missing += QStringLiteral("password ");
        qWarning().noquote() << "[ConfigSync] CalDAV discovery skipped for" << account.name
                             << "type=" << account.type << "missing=" << missing;
        done();
        return;
    }
    qCDebug(lcConfigSync) << "[ConfigSync] running CalDAV discovery for" << account.name << "("
                          << QUrl(account.server_url).toString(QUrl::RemoveUserInfo) << ")";

    auto discovery = std::make_shared<Discovery>();
    discovery->accountId = account.id;
    discovery->accountName = account.name;
    discovery->context = new QObject(this);
    discovery->done = std::move(done);
    QTimer::singleShot(m_timeoutMs, discovery->context, [discovery] {
        qWarning().noquote() << "[ConfigSync] CalDAV discovery FAILED for" << discovery->accountName
                             << ": no answer in time";
        discovery->finish();
    });

    auto *client = new CalDavClient(discovery->context);
    client->setCredentials(account.username, password);
    if (!account.trusted_cert_sha256.isEmpty())
        client->setTrustedFingerprint(account.trusted_cert_sha256);
    auto *finder = new CalDavDiscovery(client);
    connect(finder, &CalDavDiscovery::completed, discovery->context,
            [this, discovery](const QList<CalDavParse::DiscoveredCalendar> &calendars) {
                const int added
                    = importDiscoveredCalendars(m_state, discovery->accountId, calendars);
                qCDebug(lcConfigSync) << "[ConfigSync] CalDAV discovery completed: found"
                                      << calendars.size() << "calendar(s)," << added << "added";
                discovery->finish();
            });
    connect(finder, &CalDavDiscovery::failed, discovery->context,
            [discovery](const QString &reason) {
                qWarning().noquote() << "[ConfigSync] CalDAV discovery FAILED for"
                                     << discovery->accountName << ":" << reason;
                discovery->finish();
            });
    finder->start(account.server_url);
}

void ConfigDiscovery::runProviderDiscovery(const Account &account, const ProviderTraits &traits,
                                           Done done)
{
    auto discovery = std::make_shared<Discovery>();
    discovery->accountId = account.id;
    discovery->accountName = account.name;
    discovery->traits = &traits;
    discovery->done = std::move(done);

    const QString tokenKey = traits.tokenKey(account.id);
    const OAuth::StoredTokens tokens = OAuth::loadTokens(tokenKey);
    if (tokens.refreshToken.isEmpty()) {
        qCDebug(lcConfigSync).noquote()
            << "[ConfigSync]" << traits.label << "discovery: no tokens for" << account.name
            << "→ needs sign-in";
        setAccountSyncError(account.id, tr("Sign in required"));
        discovery->finish();
        return;
    }
    discovery->context = new QObject(this);
    QTimer::singleShot(m_timeoutMs, discovery->context, [discovery] {
        qWarning().noquote() << "[ConfigSync]" << discovery->traits->label << "discovery FAILED for"
                             << discovery->accountName << ": no answer in time";
        discovery->finish();
    });
    OAuth::SignInSession *session
        = OAuth::newProviderSession(traits.makeAuth, tokenKey, 60, discovery->context);
    session->setTokens({tokens.accessToken, tokens.refreshToken, tokens.expiresAt});
    if (session->needsRenewal(now()))
        qCDebug(lcConfigSync).noquote()
            << "[ConfigSync]" << traits.label << "access token expired for" << account.name
            << "— refreshing";
    session->ensureFresh(now(), [this, discovery, session](OAuth::Renewal renewal) {
        if (renewal == OAuth::Renewal::Renewed) {
            listProviderCalendars(discovery, session->tokens().access);
            return;
        }
        qWarning().noquote() << "[ConfigSync]" << discovery->traits->label
                             << "token refresh FAILED for" << discovery->accountName << ":"
                             << session->failureReason();
        setAccountSyncError(discovery->accountId, tr("Sign in required"));
        discovery->finish();
    });
}

void ConfigDiscovery::listProviderCalendars(const std::shared_ptr<Discovery> &discovery,
                                            const QString &accessToken)
{
    if (!m_listProviderCalendars) {
        qWarning().noquote() << "[ConfigSync]" << discovery->traits->label << "discovery FAILED for"
                             << discovery->accountName << ": this build cannot list its calendars";
        discovery->finish();
        return;
    }
    QPointer<ConfigDiscovery> self(this);
    m_listProviderCalendars(
        discovery->traits->kind, accessToken, discovery->context,
        [self, discovery](bool ok, const QList<ProviderCalendar> &calendars,
                          const QString &reason) {
            if (!self || discovery->finished)
                return;
            if (!ok) {
                qWarning().noquote()
                    << "[ConfigSync]" << discovery->traits->label << "discovery FAILED for"
                    << discovery->accountName << ":" << reason;
                self->setAccountSyncError(discovery->accountId, tr("Sign in required"));
                discovery->finish();
                return;
            }
            self->adoptProviderCalendars(discovery, calendars);
        });
}

void ConfigDiscovery::adoptProviderCalendars(const std::shared_ptr<Discovery> &discovery,
                                             const QList<ProviderCalendar> &calendars)
{
    const ProviderTraits &traits = *discovery->traits;
    CalendarRepository *repo = m_state->calendars();
    int adopted = 0;
    int inserted = 0;
    for (const ProviderCalendar &found : calendars) {
        const QString key = calendarIdentityKey(traits.kind, found.id).value_or(QString());
        const QList<Calendar> own = repo->listByAccount(discovery->accountId);
        const auto match = std::find_if(own.cbegin(), own.cend(),
                                        [&](const Calendar &c) { return c.url == found.id; });
        if (match != own.cend()) {
            Calendar c = *match;
            // A placeholder holds the name and colour chosen on another device: they stay.
            const bool placeholder = c.is_read_only && !c.sync_enabled && c.preferences_changed_at;
            if (!placeholder) {
                c.name = found.name;
                if (!found.color.isEmpty())
                    c.color = found.color;
            }
            if (traits.keepsDescription)
                c.description = found.description;
            c.is_read_only = found.readOnly;
            c.sync_enabled = true;
            if (c.canonical_key.isEmpty())
                c.canonical_key = key;
            // The provider's names are not the user's choice, which keeps its date.
            repo->storeSynced(c);
            ++adopted;
            continue;
        }
        Calendar c;
        c.id = newId();
        c.account_id = discovery->accountId;
        c.url = found.id;
        c.name = found.name;
        if (traits.keepsDescription)
            c.description = found.description;
        c.color = found.color.isEmpty() ? QStringLiteral("#4285F4") : found.color;
        c.is_read_only = found.readOnly;
        c.canonical_key = key;
        c.sync_enabled = true;
        c.created_at = c.updated_at = now();
        if (repo->insert(c))
            ++inserted;
    }
    qCDebug(lcConfigSync).noquote()
        << "[ConfigSync]" << traits.label << "discovery completed for" << discovery->accountName
        << ": adopted=" << adopted << "inserted=" << inserted;
    const std::optional<Account> account = m_state->accounts()->byId(discovery->accountId);
    if (account && !account->last_sync_error.isEmpty())
        setAccountSyncError(discovery->accountId, QString());
    discovery->finish();
}

void ConfigDiscovery::setAccountSyncError(const QString &accountId, const QString &text)
{
    std::optional<Account> account = m_state->accounts()->byId(accountId);
    if (!account || account->last_sync_error == text)
        return;
    account->last_sync_error = text;
    m_state->accounts()->update(*account);
}

} // namespace Larkspindle
