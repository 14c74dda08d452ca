#include "platform/VaultTokenStore.h"

#include "platform/Credentials.h"
#include "platform/DataPaths.h"
#include "platform/FileAccess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLockFile>
#include <QStandardPaths>

namespace LarkAccount {

namespace {

const auto kEntriesKey = QStringLiteral("credentials");
// Service names whose secrets live in the desktop keyring.
const auto kKeyringKey = QStringLiteral("keyring");
constexpr int kFormatVersion = 1;
// Another instance may be writing the vault at the same moment; wait a little for it.
constexpr int kLockWaitMs = 3000;

QJsonObject emptyVault()
{
    return {{kEntriesKey, QJsonObject()}};
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
    const std::optional<QJsonObject> vault = readableVault();
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
    return changeVault([&](QJsonObject &vault) {
        QJsonObject entries = vault.value(kEntriesKey).toObject();
        entries.insert(credentialTargetName(m_serviceName, key), value);
        vault.insert(kEntriesKey, entries);
        return true;
    });
}

bool VaultTokenStore::remove(const QString &key)
{
    m_failure = TokenStoreFailure::None;
    return changeVault([&](QJsonObject &vault) {
        const QString target = credentialTargetName(m_serviceName, key);
        QJsonObject entries = vault.value(kEntriesKey).toObject();
        if (!entries.contains(target))
            return false;
        entries.remove(target);
        vault.insert(kEntriesKey, entries);
        return true;
    });
}

QStringList VaultTokenStore::keys() const
{
    const std::optional<QJsonObject> vault = readableVault();
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
    const std::optional<QJsonObject> vault = readableVault();
    return vault && vault->value(kKeyringKey).toArray().contains(m_serviceName);
}

bool VaultTokenStore::markKeptInKeyring()
{
    if (keptInKeyring())
        return true;
    return changeVault([&](QJsonObject &vault) {
        QJsonArray services = vault.value(kKeyringKey).toArray();
        if (!services.contains(m_serviceName))
            services.append(m_serviceName);
        vault.insert(kKeyringKey, services);
        return true;
    });
}

// The folder, the vault and its lock are the program's own: a link in their place could lead
// reads and writes anywhere the user may write. Said when one is.
bool VaultTokenStore::isLinked() const
{
    const QString link = firstLink({QFileInfo(m_vaultPath).absolutePath(), m_vaultPath,
                                    m_vaultPath + QStringLiteral(".lock")});
    if (link.isEmpty())
        return false;
    qWarning("[TokenStore] %s is a link; the credential vault is neither read nor written "
             "through it",
             qUtf8Printable(link));
    return true;
}

// No vault yet reads as an empty one. One that cannot be opened is refused; one that was read
// but holds no vault (empty, cut short, other JSON) is damaged: it may still be the only copy
// of secrets, so it is never taken for an empty vault.
VaultTokenStore::VaultRead VaultTokenStore::readVault(QJsonObject *vault) const
{
    if (isLinked())
        return VaultRead::Refused;
    if (!QFileInfo::exists(m_vaultPath)) {
        *vault = emptyVault();
        return VaultRead::Read;
    }
    QFile file;
    qint64 size = 0;
    QString error;
    const RegularFileOpen opened
        = openRegularFile(file, m_vaultPath, &size, &error, FileLinks::Refuse);
    const QByteArray bytes = opened == RegularFileOpen::Opened ? file.readAll() : QByteArray();
    if (opened == RegularFileOpen::NotRegular)
        error = QStringLiteral("not a file");
    else if (opened == RegularFileOpen::Opened && file.error() != QFileDevice::NoError)
        error = file.errorString();
    if (!error.isEmpty()) {
        qWarning("[TokenStore] credential vault %s cannot be opened: %s",
                 qUtf8Printable(m_vaultPath), qUtf8Printable(error));
        return VaultRead::Refused;
    }
    QJsonParseError parsed {};
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &parsed);
    if (parsed.error != QJsonParseError::NoError || !doc.isObject()
        || !doc.object().value(kEntriesKey).isObject()) {
        qWarning("[TokenStore] credential vault %s cannot be read (%s); the next write keeps it "
                 "aside",
                 qUtf8Printable(m_vaultPath), bytes.isEmpty() ? "empty" : "damaged");
        return VaultRead::Damaged;
    }
    *vault = doc.object();
    return VaultRead::Read;
}

std::optional<QJsonObject> VaultTokenStore::readableVault() const
{
    QJsonObject vault;
    if (readVault(&vault) != VaultRead::Read)
        return std::nullopt;
    return vault;
}

bool VaultTokenStore::writeVault(const QJsonObject &vault) const
{
    QJsonObject root = vault;
    root.insert(QStringLiteral("format"), kFormatVersion);
    QString error;
    if (replaceFileWhole(m_vaultPath, QJsonDocument(root).toJson(QJsonDocument::Indented), &error))
        return true;
    qWarning("[TokenStore] credential vault %s cannot be written (%s); it stays as it was",
             qUtf8Printable(m_vaultPath), qUtf8Printable(error));
    return false;
}

// One read-modify-write of the vault under a lock file, so that two instances of the program
// never lose each other's entries. change edits the vault, or says there is nothing to write.
bool VaultTokenStore::changeVault(const std::function<bool(QJsonObject &)> &change) const
{
    // Before the folder is made or narrowed: a link in its place is not ours to change.
    if (isLinked())
        return false;
    const QString folder = QFileInfo(m_vaultPath).absolutePath();
    QString problem;
    if (!makePrivateDirectory(folder, &problem)) {
        qWarning("[TokenStore] the credential folder %s cannot be used: %s", qUtf8Printable(folder),
                 qUtf8Printable(problem));
        return false;
    }
    QLockFile lock(m_vaultPath + QStringLiteral(".lock"));
    lock.setStaleLockTime(30000);
    if (!lock.tryLock(kLockWaitMs)) {
        qWarning("[TokenStore] credential vault %s cannot be locked (%s)",
                 qUtf8Printable(m_vaultPath),
                 lock.error() == QLockFile::LockFailedError ? "another program holds it"
                                                            : "its lock file cannot be made");
        return false;
    }
    QJsonObject vault;
    switch (readVault(&vault)) {
    case VaultRead::Read:
        break;
    case VaultRead::Refused:
        return false;
    case VaultRead::Damaged: {
        const QString aside = keepFileAside(m_vaultPath, &problem);
        if (aside.isEmpty()) {
            qWarning("[TokenStore] credential vault %s cannot be kept aside: %s",
                     qUtf8Printable(m_vaultPath), qUtf8Printable(problem));
            return false;
        }
        qWarning("[TokenStore] the unreadable credential vault is kept aside as %s",
                 qUtf8Printable(aside));
        vault = emptyVault();
        break;
    }
    }
    return change(vault) && writeVault(vault);
}

} // namespace LarkAccount
