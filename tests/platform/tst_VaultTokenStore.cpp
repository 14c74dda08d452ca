#include "platform/DataPaths.h"
#include "platform/VaultTokenStore.h"
#include "support/MemoryTokenStore.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

using LarkTest::readFile;
using LarkTest::writeFile;

using LarkAccount::TokenStore;
using LarkAccount::VaultTokenStore;

namespace {

const QString kService = QStringLiteral("com.larkspindle.calendar");

// A vault file in a temporary folder; every store made shares it.
class VaultFolder
{
public:
    std::unique_ptr<TokenStore> make(const QString &serviceName = kService)
    {
        return std::make_unique<VaultTokenStore>(serviceName, vaultPath());
    }
    QString vaultPath() const { return m_dir.filePath(QStringLiteral("secrets/vault.json")); }

private:
    QTemporaryDir m_dir;
};

QStringList s_messages;

void keepMessage(QtMsgType, const QMessageLogContext &, const QString &message)
{
    s_messages.append(message);
}

} // namespace

class TestVaultTokenStore : public QObject
{
    Q_OBJECT

private slots:
    void vaultHoldsUtf8UnderTargetNames();
    void fileAndFolderModes();
    void replaceIsAtomic();
    void damagedVaultIsLeftUntouched_data();
    void damagedVaultIsLeftUntouched();
    void refusedWriteLeavesEveryFileAsItWas_data();
    void refusedWriteLeavesEveryFileAsItWas();

    void createTokenStoreDefaultsToVault();
    void startWithoutTheKeyringItsSecretsMovedTo();
    void factoryOverride();
    void namedInstanceHasItsOwnEntries();
};

void TestVaultTokenStore::vaultHoldsUtf8UnderTargetNames()
{
    VaultFolder maker;
    const QString value = QStringLiteral("caf\u00e9 \u6771\u4eac");
    QVERIFY(maker.make()->set(QStringLiteral("caldav-password-7"), value));

    const QByteArray bytes = readFile(maker.vaultPath());
    QVERIFY(bytes.contains(value.toUtf8()));
    const QJsonObject entries
        = QJsonDocument::fromJson(bytes).object().value(QStringLiteral("credentials")).toObject();
    QCOMPARE(
        entries.keys(),
        QStringList {QStringLiteral("Larkspindle/com.larkspindle.calendar/caldav-password-7")});
}

void TestVaultTokenStore::fileAndFolderModes()
{
    VaultFolder maker;
    const QString folder = QFileInfo(maker.vaultPath()).absolutePath();
    // A folder left too open by something else is tightened on the next write.
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(QFile::setPermissions(folder, QFileDevice::Permissions(0x7775)));

    QVERIFY(maker.make()->set(QStringLiteral("k"), QStringLiteral("v")));
    const auto owner = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    const auto user = QFileDevice::ReadUser | QFileDevice::WriteUser;
    QCOMPARE(QFileInfo(maker.vaultPath()).permissions(), owner | user);
    QCOMPARE(QFileInfo(folder).permissions(),
             owner | user | QFileDevice::ExeOwner | QFileDevice::ExeUser);

    // Replacing the file keeps it private.
    QVERIFY(maker.make()->set(QStringLiteral("k2"), QStringLiteral("v2")));
    QCOMPARE(QFileInfo(maker.vaultPath()).permissions(), owner | user);
}

void TestVaultTokenStore::replaceIsAtomic()
{
    VaultFolder maker;
    auto store = maker.make();
    QVERIFY(store->set(QStringLiteral("a"), QStringLiteral("1")));
    const QByteArray before = readFile(maker.vaultPath());

    // A reader that opened the vault before a write keeps seeing the whole previous vault: the
    // new one arrives by rename, never by rewriting the file in place.
    QFile reader(maker.vaultPath());
    QVERIFY(reader.open(QIODevice::ReadOnly));
    QVERIFY(store->set(QStringLiteral("b"), QString(2000, QLatin1Char('z'))));
    QCOMPARE(reader.readAll(), before);

    QCOMPARE(store->get(QStringLiteral("a")), QStringLiteral("1"));
    const QStringList files = QFileInfo(maker.vaultPath())
                                  .dir()
                                  .entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    QCOMPARE(files, QStringList {QStringLiteral("vault.json")});
}

void TestVaultTokenStore::damagedVaultIsLeftUntouched_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("truncated JSON") << QByteArray(R"({"format":1,"credentials":{"Lark)");
    QTest::newRow("array") << QByteArray("[1,2]");
    QTest::newRow("no credentials object") << QByteArray(R"({"format":1,"credentials":[]})");
    QTest::newRow("binary garbage") << QByteArray("\x00\xff\xfe\x01", 4);
    QTest::newRow("empty file") << QByteArray();
}

