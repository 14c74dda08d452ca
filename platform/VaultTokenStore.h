#pragma once

#include "platform/TokenStore.h"

#include <QJsonObject>

namespace LarkAccount {

// Credential store kept in a per-user vault file: one JSON object of target names to UTF-8
// values, readable by the owner only (file 0600, folder 0700) and always replaced whole through
// an atomic rename, so a crash mid-write leaves the previous vault intact. A vault that cannot be
// read is never overwritten: writes fail instead of dropping the secrets it holds.
class VaultTokenStore : public TokenStore
{
public:
    explicit VaultTokenStore(QString serviceName, QString vaultPath = defaultVaultPath());

    std::optional<QString> get(const QString &key) override;
    bool set(const QString &key, const QString &value) override;
    bool remove(const QString &key) override;

    QString serviceName() const { return m_serviceName; }
    QString vaultPath() const { return m_vaultPath; }

    // <user configuration folder>/Larkspindle/credentials/vault.json
    static QString defaultVaultPath();

private:
    std::optional<QJsonObject> readEntries() const;
    bool writeEntries(const QJsonObject &entries) const;

    QString m_serviceName;
    QString m_vaultPath;
};

} // namespace LarkAccount
