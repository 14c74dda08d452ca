#pragma once

// The signed-in user's access and refresh tokens: kept in the credential store, checked for
// expiry, and renewed with at most one renewal in flight however many callers need it.

#include "platform/TokenStore.h"

#include <QDateTime>
#include <QList>
#include <QMutex>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

namespace LarkAccount {


enum class RefreshResult : int {
    Success = 0,
    Rejected = 1, // the server refused the refresh token, or there was nothing to renew
    TransientFailure = 2, // anything else; the tokens are unchanged
};

// Claims of the current access token ("custom" -> "lrk").
struct LrkClaims
{
    QString groupId;
    QString role;
};

// "exp" of a JSON Web Token, 0 when the token or its payload cannot be read.
qint32 tokenExpiry(const QString &token);
LrkClaims decodeClaims(const QString &accessToken);

class TokenManager : public QObject
{
    Q_OBJECT
public:
    using SuccessCompletion = std::function<void(const QString &access, const QString &refresh)>;
    using FailureCompletion = std::function<void(bool rejected)>;
    using RefreshFunction = std::function<void(
        const QString &refreshToken, SuccessCompletion onSuccess, FailureCompletion onFailure)>;
    using Completion = std::function<void(RefreshResult)>;
    using Clock = std::function<QDateTime()>;

    static const QString accessTokenKey; // "larkspindle_access_token"
    static const QString refreshTokenKey; // "larkspindle_refresh_token"

    TokenManager(std::unique_ptr<TokenStore> store, QObject *parent = nullptr);
    ~TokenManager() override;

    void setRefreshFunction(RefreshFunction function);
    // Tests pin "now"; the default is the system clock.
    void setClock(Clock clock);

    void load();
    // Why the latest load found no tokens where the store should have had them (a locked or
    // missing desktop keyring); None otherwise.
    TokenStoreFailure storeFailure() const { return m_storeFailure; }
    // Keeps the tokens for this run and stores them; false (and a warning) when the credential
    // store refused them, so the sign-in will not outlive this run.
    bool setTokens(const QString &access, const QString &refresh);
    void clear();

    // The access token while it is valid for more than 30 more seconds, else empty.
    QString accessToken() const;
    // The stored access token whatever its expiry (for signing out).
    QString storedAccessToken() const { return m_access; }
    QString refreshToken() const { return m_refresh; }
    bool needsRefresh() const;

    void refresh(Completion completion);

    static qint32 tokenExpiry(const QString &token) { return LarkAccount::tokenExpiry(token); }

private:
    void finish(RefreshResult result);

    std::unique_ptr<TokenStore> m_store;
    QString m_access;
    QString m_refresh;
    RefreshFunction m_refreshFunction;
    Clock m_clock;
    QMutex m_lock;
    bool m_inFlight = false;
    QList<Completion> m_waiting;
    // Bumped whenever the tokens are replaced or cleared, so that a renewal started before
    // stores nothing when it ends after (a signed-out user must stay signed out).
    quint64 m_generation = 0;
    TokenStoreFailure m_storeFailure = TokenStoreFailure::None;
};

} // namespace LarkAccount
