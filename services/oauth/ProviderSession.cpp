#include "services/oauth/ProviderSession.h"

#include "services/oauth/LoopbackAuthService.h"
#include "services/oauth/ProviderCredentials.h"

#include <QtDebug>

namespace OAuth {

SignInSession *newProviderSession(const AuthFactory &makeAuth, const QString &tokenKey,
                                  int minimumLeftSecs, QObject *owner)
{
    auto *session = new SignInSession(minimumLeftSecs, owner);
    session->setRenewal([makeAuth, session](const QString &refreshToken,
                                            SignInSession::Renewed renewed,
                                            SignInSession::Failed failed) {
        LoopbackAuthService *auth = makeAuth(session);
        QObject::connect(auth, &LoopbackAuthService::refreshSucceeded, session,
                         [auth, renewed](const QString &accessToken, const QDateTime &expiresAt,
                                         const QString &rotatedRefreshToken) {
                             auth->deleteLater();
                             renewed({accessToken, rotatedRefreshToken, expiresAt});
                         });
        QObject::connect(auth, &LoopbackAuthService::refreshFailed, session,
                         [auth, failed](const QString &reason) {
                             auth->deleteLater();
                             failed(false, reason);
                         });
        auth->refreshAccessToken(refreshToken);
    });
    session->setKeeper([tokenKey](const SignInSession::Tokens &tokens) {
        // The run goes on with the new token either way; the next one renews again.
        if (!saveTokens(tokenKey, {tokens.access, tokens.refresh, tokens.expiresAt}))
            qWarning().noquote() << "[SignIn] the renewed tokens of" << tokenKey
                                 << "could not be stored; they serve this run only";
    });
    return session;
}

} // namespace OAuth
