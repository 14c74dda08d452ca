#pragma once

#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace LarkAccount {

// Secrets (CalDAV passwords, provider tokens, the cloud account's tokens) by entry key, one
// name space per service name. Values are text, kept as UTF-8. Nothing secret goes anywhere else.
class TokenStore
{
public:
    virtual ~TokenStore();
    virtual std::optional<QString> get(const QString &key) = 0;
    virtual bool set(const QString &key, const QString &value) = 0;
    virtual bool remove(const QString &key) = 0;
    // Removes the cloud account's two token entries and nothing else.
    virtual void clear();
};

// The store every caller uses. Never returns null.
std::unique_ptr<TokenStore> createTokenStore(const QString &serviceName);

// Tests replace the store behind createTokenStore (an empty function restores the real one).
using TokenStoreFactory = std::function<std::unique_ptr<TokenStore>(const QString &serviceName)>;
void setTokenStoreFactory(TokenStoreFactory factory);

} // namespace LarkAccount
