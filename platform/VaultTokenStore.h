#pragma once

#include "platform/TokenStore.h"

#include <QJsonObject>

namespace LarkAccount {

// Credential store kept in a per-user vault file: one JSON object of target names to UTF-8
// values, readable by the owner only (file 0600, folder 0700) and always replaced whole through
// an atomic rename, so a crash mid-write leaves the previous vault intact. A vault that cannot be
// read is never overwritten: writes fail instead of dropping the secrets it holds.
//
// Where a desktop keyring runs, the vault only holds what could not move into it yet, and notes
// (names only, never values) which services keep their secrets in the keyring. A start without
// the keyring then tells a secret it cannot reach from one that was never stored.
class VaultTokenStore : public TokenStore
{
public:
    explicit VaultTokenStore(QString serviceName, QString vaultPath = defaultVaultPath());

    std::optional<QString> get(const QString &key) override;
    bool set(const QString &key, const QString &value) override;
    bool remove(const QString &key) override;
    TokenStoreFailure lastFailure() const override { return m_failure; }

    // The entry keys this service has in the vault.
    QStringList keys() const;
    // Whether this service's secrets are (also) kept in the desktop keyring.
    bool keptInKeyring() const;
    bool markKeptInKeyring();

    QString serviceName() const { return m_serviceName; }
    QString vaultPath() const { return m_vaultPath; }

    // <user configuration folder>/Larkspindle/credentials/vault.json
    static QString defaultVaultPath();

private:
    std::optional<QJsonObject> readVault() const;
    bool writeVault(const QJsonObject &vault) const;

    QString m_serviceName;
    QString m_vaultPath;
    TokenStoreFailure m_failure = TokenStoreFailure::None;
};

} // namespace LarkAccount
