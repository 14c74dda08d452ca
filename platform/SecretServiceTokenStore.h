#pragma once

#include "platform/TokenStore.h"

namespace LarkAccount {

// Credential store in the desktop keyring, reached through the Secret Service on the session
// bus (libsecret, which only this layer links). One item per entry, found by the attributes
// "service" and "key" of our own schema and labelled with the entry's target name; the value is
// kept as UTF-8 text. Every call waits a bounded time: a keyring that hangs fails the call
// instead of freezing the program, and an unlock prompt the user leaves open is given up after
// two minutes.
class SecretServiceTokenStore : public TokenStore
{
public:
    explicit SecretServiceTokenStore(QString serviceName);

    // Connects to the Secret Service once per run. False, with the reason, while none answers;
    // a later call tries again.
    static bool connect(QString *reason = nullptr);

    std::optional<QString> get(const QString &key) override;
    bool set(const QString &key, const QString &value) override;
    bool remove(const QString &key) override;
    TokenStoreFailure lastFailure() const override { return m_failure; }

    QString serviceName() const { return m_serviceName; }

private:
    QString m_serviceName;
    TokenStoreFailure m_failure = TokenStoreFailure::None;
};

} // namespace LarkAccount
