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

using LarkTest::readFile;
using LarkTest::writeFile;

using LarkAccount::TokenStore;
using LarkAccount::VaultTokenStore;

namespace {

const QString kService = QStringLiteral("com.larkspindle.calendar");

// Makes stores of one kind that share their entries: a vault file in a temporary folder, or
// one set of in-memory entries.
class StoreMaker
{
public:
    explicit StoreMaker(const QString &kind)
        : m_kind(kind)
    { }
    std::unique_ptr<TokenStore> make(const QString &serviceName = kService)
    {
        if (m_kind == QLatin1String("memory"))
            return std::make_unique<LarkTest::MemoryTokenStore>(serviceName, m_memory);
        return std::make_unique<VaultTokenStore>(serviceName, vaultPath());
    }
    QString vaultPath() const { return m_dir.filePath(QStringLiteral("secrets/vault.json")); }

private:
    QString m_kind;
    QTemporaryDir m_dir;
    std::shared_ptr<LarkTest::MemoryCredentials> m_memory
        = std::make_shared<LarkTest::MemoryCredentials>();
};

} // namespace

class TestVaultTokenStore : public QObject
{
    Q_OBJECT

private slots:
    void storeKinds_data();

    void missingAndEmptyValues_data() { storeKinds_data(); }
    void missingAndEmptyValues();
    void nonAsciiRoundTrip_data() { storeKinds_data(); }
    void nonAsciiRoundTrip();
    void replaceAndRemove_data() { storeKinds_data(); }
    void replaceAndRemove();
    void servicesAreIsolated_data() { storeKinds_data(); }
    void servicesAreIsolated();
    void clearRemovesOnlyCloudTokens_data() { storeKinds_data(); }
    void clearRemovesOnlyCloudTokens();
    void valueSizeLimit_data();
    void valueSizeLimit();

    void vaultHoldsUtf8UnderTargetNames();
    void fileAndFolderModes();
    void replaceIsAtomic();
    void damagedVaultIsLeftUntouched_data();
    void damagedVaultIsLeftUntouched();
    void unwritableVaultFails();
    void emptyVaultFileIsAnEmptyVault();

    void createTokenStoreDefaultsToVault();
    void factoryOverride();
    void namedInstanceHasItsOwnEntries();
};

void TestVaultTokenStore::storeKinds_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("vault") << QStringLiteral("vault");
    QTest::newRow("memory") << QStringLiteral("memory");
}

void TestVaultTokenStore::missingAndEmptyValues()
{
    QFETCH(QString, kind);
    StoreMaker maker(kind);
    auto store = maker.make();
    QCOMPARE(store->get(QStringLiteral("caldav-password-1")), std::nullopt);

    QVERIFY(store->set(QStringLiteral("caldav-password-1"), QString()));
    const std::optional<QString> value = maker.make()->get(QStringLiteral("caldav-password-1"));
    QVERIFY(value.has_value());
    QCOMPARE(*value, QString());
}

void TestVaultTokenStore::nonAsciiRoundTrip()
{
    QFETCH(QString, kind);
    StoreMaker maker(kind);
    const QString value = QStringLiteral("pässwörd \u65e5\u672c\u8a9e \U0001F511 \"q\"\\\n\t");
    QVERIFY(maker.make()->set(QStringLiteral("caldav-password-\u00e9"), value));
    QCOMPARE(maker.make()->get(QStringLiteral("caldav-password-\u00e9")), value);
}

void TestVaultTokenStore::replaceAndRemove()
{
    QFETCH(QString, kind);
    StoreMaker maker(kind);
    auto store = maker.make();
    QVERIFY(store->set(QStringLiteral("k"), QStringLiteral("first")));
    QVERIFY(maker.make()->set(QStringLiteral("k"), QStringLiteral("second")));
    QCOMPARE(store->get(QStringLiteral("k")), QStringLiteral("second"));

    QVERIFY(store->remove(QStringLiteral("k")));
    QCOMPARE(store->get(QStringLiteral("k")), std::nullopt);
    QVERIFY(!store->remove(QStringLiteral("k")));
    QVERIFY(!store->remove(QStringLiteral("never-set")));
}

void TestVaultTokenStore::servicesAreIsolated()
{
    QFETCH(QString, kind);
    StoreMaker maker(kind);
    auto plain = maker.make(kService);
    auto dev = maker.make(kService + QStringLiteral(".dev"));
    QVERIFY(plain->set(QStringLiteral("larkspindle_access_token"), QStringLiteral("plain")));
    QCOMPARE(dev->get(QStringLiteral("larkspindle_access_token")), std::nullopt);
    QVERIFY(dev->set(QStringLiteral("larkspindle_access_token"), QStringLiteral("dev")));
    QCOMPARE(plain->get(QStringLiteral("larkspindle_access_token")), QStringLiteral("plain"));

    dev->clear();
    QCOMPARE(dev->get(QStringLiteral("larkspindle_access_token")), std::nullopt);
    QCOMPARE(plain->get(QStringLiteral("larkspindle_access_token")), QStringLiteral("plain"));
}

