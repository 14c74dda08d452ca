#include "support/MemoryTokenStore.h"

#include "platform/Credentials.h"

namespace LarkTest {

MemoryTokenStore::MemoryTokenStore(QString serviceName,
                                   std::shared_ptr<MemoryCredentials> credentials)
    : m_serviceName(std::move(serviceName))
    , m_credentials(std::move(credentials))
{ }

std::optional<QString> MemoryTokenStore::get(const QString &key)
{
    m_lastFailure = m_credentials->readFailure;
    if (m_lastFailure != LarkAccount::TokenStoreFailure::None)
        return std::nullopt;
    const auto it
        = m_credentials->entries.constFind(LarkAccount::credentialTargetName(m_serviceName, key));
    if (it == m_credentials->entries.constEnd())
        return std::nullopt;
    return *it;
}

bool MemoryTokenStore::set(const QString &key, const QString &value)
{
    if (m_credentials->refuseWrites || !LarkAccount::credentialValueFits(value))
        return false;
    m_credentials->entries.insert(LarkAccount::credentialTargetName(m_serviceName, key), value);
    return true;
}

bool MemoryTokenStore::remove(const QString &key)
{
    if (m_credentials->refuseWrites)
        return false;
    return m_credentials->entries.remove(LarkAccount::credentialTargetName(m_serviceName, key)) > 0;
}

ScopedMemoryTokenStore::ScopedMemoryTokenStore()
    : m_credentials(std::make_shared<MemoryCredentials>())
{
    LarkAccount::setTokenStoreFactory([credentials = m_credentials](const QString &serviceName) {
        return std::make_unique<MemoryTokenStore>(serviceName, credentials);
    });
}

ScopedMemoryTokenStore::~ScopedMemoryTokenStore()
{
    LarkAccount::setTokenStoreFactory({});
}

std::optional<QString> ScopedMemoryTokenStore::value(const QString &serviceName,
                                                     const QString &key) const
{
    return MemoryTokenStore(serviceName, m_credentials).get(key);
}

} // namespace LarkTest
