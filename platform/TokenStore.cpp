#include "platform/TokenStore.h"

#include "platform/SecretServiceTokenStore.h"
#include "platform/VaultTokenStore.h"

#include <QCoreApplication>
#include <QSet>

namespace LarkAccount {

namespace {

TokenStoreFactory &factoryOverride()
{
    static TokenStoreFactory factory;
    return factory;
}

// Decided on the first store a run asks for: the keyring when a Secret Service answers on the
// session bus, else the vault. Said once in the log.
bool useKeyring()
{
    static const bool keyring = [] {
        QString reason;
        if (SecretServiceTokenStore::connect(&reason)) {
            qInfo("[TokenStore] credentials are kept in the desktop keyring");
            return true;
        }
        qInfo("[TokenStore] no desktop keyring answers (%s); credentials are kept in %s",
              qUtf8Printable(reason), qUtf8Printable(VaultTokenStore::defaultVaultPath()));
        return false;
    }();
    return keyring;
}

// The keyring, with whatever the vault still holds for the service because it could not move
// yet (the keyring was locked, or a write failed): those entries stay readable, and a new value
// or a removal takes them out of the vault.
class KeyringTokenStore : public TokenStore
{
public:
    explicit KeyringTokenStore(const QString &serviceName)
        : m_keyring(serviceName)
        , m_vault(serviceName)
    { }

    std::optional<QString> get(const QString &key) override
    {
        std::optional<QString> value = m_keyring.get(key);
        m_failure = m_keyring.lastFailure();
        if (!value) {
            value = m_vault.get(key);
            if (value)
                m_failure = TokenStoreFailure::None;
        }
        return value;
    }

    bool set(const QString &key, const QString &value) override
    {
        const bool stored = m_keyring.set(key, value);
        m_failure = m_keyring.lastFailure();
        if (!stored)
            return false;
        noteKeptInKeyring(m_vault);
        // An older value left in the vault would come back at the next start's move.
        if (m_vault.get(key) && !m_vault.remove(key)) {
            qWarning("[TokenStore] an older copy of a credential stays in the vault");
            return false;
        }
        return true;
    }

    bool remove(const QString &key) override
    {
        const bool removed = m_keyring.remove(key);
        m_failure = m_keyring.lastFailure();
        if (m_failure != TokenStoreFailure::None)
            return false;
        const bool removedLeftover = m_vault.get(key) && m_vault.remove(key);
        return removed || removedLeftover;
    }

    TokenStoreFailure lastFailure() const override { return m_failure; }

    static void noteKeptInKeyring(VaultTokenStore &vault)
    {
        static QSet<QString> noted;
        if (noted.contains(vault.serviceName()))
            return;
        if (vault.markKeptInKeyring())
            noted.insert(vault.serviceName());
    }

private:
    SecretServiceTokenStore m_keyring;
    VaultTokenStore m_vault;
    TokenStoreFailure m_failure = TokenStoreFailure::None;
};

// Moves the service's vault entries into the keyring, the first time a run asks for the service.
void moveVaultIntoKeyring(const QString &serviceName)
{
    static QSet<QString> done;
    if (done.contains(serviceName))
        return;
    done.insert(serviceName);

    VaultTokenStore vault(serviceName);
    const QStringList keys = vault.keys();
    if (keys.isEmpty())
        return;
    SecretServiceTokenStore keyring(serviceName);
    const CredentialMove move = moveCredentials(vault, keys, keyring);
    if (move.moved > 0)
        KeyringTokenStore::noteKeptInKeyring(vault);
    qInfo("[TokenStore] moved %d credentials from the vault into the desktop keyring; %d stay "
          "in the vault",
          move.moved, move.kept);
}

} // namespace

QString tokenStoreFailureText(TokenStoreFailure failure)
{
    switch (failure) {
    case TokenStoreFailure::None:
        break;
    case TokenStoreFailure::KeyringLocked:
        return QCoreApplication::translate(
            "LarkAccount::TokenStore",
            "The desktop keyring is locked, so the saved sign-in and passwords cannot be used. "
            "Unlock the keyring and try again.");
    case TokenStoreFailure::KeyringUnavailable:
        return QCoreApplication::translate("LarkAccount::TokenStore",
                                           "The saved sign-in and passwords are kept in the "
                                           "desktop keyring, which does not answer.");
    }
    return {};
}

TokenStore::~TokenStore() = default;

void TokenStore::clear()
{
    // Only the cloud account's tokens: CalDAV passwords and provider tokens outlive a sign-out.
    (void)remove(QStringLiteral("larkspindle_access_token"));
    (void)remove(QStringLiteral("larkspindle_refresh_token"));
}

TokenStoreFailure TokenStore::lastFailure() const
{
    return TokenStoreFailure::None;
}

std::unique_ptr<TokenStore> createTokenStore(const QString &serviceName)
{
    if (const TokenStoreFactory &factory = factoryOverride()) {
        if (std::unique_ptr<TokenStore> store = factory(serviceName))
            return store;
    }
    if (!useKeyring())
        return std::make_unique<VaultTokenStore>(serviceName);
    moveVaultIntoKeyring(serviceName);
    return std::make_unique<KeyringTokenStore>(serviceName);
}

void setTokenStoreFactory(TokenStoreFactory factory)
{
    factoryOverride() = std::move(factory);
}

CredentialMove moveCredentials(TokenStore &from, const QStringList &keys, TokenStore &to)
{
    CredentialMove move;
    for (const QString &key : keys) {
        const std::optional<QString> value = from.get(key);
        if (!value)
            continue;
        bool moved = false;
        if (to.set(key, *value)) {
            moved = to.get(key) == value && from.remove(key);
            if (!moved)
                (void)to.remove(key);
        }
        ++(moved ? move.moved : move.kept);
    }
    return move;
}

} // namespace LarkAccount
