#pragma once

// Google sign-in and token refresh over the shared loopback sign-in, and where each Google
// account's tokens are kept ("google-tokens-<account id>" in the credential store).

#include "services/oauth/LoopbackAuthService.h"
#include "services/oauth/ProviderCredentials.h"

namespace Google {

using SignInResult = OAuth::SignInResult;
using StoredTokens = OAuth::StoredTokens;

class AuthService : public OAuth::LoopbackAuthService, public OAuth::ProviderTokens<AuthService>
{
    Q_OBJECT
public:
    explicit AuthService(QObject *parent = nullptr);

    // Tokens are stored under this prefix and the account id.
    static QString tokenKeyPrefix();

protected:
    bool isConfigured() const override;
    QString logTag() const override;
    QUrl authorizationUrl() const override;
    QUrl tokenEndpoint() const override;
    OAuth::FormItems codeExchangeForm(const QString &code) const override;
    OAuth::FormItems refreshForm(const QString &refreshToken) const override;
    QString failureText(Failure failure, const QString &detail) const override;
    QString deniedText(const QString &error, const QString &description) const override;
};

} // namespace Google
