#include "services/account/TokenManager.h"

#include "model/Clock.h"
#include "platform/TokenStore.h"
#include "services/oauth/SignInSession.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QtDebug>

#include <cmath>
#include <limits>
#include <utility>

namespace LarkAccount {

const QString TokenManager::accessTokenKey = QStringLiteral("larkspindle_access_token");
const QString TokenManager::refreshTokenKey = QStringLiteral("larkspindle_refresh_token");

namespace {

// A token within this many seconds of its expiry is treated as absent: it needs more than that left.
constexpr qint64 expiryMarginSecs = 30;

// The payload object of a JSON Web Token; empty when there is none.
QJsonObject payload(const QString &token)
{
    const QStringList parts = token.split(QLatin1Char('.'));
    if (parts.size() < 2)
        return {};
    const QByteArray json = QByteArray::fromBase64(
        parts.at(1).toLatin1(), QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals);
    return QJsonDocument::fromJson(json).object();
}

} // namespace

qint32 tokenExpiry(const QString &token)
{
    const QJsonValue exp = payload(token).value(QLatin1String("exp"));
    if (!exp.isDouble())
        return 0;
    const double value = exp.toDouble();
    // Range first: converting a number outside it is undefined.
    if (!(value >= std::numeric_limits<qint32>::min()
          && value <= std::numeric_limits<qint32>::max())
        || value != std::trunc(value))
        return 0;
    return static_cast<qint32>(value);
}

LrkClaims decodeClaims(const QString &accessToken)
{
    LrkClaims claims;
    const QJsonObject lrk = payload(accessToken)
                                .value(QLatin1String("custom"))
                                .toObject()
                                .value(QLatin1String("lrk"))
                                .toObject();
    if (lrk.isEmpty())
        return claims;
    claims.groupId = lrk.value(QLatin1String("group_id")).toString();
    claims.role = lrk.value(QLatin1String("role")).toString();
    return claims;
}

namespace {

// The expiry a token names; invalid when it names none, and the token is then never used.
QDateTime expiryOf(const QString &token)
{
    const qint32 exp = tokenExpiry(token);
    return exp == 0 ? QDateTime() : QDateTime::fromSecsSinceEpoch(exp, Qt::UTC);
}

void warnNotStored()
{
    qWarning().noquote() << "[TokenManager] the credential store refused the tokens; the "
                            "sign-in lasts only until the program ends";
}

RefreshResult resultOf(OAuth::Renewal renewal)
{
    switch (renewal) {
    case OAuth::Renewal::Renewed:
        return RefreshResult::Success;
    case OAuth::Renewal::Rejected:
        return RefreshResult::Rejected;
    case OAuth::Renewal::Failed:
        break;
    }
    return RefreshResult::TransientFailure;
}

} // namespace

TokenManager::TokenManager(std::unique_ptr<TokenStore> store, QObject *parent)
    : QObject(parent)
    , m_store(std::move(store))
    , m_session(new OAuth::SignInSession(expiryMarginSecs + 1, this))
{
    m_session->setKeeper([this](const OAuth::SignInSession::Tokens &tokens) {
        if (!this->store(tokens.access, tokens.refresh))
            warnNotStored();
    });
}

TokenManager::~TokenManager() = default;

void TokenManager::setRefreshFunction(RefreshFunction function)
{
    if (!function) {
        m_session->setRenewal({});
        return;
    }
    m_session->setRenewal([function = std::move(function)](const QString &refreshToken,
                                                           OAuth::SignInSession::Renewed renewed,
                                                           OAuth::SignInSession::Failed failed) {
        function(
            refreshToken,
            [renewed](const QString &access, const QString &refresh) {
                renewed({access, refresh, expiryOf(access)});
            },
            [failed](bool rejected) { failed(rejected, QString()); });
    });
}

void TokenManager::load()
{
    if (!m_store)
        return;
    const QString access = m_store->get(accessTokenKey).value_or(QString());
    m_storeFailure = m_store->lastFailure();
    const QString refresh = m_store->get(refreshTokenKey).value_or(QString());
    if (m_storeFailure == TokenStoreFailure::None)
        m_storeFailure = m_store->lastFailure();
    m_session->setTokens({access, refresh, expiryOf(access)});
}

bool TokenManager::store(const QString &access, const QString &refresh)
{
    return m_store && m_store->set(accessTokenKey, access)
        && m_store->set(refreshTokenKey, refresh);
}

bool TokenManager::setTokens(const QString &access, const QString &refresh)
{
    m_session->setTokens({access, refresh, expiryOf(access)});
    const bool stored = store(access, refresh);
    if (!stored)
        warnNotStored();
    return stored;
}

void TokenManager::clear()
{
    m_session->setTokens({});
    if (m_store)
        m_store->clear();
}

QString TokenManager::accessToken() const
{
    return m_session->accessToken(::Clock::nowUtc());
}

QString TokenManager::storedAccessToken() const
{
    return m_session->tokens().access;
}

QString TokenManager::refreshToken() const
{
    return m_session->tokens().refresh;
}

bool TokenManager::needsRefresh() const
{
    return m_session->needsRenewal(::Clock::nowUtc());
}

void TokenManager::refresh(Completion completion)
{
    m_session->renew(completion ? OAuth::SignInSession::Done(
                         [completion](OAuth::Renewal renewal) { completion(resultOf(renewal)); })
                                : OAuth::SignInSession::Done());
}

} // namespace LarkAccount
