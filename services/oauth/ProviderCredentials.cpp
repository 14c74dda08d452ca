#include "services/oauth/ProviderCredentials.h"

#include "platform/DataPaths.h"
#include "platform/Endpoints.h"
#include "platform/TokenStore.h"

#include <QJsonDocument>
#include <QJsonObject>

bool hasBuiltInGoogleCredentials()
{
    return !Endpoints::googleClientId().isEmpty() && !Endpoints::googleClientSecret().isEmpty();
}

bool hasBuiltInMicrosoftClientId()
{
    return !Endpoints::microsoftClientId().isEmpty();
}

namespace OAuth {

namespace {

const QString kAccessToken = QStringLiteral("access_token");
const QString kRefreshToken = QStringLiteral("refresh_token");
const QString kExpiresAt = QStringLiteral("expires_at");

std::unique_ptr<LarkAccount::TokenStore> openStore()
{
    return LarkAccount::createTokenStore(applicationIdentifier());
}

} // namespace

StoredTokens loadTokens(const QString &entryKey)
{
    StoredTokens tokens;
    const std::unique_ptr<LarkAccount::TokenStore> store = openStore();
    if (!store)
        return tokens;
    const std::optional<QString> text = store->get(entryKey);
    if (!text || text->isEmpty())
        return tokens;
    const QJsonObject object = QJsonDocument::fromJson(text->toUtf8()).object();
    tokens.accessToken = object.value(kAccessToken).toString();
    tokens.refreshToken = object.value(kRefreshToken).toString();
    const QDateTime expiresAt
        = QDateTime::fromString(object.value(kExpiresAt).toString(), Qt::ISODateWithMs);
    if (expiresAt.isValid())
        tokens.expiresAt = expiresAt.toUTC();
    return tokens;
}

bool saveTokens(const QString &entryKey, const StoredTokens &tokens)
{
    const std::unique_ptr<LarkAccount::TokenStore> store = openStore();
    if (!store)
        return false;
    const QJsonObject object {
        {kAccessToken, tokens.accessToken},
        {kRefreshToken, tokens.refreshToken},
        {kExpiresAt,
         tokens.expiresAt.isValid() ? tokens.expiresAt.toUTC().toString(Qt::ISODateWithMs)
                                    : QString()},
    };
    return store->set(entryKey,
                      QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact)));
}

bool removeTokens(const QString &entryKey)
{
    const std::unique_ptr<LarkAccount::TokenStore> store = openStore();
    return store && store->remove(entryKey);
}

} // namespace OAuth
