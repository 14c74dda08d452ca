#pragma once

// Microsoft sign-in and token refresh over the shared loopback sign-in, as a public client (no
// client secret; the scopes go with every token request), and where each Microsoft account's
// tokens are kept ("microsoft-tokens-<account id>" in the credential store).

#include "services/oauth/LoopbackAuthService.h"
#include "services/oauth/ProviderCredentials.h"

namespace Microsoft {

using SignInResult = OAuth::SignInResult;
using StoredTokens = OAuth::StoredTokens;

class AuthService : public OAuth::LoopbackAuthService, public OAuth::ProviderTokens<AuthService>
{
    Q_OBJECT
public:
    static const QString tenant;
    static const QString scope;

    explicit AuthService(QObject *parent = nullptr);

    // <authority>/<tenant>/oauth2/v2.0/token
    static QString tokenUrl();

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
    QString emailFrom(const QJsonObject &claims) const override;
};

} // namespace Microsoft
