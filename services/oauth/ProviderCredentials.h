#pragma once

// What the Google and Microsoft sign-ins keep outside the sign-in itself: the OAuth client
// identity the build carries, and each account's tokens in the credential store.

#include <QDateTime>
#include <QString>

// Google's token requests need both the client id and the client secret.
bool hasBuiltInGoogleCredentials();
// Microsoft signs in as a public client: the client id alone.
bool hasBuiltInMicrosoftClientId();

namespace OAuth {

// One account's provider tokens; all empty (and the expiry invalid) when nothing is stored.
struct StoredTokens
{
    QString accessToken;
    QString refreshToken;
    QDateTime expiresAt; // UTC
};

// Reads the entry under this key of the application's credential store. A missing, empty or
// unreadable entry gives the empty record.
StoredTokens loadTokens(const QString &entryKey);

// Writes the record as compact JSON ({"access_token", "expires_at", "refresh_token"}), replacing
// the entry. False when the store refused it.
[[nodiscard]] bool saveTokens(const QString &entryKey, const StoredTokens &tokens);

// Drops the entry; used to take back tokens whose account could not be stored.
bool removeTokens(const QString &entryKey);

// The token functions of one provider's accounts, mixed into its sign-in service. The provider's
// entries are named tokenKeyPrefix() followed by the account id.
template<typename Provider> struct ProviderTokens
{
    static QString tokenKey(const QString &accountId)
    {
        return Provider::tokenKeyPrefix() + accountId;
    }
    static StoredTokens loadTokens(const QString &accountId)
    {
        return OAuth::loadTokens(tokenKey(accountId));
    }
    [[nodiscard]] static bool saveTokens(const QString &accountId, const StoredTokens &tokens)
    {
        return OAuth::saveTokens(tokenKey(accountId), tokens);
    }
};

} // namespace OAuth
