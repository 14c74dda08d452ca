#pragma once

#include "platform/TokenStore.h"

#include <QJsonObject>

#include <functional>

namespace LarkAccount {

// Credential store kept in a per-user vault file: one JSON object of target names to UTF-8
// values, readable by the owner only (file 0600, folder 0700) and always replaced whole through
// a checked write and an atomic rename, so a full disk or a crash mid-write leaves the previous
// vault intact. A vault that cannot be read (empty, cut short, not the vault's JSON) is never
// taken for an empty one: reads find nothing in it and the next write keeps it aside, whole,
// before it starts a new vault. The folder, the vault and its lock are refused when they are
// links, so nothing outside the program's own folder is read, written or narrowed.
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
    enum class VaultRead { Read, Refused, Damaged };
    [[nodiscard]] bool isLinked() const;
    [[nodiscard]] VaultRead readVault(QJsonObject *vault) const;
    [[nodiscard]] std::optional<QJsonObject> readableVault() const;
    [[nodiscard]] bool writeVault(const QJsonObject &vault) const;
    [[nodiscard]] bool changeVault(const std::function<bool(QJsonObject &)> &change) const;

    QString m_serviceName;
    QString m_vaultPath;
    TokenStoreFailure m_failure = TokenStoreFailure::None;
};

} // namespace LarkAccount
