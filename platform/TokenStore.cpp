#include "platform/TokenStore.h"

#include "platform/VaultTokenStore.h"

namespace LarkAccount {

namespace {

TokenStoreFactory &factoryOverride()
{
    static TokenStoreFactory factory;
    return factory;
}

} // namespace

TokenStore::~TokenStore() = default;

void TokenStore::clear()
{
    // Only the cloud account's tokens: CalDAV passwords and provider tokens outlive a sign-out.
    (void)remove(QStringLiteral("larkspindle_access_token"));
    (void)remove(QStringLiteral("larkspindle_refresh_token"));
}

std::unique_ptr<TokenStore> createTokenStore(const QString &serviceName)
{
    if (const TokenStoreFactory &factory = factoryOverride()) {
        if (std::unique_ptr<TokenStore> store = factory(serviceName))
            return store;
    }
    return std::make_unique<VaultTokenStore>(serviceName);
}

void setTokenStoreFactory(TokenStoreFactory factory)
{
    factoryOverride() = std::move(factory);
}

} // namespace LarkAccount
