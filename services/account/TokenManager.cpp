#include "services/account/TokenManager.h"

#include "model/Clock.h"
#include "platform/TokenStore.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QMutexLocker>
#include <QPointer>

#include <cmath>
#include <limits>
#include <utility>

namespace LarkAccount {

const QString TokenManager::accessTokenKey = QStringLiteral("larkspindle_access_token");
const QString TokenManager::refreshTokenKey = QStringLiteral("larkspindle_refresh_token");

namespace {

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

TokenManager::TokenManager(std::unique_ptr<TokenStore> store, QObject *parent)
    : QObject(parent)
    , m_store(std::move(store))
    , m_clock([] { return ::Clock::nowUtc(); })
{ }

TokenManager::~TokenManager() = default;

void TokenManager::setRefreshFunction(RefreshFunction function)
{
    m_refreshFunction = std::move(function);
}

void TokenManager::setClock(Clock clock)
{
    m_clock = std::move(clock);
}

void TokenManager::load()
{
    if (!m_store)
        return;
    m_access = m_store->get(accessTokenKey).value_or(QString());
    m_storeFailure = m_store->lastFailure();
    m_refresh = m_store->get(refreshTokenKey).value_or(QString());
    if (m_storeFailure == TokenStoreFailure::None)
        m_storeFailure = m_store->lastFailure();
}

bool TokenManager::setTokens(const QString &access, const QString &refresh)
{
    ++m_generation;
    m_access = access;
    m_refresh = refresh;
    const bool stored = m_store && m_store->set(accessTokenKey, m_access)
        && m_store->set(refreshTokenKey, m_refresh);
    if (!stored)
        qWarning().noquote() << "[TokenManager] the credential store refused the tokens; the "
                                "sign-in lasts only until the program ends";
    return stored;
}

void TokenManager::clear()
{
    ++m_generation;
    m_access.clear();
    m_refresh.clear();
    if (m_store)
        m_store->clear();
}

QString TokenManager::accessToken() const
{
    if (m_access.isEmpty())
        return {};
    const qint64 exp = tokenExpiry(m_access);
    if (exp == 0)
        return {};
    const qint64 now = m_clock().toSecsSinceEpoch();
    return now < exp - expiryMarginSecs ? m_access : QString();
}

bool TokenManager::needsRefresh() const
{
    return !m_refresh.isEmpty() && accessToken().isEmpty();
}

void TokenManager::refresh(Completion completion)
{
    QMutexLocker locker(&m_lock);
    if (completion)
        m_waiting.append(std::move(completion));
    if (m_inFlight)
        return;
    if (m_refresh.isEmpty() || !m_refreshFunction) {
        const QList<Completion> waiting = std::exchange(m_waiting, {});
        locker.unlock();
        for (const Completion &c : waiting)
            c(RefreshResult::Rejected);
        return;
    }
    m_inFlight = true;
    const QString token = m_refresh;
    const quint64 generation = m_generation;
    locker.unlock();

    // The renewal may end after the manager is gone (the reply outlives it during shutdown).
    const QPointer<TokenManager> self(this);
    auto onSuccess = [this, self, generation](const QString &access, const QString &refresh) {
        if (!self)
            return;
        if (generation != m_generation) {
            // Signed out or signed in anew meanwhile: the old renewal must not come back.
            finish(accessToken().isEmpty() ? RefreshResult::Rejected : RefreshResult::Success);
            return;
        }
        // A reply without a refresh token keeps the one we have: losing it would sign the
        // user out at the next renewal.
        (void)setTokens(access, refresh.isEmpty() ? m_refresh : refresh);
        finish(RefreshResult::Success);
    };
    auto onFailure = [this, self, generation](bool rejected) {
        if (!self)
            return;
        if (generation != m_generation) {
            // The tokens this renewal started from were replaced meanwhile (a newer sign-in):
            // its refusal says nothing about them, and must not make anyone clear them.
            finish(accessToken().isEmpty() ? RefreshResult::TransientFailure
                                           : RefreshResult::Success);
            return;
        }
        finish(rejected ? RefreshResult::Rejected : RefreshResult::TransientFailure);
    };
    m_refreshFunction(token, std::move(onSuccess), std::move(onFailure));
}

void TokenManager::finish(RefreshResult result)
{
    QMutexLocker locker(&m_lock);
    m_inFlight = false;
    const QList<Completion> waiting = std::exchange(m_waiting, {});
    locker.unlock();
    for (const Completion &c : waiting)
        c(result);
}

} // namespace LarkAccount
