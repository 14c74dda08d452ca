#pragma once

#include "platform/TokenStore.h"

#include <QHash>
#include <QString>

#include <memory>

namespace LarkTest {

// Entries shared by every MemoryTokenStore made from it, keyed by target name
// ("Larkspindle/<service>/<key>"), so two stores of one service see each other's writes.
struct MemoryCredentials
{
    QHash<QString, QString> entries;
    // When true every set and remove fails, as a refusing platform store would.
    bool refuseWrites = false;
    // When set, every get finds nothing and reports this failure, as a locked keyring would.
    LarkAccount::TokenStoreFailure readFailure = LarkAccount::TokenStoreFailure::None;
};

// In-memory credential store with the same contract as the real one (target names, UTF-8 value
// limit, empty value is a present value, clear removes only the cloud account's tokens).
class MemoryTokenStore : public LarkAccount::TokenStore
{
public:
    MemoryTokenStore(QString serviceName, std::shared_ptr<MemoryCredentials> credentials);

    std::optional<QString> get(const QString &key) override;
    bool set(const QString &key, const QString &value) override;
    bool remove(const QString &key) override;
    LarkAccount::TokenStoreFailure lastFailure() const override { return m_lastFailure; }

private:
    LarkAccount::TokenStoreFailure m_lastFailure = LarkAccount::TokenStoreFailure::None;
    QString m_serviceName;
    std::shared_ptr<MemoryCredentials> m_credentials;
};

// Puts an in-memory store behind LarkAccount::createTokenStore for its lifetime:
//     LarkTest::ScopedMemoryTokenStore secrets;
//     ... code under test calls createTokenStore(applicationIdentifier()) ...
//     QCOMPARE(secrets.value(applicationIdentifier(), "caldav-password-1"), ...);
class ScopedMemoryTokenStore
{
public:
    ScopedMemoryTokenStore();
    ~ScopedMemoryTokenStore();
    ScopedMemoryTokenStore(const ScopedMemoryTokenStore &) = delete;
    ScopedMemoryTokenStore &operator=(const ScopedMemoryTokenStore &) = delete;

    MemoryCredentials &credentials() { return *m_credentials; }
    std::optional<QString> value(const QString &serviceName, const QString &key) const;

private:
    std::shared_ptr<MemoryCredentials> m_credentials;
};

} // namespace LarkTest
