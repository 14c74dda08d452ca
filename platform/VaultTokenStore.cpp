#include "platform/VaultTokenStore.h"

#include "platform/Credentials.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>

namespace LarkAccount {

namespace {

const auto kEntriesKey = QStringLiteral("credentials");
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
    const std::optional<QJsonObject> entries = readEntries();
    if (!entries)
        return std::nullopt;
    const QJsonValue value = entries->value(credentialTargetName(m_serviceName, key));
    if (!value.isString())
        return std::nullopt;
    return value.toString();
}

bool VaultTokenStore::set(const QString &key, const QString &value)
{
    if (!credentialValueFits(value))
        return false;
    return changeVault(m_vaultPath, [&] {
        std::optional<QJsonObject> entries = readEntries();
        if (!entries)
            return false;
        entries->insert(credentialTargetName(m_serviceName, key), value);
        return writeEntries(*entries);
    });
}

bool VaultTokenStore::remove(const QString &key)
{
    return changeVault(m_vaultPath, [&] {
        std::optional<QJsonObject> entries = readEntries();
        const QString target = credentialTargetName(m_serviceName, key);
        if (!entries || !entries->contains(target))
            return false;
        entries->remove(target);
        return writeEntries(*entries);
    });
}

// No vault yet (or an empty file) reads as an empty one; a vault that cannot be read or parsed
// gives no value, which keeps every write away from the secrets it may still hold.
std::optional<QJsonObject> VaultTokenStore::readEntries() const
{
    QFile file(m_vaultPath);
    if (!file.exists())
        return QJsonObject();
    if (!file.open(QIODevice::ReadOnly)) {
        qWarning("[TokenStore] credential vault %s cannot be opened: %s",
                 qUtf8Printable(m_vaultPath), qUtf8Printable(file.errorString()));
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    if (bytes.isEmpty())
        return QJsonObject();
    QJsonParseError error {};
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject()
        || !doc.object().value(kEntriesKey).isObject()) {
        qWarning("[TokenStore] credential vault %s is damaged and is left untouched",
                 qUtf8Printable(m_vaultPath));
        return std::nullopt;
    }
    return doc.object().value(kEntriesKey).toObject();
}

bool VaultTokenStore::writeEntries(const QJsonObject &entries) const
{
    QJsonObject root;
    root.insert(QStringLiteral("format"), kFormatVersion);
    root.insert(kEntriesKey, entries);

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
