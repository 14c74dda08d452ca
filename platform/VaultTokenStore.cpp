#include "platform/VaultTokenStore.h"

#include "platform/Credentials.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>

namespace LarkAccount {

namespace {

const auto kEntriesKey = QStringLiteral("credentials");
// Service names whose secrets live in the desktop keyring.
const auto kKeyringKey = QStringLiteral("keyring");
constexpr int kFormatVersion = 1;
// Another instance may be writing the vault at the same moment; wait a little for it.
constexpr int kLockWaitMs = 3000;

constexpr QFileDevice::Permissions kFolderPermissions
    = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
constexpr QFileDevice::Permissions kFilePermissions
    = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

bool ensurePrivateFolder(const QString &folder)
{
    if (!QDir().mkpath(folder))
        return false;
    return QFile::setPermissions(folder, kFolderPermissions);
}

// Runs one read-modify-write of the vault under a lock file, so that two instances of the
// program never lose each other's entries.
template<typename Change> bool changeVault(const QString &vaultPath, Change change)
{
    const QString folder = QFileInfo(vaultPath).absolutePath();
    if (!ensurePrivateFolder(folder))
        return false;
    QLockFile lock(vaultPath + QStringLiteral(".lock"));
    lock.setStaleLockTime(30000);
    if (!lock.tryLock(kLockWaitMs))
        return false;
    return change();
}

} // namespace

VaultTokenStore::VaultTokenStore(QString serviceName, QString vaultPath)
    : m_serviceName(std::move(serviceName))
    , m_vaultPath(std::move(vaultPath))
{ }

QString VaultTokenStore::defaultVaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/Larkspindle/credentials/vault.json");
}

std::optional<QString> VaultTokenStore::get(const QString &key)
{
    m_failure = TokenStoreFailure::None;
    const std::optional<QJsonObject> vault = readVault();
    if (!vault)
        return std::nullopt;
    const QJsonValue value
        = vault->value(kEntriesKey).toObject().value(credentialTargetName(m_serviceName, key));
    if (value.isString())
        return value.toString();
    if (vault->value(kKeyringKey).toArray().contains(m_serviceName))
        m_failure = TokenStoreFailure::KeyringUnavailable;
    return std::nullopt;
}

bool VaultTokenStore::set(const QString &key, const QString &value)
{
    m_failure = TokenStoreFailure::None;
    if (!credentialValueFits(value))
        return false;
    return changeVault(m_vaultPath, [&] {
        std::optional<QJsonObject> vault = readVault();
        if (!vault)
            return false;
        QJsonObject entries = vault->value(kEntriesKey).toObject();
        entries.insert(credentialTargetName(m_serviceName, key), value);
        vault->insert(kEntriesKey, entries);
        return writeVault(*vault);
    });
}

bool VaultTokenStore::remove(const QString &key)
{
    m_failure = TokenStoreFailure::None;
    return changeVault(m_vaultPath, [&] {
        std::optional<QJsonObject> vault = readVault();
        const QString target = credentialTargetName(m_serviceName, key);
        if (!vault)
            return false;
        QJsonObject entries = vault->value(kEntriesKey).toObject();
        if (!entries.contains(target))
            return false;
        entries.remove(target);
        vault->insert(kEntriesKey, entries);
        return writeVault(*vault);
    });
}

QStringList VaultTokenStore::keys() const
{
    const std::optional<QJsonObject> vault = readVault();
    if (!vault)
        return {};
    // Keys never hold a "/", so a longer service name that starts with ours is not ours.
    const QString prefix = credentialTargetName(m_serviceName, QString());
    QStringList keys;
    for (const QString &target : vault->value(kEntriesKey).toObject().keys()) {
        const QString key = target.mid(prefix.size());
        if (target.startsWith(prefix) && !key.isEmpty() && !key.contains(QLatin1Char('/')))
            keys.append(key);
    }
    return keys;
}

bool VaultTokenStore::keptInKeyring() const
{
    const std::optional<QJsonObject> vault = readVault();
    return vault && vault->value(kKeyringKey).toArray().contains(m_serviceName);
}

bool VaultTokenStore::markKeptInKeyring()
{
    return changeVault(m_vaultPath, [&] {
        std::optional<QJsonObject> vault = readVault();
        if (!vault)
            return false;
        QJsonArray services = vault->value(kKeyringKey).toArray();
        if (services.contains(m_serviceName))
            return true;
        services.append(m_serviceName);
        vault->insert(kKeyringKey, services);
        return writeVault(*vault);
    });
}

// No vault yet (or an empty file) reads as an empty one; a vault that cannot be read or parsed
// gives no value, which keeps every write away from the secrets it may still hold.
std::optional<QJsonObject> VaultTokenStore::readVault() const
{
    const QJsonObject empty {{kEntriesKey, QJsonObject()}};
    QFile file(m_vaultPath);
    if (!file.exists())
        return empty;
    if (!file.open(QIODevice::ReadOnly)) {
        qWarning("[TokenStore] credential vault %s cannot be opened: %s",
                 qUtf8Printable(m_vaultPath), qUtf8Printable(file.errorString()));
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    if (bytes.isEmpty())
        return empty;
    QJsonParseError error {};
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject()
        || !doc.object().value(kEntriesKey).isObject()) {
        qWarning("[TokenStore] credential vault %s is damaged and is left untouched",
                 qUtf8Printable(m_vaultPath));
        return std::nullopt;
    }
    return doc.object();
}

bool VaultTokenStore::writeVault(const QJsonObject &vault) const
{
    QJsonObject root = vault;
    root.insert(QStringLiteral("format"), kFormatVersion);

    QSaveFile file(m_vaultPath);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // Restrict the temporary file before any secret is in it; the rename keeps the mode.
    if (!file.setPermissions(kFilePermissions)) {
        file.cancelWriting();
        return false;
    }
    const QByteArray bytes = QJsonDocument(root).toJson(QJsonDocument::Indented);
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace LarkAccount