void TestVaultTokenStore::damagedVaultIsLeftUntouched()
{
    QFETCH(QByteArray, content);
    VaultFolder maker;
    QVERIFY(writeFile(maker.vaultPath(), content));

    auto store = maker.make();
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("cannot be read")));
    QCOMPARE(store->get(QStringLiteral("k")), std::nullopt);
    // The next write keeps it aside, whole, and starts a new vault beside it.
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("kept aside as")));
    QVERIFY(store->set(QStringLiteral("k"), QStringLiteral("v")));
    QCOMPARE(store->get(QStringLiteral("k")), QStringLiteral("v"));
    const QDir folder = QFileInfo(maker.vaultPath()).dir();
    const QStringList aside = folder.entryList({QStringLiteral("vault.json.damaged-*")});
    QCOMPARE(aside.size(), 1);
    QCOMPARE(readFile(folder.filePath(aside.constFirst())), content);
}

void TestVaultTokenStore::refusedWriteLeavesEveryFileAsItWas_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("said");
    QTest::newRow("folder below a regular file") << QStringLiteral("below a file") << QString();
    QTest::newRow("disk full") << QStringLiteral("full") << QStringLiteral("cannot be written");
    QTest::newRow("vault is a link") << QStringLiteral("vault link") << QStringLiteral("link");
    QTest::newRow("folder is a link") << QStringLiteral("folder link") << QStringLiteral("link");
}

void TestVaultTokenStore::refusedWriteLeavesEveryFileAsItWas()
{
    QFETCH(QString, fault);
    QFETCH(QString, said);
    QTemporaryDir dir;
    const QString outside = dir.filePath(QStringLiteral("outside"));
    const QByteArray outsideVault = R"({"credentials":{"Larkspindle/)" + kService.toUtf8()
        + R"(/k":"not ours"},"unrelated":1})";
    QVERIFY(writeFile(outside + QStringLiteral("/vault.json"), outsideVault));
    QCOMPARE(::chmod(QFile::encodeName(outside).constData(), 0755), 0);
    QCOMPARE(::chmod(QFile::encodeName(outside + QStringLiteral("/vault.json")).constData(), 0644),
             0);
    QString vaultPath = dir.filePath(QStringLiteral("credentials/vault.json"));
    if (fault == QLatin1String("below a file")) {
        QVERIFY(writeFile(dir.filePath(QStringLiteral("plain")), "x"));
        vaultPath = dir.filePath(QStringLiteral("plain/vault.json"));
    } else if (fault == QLatin1String("vault link")) {
        QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("credentials"))));
        QVERIFY(QFile::link(outside + QStringLiteral("/vault.json"), vaultPath));
    } else if (fault == QLatin1String("folder link")) {
        QVERIFY(QFile::link(outside, dir.filePath(QStringLiteral("credentials"))));
    }
    VaultTokenStore store(kService, vaultPath);
    if (fault == QLatin1String("full"))
        QVERIFY(store.set(QStringLiteral("other"), QStringLiteral("kept")));
    const QByteArray before = readFile(vaultPath);

    // A full disk stands as a file size limit just above the present vault's.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved {};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit limit = saved;
    if (fault == QLatin1String("full"))
        limit.rlim_cur = rlim_t(before.size() + 16);
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &limit), 0);
    if (!said.isEmpty())
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(said));
    const bool stored = store.set(QStringLiteral("k"), QString(500, QLatin1Char('n')));
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &saved), 0);

    QVERIFY(!stored);
    QCOMPARE(readFile(vaultPath), before);
    if (fault == QLatin1String("full"))
        QCOMPARE(store.get(QStringLiteral("other")), QStringLiteral("kept"));
    else
        QCOMPARE(store.get(QStringLiteral("k")), std::nullopt);
    // Nothing outside the program's own folders is written or has its mode changed.
    QCOMPARE(readFile(outside + QStringLiteral("/vault.json")), outsideVault);
    QCOMPARE(LarkTest::fileMode(outside + QStringLiteral("/vault.json")), 0644);
    QCOMPARE(LarkTest::fileMode(outside), 0755);
}

