#pragma once

// The signed-in user's access and refresh tokens: kept in the credential store, checked for
// expiry, and renewed with at most one renewal in flight however many callers need it. The
// rules are the sign-in session's that Google and Microsoft share (OAuth::SignInSession); the
// expiry is the token's own "exp".

#include "platform/TokenStore.h"

#include <QDateTime>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

namespace OAuth {
class SignInSession;
}

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

    static const QString accessTokenKey; // "larkspindle_access_token"
    static const QString refreshTokenKey; // "larkspindle_refresh_token"

    TokenManager(std::unique_ptr<TokenStore> store, QObject *parent = nullptr);
    ~TokenManager() override;

    void setRefreshFunction(RefreshFunction function);

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
    QString storedAccessToken() const;
    QString refreshToken() const;
    bool needsRefresh() const;

    void refresh(Completion completion);

    static qint32 tokenExpiry(const QString &token) { return LarkAccount::tokenExpiry(token); }

private:
    bool store(const QString &access, const QString &refresh);

    std::unique_ptr<TokenStore> m_store;
    OAuth::SignInSession *m_session;
    TokenStoreFailure m_storeFailure = TokenStoreFailure::None;
};

} // namespace LarkAccount