void TestVaultTokenStore::clearRemovesOnlyCloudTokens()
{
    QFETCH(QString, kind);
    StoreMaker maker(kind);
    auto store = maker.make();
    store->clear(); // nothing stored yet: nothing happens
    const QStringList kept
        = {QStringLiteral("caldav-password-a1"), QStringLiteral("google-tokens-a2"),
           QStringLiteral("microsoft-tokens-a3"), QStringLiteral("other")};
    for (const QString &key : kept)
        QVERIFY(store->set(key, key + QStringLiteral("-secret")));
    QVERIFY(store->set(QStringLiteral("larkspindle_access_token"), QStringLiteral("a")));
    QVERIFY(store->set(QStringLiteral("larkspindle_refresh_token"), QStringLiteral("r")));

    maker.make()->clear();

    QCOMPARE(store->get(QStringLiteral("larkspindle_access_token")), std::nullopt);
    QCOMPARE(store->get(QStringLiteral("larkspindle_refresh_token")), std::nullopt);
    for (const QString &key : kept)
        QCOMPARE(store->get(key), key + QStringLiteral("-secret"));
}

void TestVaultTokenStore::valueSizeLimit_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("accepted");
    const QString ascii2560(2560, QLatin1Char('x'));
    const QString twoByte1280(1280, QChar(0x00e9)); // 2,560 UTF-8 bytes
    const QString cjk853 = QString(853, QChar(0x65e5)) + QLatin1Char('x'); // 2,560 bytes
    const QString cjk854(854, QChar(0x65e5)); // 2,562 bytes although only 854 characters
    for (const char *kind : {"vault", "memory"}) {
        const QString k = QString::fromLatin1(kind);
        QTest::addRow("%s: 2560 ASCII bytes", kind) << k << ascii2560 << true;
        QTest::addRow("%s: 2561 ASCII bytes", kind) << k << ascii2560 + QLatin1Char('x') << false;
        QTest::addRow("%s: 2560 bytes of 2-byte letters", kind) << k << twoByte1280 << true;
        QTest::addRow("%s: 2562 bytes of 2-byte letters", kind)
            << k << twoByte1280 + QChar(0x00e9) << false;
        QTest::addRow("%s: 2560 bytes of CJK", kind) << k << cjk853 << true;
        QTest::addRow("%s: 854 CJK characters", kind) << k << cjk854 << false;
    }
}

void TestVaultTokenStore::valueSizeLimit()
{
    QFETCH(QString, kind);
    QFETCH(QString, value);
    QFETCH(bool, accepted);
    StoreMaker maker(kind);
    auto store = maker.make();
    QVERIFY(store->set(QStringLiteral("google-tokens-1"), QStringLiteral("previous")));
    QCOMPARE(store->set(QStringLiteral("google-tokens-1"), value), accepted);
    // A refused value is not cut short: the previous entry stays as it was.
    QCOMPARE(store->get(QStringLiteral("google-tokens-1")),
             accepted ? value : QStringLiteral("previous"));
}

void TestVaultTokenStore::vaultHoldsUtf8UnderTargetNames()
{
    StoreMaker maker(QStringLiteral("vault"));
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
    StoreMaker maker(QStringLiteral("vault"));
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
    StoreMaker maker(QStringLiteral("vault"));
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
}

void TestVaultTokenStore::damagedVaultIsLeftUntouched()
{
    QFETCH(QByteArray, content);
    StoreMaker maker(QStringLiteral("vault"));
    QVERIFY(writeFile(maker.vaultPath(), content));

    auto store = maker.make();
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("damaged")));
    QCOMPARE(store->get(QStringLiteral("k")), std::nullopt);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("damaged")));
    QVERIFY(!store->set(QStringLiteral("k"), QStringLiteral("v")));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("damaged")));
    QVERIFY(!store->remove(QStringLiteral("k")));
    QCOMPARE(readFile(maker.vaultPath()), content);
}

void TestVaultTokenStore::unwritableVaultFails()
{
    QTemporaryDir dir;
    const QString blocker = dir.filePath(QStringLiteral("plain-file"));
    QVERIFY(writeFile(blocker, "x"));
    VaultTokenStore store(kService, blocker + QStringLiteral("/vault.json"));
    QVERIFY(!store.set(QStringLiteral("k"), QStringLiteral("v")));
    QCOMPARE(store.get(QStringLiteral("k")), std::nullopt);
}

void TestVaultTokenStore::emptyVaultFileIsAnEmptyVault()
{
    StoreMaker maker(QStringLiteral("vault"));
    QVERIFY(writeFile(maker.vaultPath(), QByteArray()));
    QCOMPARE(maker.make()->get(QStringLiteral("k")), std::nullopt);
    QVERIFY(maker.make()->set(QStringLiteral("k"), QStringLiteral("v")));
    QCOMPARE(maker.make()->get(QStringLiteral("k")), QStringLiteral("v"));
}

void TestVaultTokenStore::createTokenStoreDefaultsToVault()
{
    auto store = LarkAccount::createTokenStore(kService);
    QVERIFY(store);
    auto *vault = dynamic_cast<VaultTokenStore *>(store.get());
    QVERIFY(vault);
    QCOMPARE(vault->serviceName(), kService);
    QCOMPARE(vault->vaultPath(),
             qEnvironmentVariable("XDG_CONFIG_HOME")
                 + QStringLiteral("/Larkspindle/credentials/vault.json"));
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