void TestVaultTokenStore::createTokenStoreDefaultsToVault()
{
    // No session bus here: the run falls back to the vault, chosen once and said once.
    s_messages.clear();
    const QtMessageHandler previous = qInstallMessageHandler(keepMessage);
    auto store = LarkAccount::createTokenStore(kService);
    auto again = LarkAccount::createTokenStore(kService + QStringLiteral(".other"));
    qInstallMessageHandler(previous);
    QCOMPARE(s_messages.size(), 1);
    QVERIFY2(s_messages.constFirst().contains(QLatin1String("no desktop keyring")),
             qPrintable(s_messages.constFirst()));

    auto *vault = dynamic_cast<VaultTokenStore *>(store.get());
    QVERIFY(vault);
    QVERIFY(dynamic_cast<VaultTokenStore *>(again.get()));
    QCOMPARE(vault->serviceName(), kService);
    QCOMPARE(vault->vaultPath(),
             qEnvironmentVariable("XDG_CONFIG_HOME")
                 + QStringLiteral("/Larkspindle/credentials/vault.json"));
}

void TestVaultTokenStore::startWithoutTheKeyringItsSecretsMovedTo()
{
    // Left by an earlier run that moved this service's secrets into the keyring; one entry could
    // not move.
    VaultFolder maker;
    const QString moved = QStringLiteral("com.larkspindle.calendar.moved");
    QVERIFY(writeFile(maker.vaultPath(),
                      QStringLiteral(R"({"format":1,"keyring":["%1"],"credentials":{)"
                                     R"("Larkspindle/%1/caldav-password-2":"stayed"}})")
                          .arg(moved)
                          .toUtf8()));
    auto store = maker.make(moved);
    QCOMPARE(store->get(QStringLiteral("caldav-password-2")), QStringLiteral("stayed"));
    QCOMPARE(store->lastFailure(), LarkAccount::TokenStoreFailure::None);
    QCOMPARE(store->get(QStringLiteral("larkspindle_refresh_token")), std::nullopt);
    QCOMPARE(store->lastFailure(), LarkAccount::TokenStoreFailure::KeyringUnavailable);

    // Writing here keeps the note, so the keyring's copies are still accounted for.
    QVERIFY(store->set(QStringLiteral("larkspindle_refresh_token"), QStringLiteral("new")));
    QVERIFY(VaultTokenStore(moved, maker.vaultPath()).keptInKeyring());
    auto other = maker.make();
    QCOMPARE(other->get(QStringLiteral("larkspindle_refresh_token")), std::nullopt);
    QCOMPARE(other->lastFailure(), LarkAccount::TokenStoreFailure::None);
}

void TestVaultTokenStore::factoryOverride()
{
    {
        LarkTest::ScopedMemoryTokenStore memory;
        QVERIFY(
            LarkAccount::createTokenStore(kService)->set(QStringLiteral("k"), QStringLiteral("v")));
        QCOMPARE(memory.value(kService, QStringLiteral("k")), QStringLiteral("v"));
        QVERIFY(!dynamic_cast<VaultTokenStore *>(LarkAccount::createTokenStore(kService).get()));

        memory.credentials().refuseWrites = true;
        QVERIFY(!LarkAccount::createTokenStore(kService)->set(QStringLiteral("k"),
                                                              QStringLiteral("w")));
        QCOMPARE(memory.value(kService, QStringLiteral("k")), QStringLiteral("v"));
    }
    // The override ends with its scope; a factory that gives nothing still yields a store.
    QVERIFY(dynamic_cast<VaultTokenStore *>(LarkAccount::createTokenStore(kService).get()));
    LarkAccount::setTokenStoreFactory([](const QString &) { return nullptr; });
    QVERIFY(dynamic_cast<VaultTokenStore *>(LarkAccount::createTokenStore(kService).get()));
    LarkAccount::setTokenStoreFactory({});
}

void TestVaultTokenStore::namedInstanceHasItsOwnEntries()
{
    const QByteArray saved = qgetenv("CALENDAR_INSTANCE");
    qunsetenv("CALENDAR_INSTANCE");
    QVERIFY(LarkAccount::createTokenStore(applicationIdentifier())
                ->set(QStringLiteral("caldav-password-x"), QStringLiteral("default")));
    qputenv("CALENDAR_INSTANCE", "work");
    auto named = LarkAccount::createTokenStore(applicationIdentifier());
    const std::optional<QString> seen = named->get(QStringLiteral("caldav-password-x"));
    QVERIFY(named->set(QStringLiteral("caldav-password-x"), QStringLiteral("work")));
    qunsetenv("CALENDAR_INSTANCE");
    const std::optional<QString> defaultValue
        = LarkAccount::createTokenStore(applicationIdentifier())
              ->get(QStringLiteral("caldav-password-x"));
    qputenv("CALENDAR_INSTANCE", saved);

    QCOMPARE(seen, std::nullopt);
    QCOMPARE(defaultValue, QStringLiteral("default"));
}

QTEST_GUILESS_MAIN(TestVaultTokenStore)
#include "tst_VaultTokenStore.moc"
