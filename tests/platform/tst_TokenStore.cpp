#include "platform/SecretServiceTokenStore.h"
#include "platform/VaultTokenStore.h"
#include "support/MemoryTokenStore.h"
#include "support/TestFiles.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <signal.h>
#include <sys/prctl.h>

using LarkAccount::SecretServiceTokenStore;
using LarkAccount::TokenStore;
using LarkAccount::TokenStoreFailure;
using LarkAccount::VaultTokenStore;

namespace {

const QString kService = QStringLiteral("com.larkspindle.calendar");
const QString kPassword = QStringLiteral("keyring password");

// Helper daemons end with the test, however it ends.
void startDaemon(QProcess &process, const QString &program, const QStringList &arguments)
{
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    process.start(program, arguments);
}

// Calls the keyring on the private bus, as the desktop's own tools would.
QByteArray callKeyring(const QString &method, const QString &argument)
{
    QProcess call;
    call.start(QStringLiteral("dbus-send"),
               {QStringLiteral("--session"), QStringLiteral("--print-reply"),
                QStringLiteral("--dest=org.freedesktop.secrets"),
                QStringLiteral("/org/freedesktop/secrets"),
                QStringLiteral("org.freedesktop.Secret.Service.") + method, argument});
    if (!call.waitForFinished(5000) || call.exitCode() != 0)
        return {};
    return call.readAllStandardOutput();
}

// Makes stores of one kind that share their entries. The keyring outlives each test, so every
// maker gives its service names a suffix of its own.
class StoreMaker
{
public:
    explicit StoreMaker(const QString &kind)
        : m_kind(kind)
        , m_suffix(QStringLiteral(".t%1").arg(++s_count))
    { }
    std::unique_ptr<TokenStore> make(const QString &serviceName = kService)
    {
        const QString service = serviceName + m_suffix;
        if (m_kind == QLatin1String("memory"))
            return std::make_unique<LarkTest::MemoryTokenStore>(service, m_memory);
        if (m_kind == QLatin1String("keyring"))
            return std::make_unique<SecretServiceTokenStore>(service);
        return std::make_unique<VaultTokenStore>(service, vaultPath());
    }
    QString vaultPath() const { return m_dir.filePath(QStringLiteral("secrets/vault.json")); }

private:
    static inline int s_count = 0;
    QString m_kind;
    QString m_suffix;
    QTemporaryDir m_dir;
    std::shared_ptr<LarkTest::MemoryCredentials> m_memory
        = std::make_shared<LarkTest::MemoryCredentials>();
};

// A store that fails one step for one key, around a real one.
class FailingStore : public TokenStore
{
public:
    FailingStore(TokenStore &inner, const QString &step, const QString &key)
        : m_inner(inner)
        , m_step(step)
        , m_key(key)
    { }
    std::optional<QString> get(const QString &key) override
    {
        std::optional<QString> value = m_inner.get(key);
        if (value && fails(QStringLiteral("read back"), key))
            value->append(QLatin1Char('~'));
        return value;
    }
    bool set(const QString &key, const QString &value) override
    {
        return !fails(QStringLiteral("write"), key) && m_inner.set(key, value);
    }
    bool remove(const QString &key) override
    {
        return !fails(QStringLiteral("remove"), key) && m_inner.remove(key);
    }

private:
    bool fails(const QString &step, const QString &key) const
    {
        return step == m_step && key == m_key;
    }
    TokenStore &m_inner;
    QString m_step;
    QString m_key;
};

} // namespace

// Runs against a real keyring daemon on a private session bus of its own, unlocked with a
// password it was given, and never near the user's own.
class TestTokenStore : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

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

    void moveIntoKeyring_data();
    void moveIntoKeyring();
    void firstStoreOfTheRunMovesTheVault();
    // Locks the keyring for good: keep it last.
    void lockedKeyringIsAReadableFailure();

private:
    QString keyringLog() const { return m_busDir.filePath(QStringLiteral("keyring.log")); }

    QTemporaryDir m_busDir;
    QProcess m_bus;
    QProcess m_keyring;
};

void TestTokenStore::initTestCase()
{
    // A bus that starts nothing on demand: no second keyring, no password prompt.
    const QString config = m_busDir.filePath(QStringLiteral("bus.conf"));
    QFile file(config);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QStringLiteral("<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus "
                              "Configuration 1.0//EN\" "
                              "\"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">"
                              "<busconfig><type>session</type><listen>unix:dir=%1</listen>"
                              "<auth>EXTERNAL</auth><policy context=\"default\">"
                              "<allow send_destination=\"*\" eavesdrop=\"true\"/>"
                              "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>")
                   .arg(m_busDir.path())
                   .toUtf8());
    file.close();
    startDaemon(m_bus, QStringLiteral("dbus-daemon"),
                {QStringLiteral("--config-file=") + config, QStringLiteral("--nofork"),
                 QStringLiteral("--print-address=1")});
    QVERIFY2(m_bus.waitForStarted(5000), "dbus-daemon is missing: run scripts/setup");
    QTRY_VERIFY_WITH_TIMEOUT(m_bus.canReadLine(), 5000);
    qputenv("DBUS_SESSION_BUS_ADDRESS", m_bus.readLine().trimmed());

    m_keyring.setStandardErrorFile(keyringLog());
    startDaemon(m_keyring, QStringLiteral("gnome-keyring-daemon"),
                {QStringLiteral("--foreground"), QStringLiteral("--unlock"),
                 QStringLiteral("--components=secrets")});
    QVERIFY2(m_keyring.waitForStarted(5000), "gnome-keyring-daemon is missing: run scripts/setup");
    m_keyring.write(kPassword.toUtf8());
    m_keyring.closeWriteChannel();
    QTRY_VERIFY_WITH_TIMEOUT(SecretServiceTokenStore::connect(), 10000);
}

void TestTokenStore::cleanupTestCase()
{
    for (QProcess *daemon : {&m_keyring, &m_bus}) {
        daemon->terminate();
        if (!daemon->waitForFinished(5000))
            daemon->kill();
    }
}

void TestTokenStore::storeKinds_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("keyring") << QStringLiteral("keyring");
    QTest::newRow("vault") << QStringLiteral("vault");
    QTest::newRow("memory") << QStringLiteral("memory");
}

void TestTokenStore::missingAndEmptyValues()
{
    QFETCH(QString, kind);
    StoreMaker maker(kind);
    auto store = maker.make();
    QCOMPARE(store->get(QStringLiteral("caldav-password-1")), std::nullopt);
    QCOMPARE(store->lastFailure(), TokenStoreFailure::None);

    QVERIFY(store->set(QStringLiteral("caldav-password-1"), QString()));
    const std::optional<QString> value = maker.make()->get(QStringLiteral("caldav-password-1"));
    QVERIFY(value.has_value());
    QCOMPARE(*value, QString());
}

void TestTokenStore::nonAsciiRoundTrip()
{
    QFETCH(QString, kind);
    StoreMaker maker(kind);
    const QString value = QStringLiteral("pässwörd \u65e5\u672c\u8a9e \U0001F511 \"q\"\\\n\t");
    QVERIFY(maker.make()->set(QStringLiteral("caldav-password-\u00e9"), value));
    QCOMPARE(maker.make()->get(QStringLiteral("caldav-password-\u00e9")), value);
}

void TestTokenStore::replaceAndRemove()
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
    QCOMPARE(store->lastFailure(), TokenStoreFailure::None);
}

void TestTokenStore::servicesAreIsolated()
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

void TestTokenStore::clearRemovesOnlyCloudTokens()
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

void TestTokenStore::valueSizeLimit_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("accepted");
    constexpr int limit = 64 * 1024;
    const QString ascii(limit, QLatin1Char('x'));
    const QString twoByte(limit / 2, QChar(0x00e9));
    const QString cjk = QString(limit / 3, QChar(0x65e5)) + QLatin1Char('x'); // 65,536 bytes
    const QString cjkOver(limit / 3 + 1, QChar(0x65e5)); // 65,538 bytes in 21,846 characters
    for (const char *kind : {"keyring", "vault", "memory"}) {
        const QString k = QString::fromLatin1(kind);
        QTest::addRow("%s: 64 KiB of ASCII", kind) << k << ascii << true;
        QTest::addRow("%s: one ASCII byte over", kind) << k << ascii + QLatin1Char('x') << false;
        QTest::addRow("%s: 64 KiB of 2-byte letters", kind) << k << twoByte << true;
        QTest::addRow("%s: one 2-byte letter over", kind) << k << twoByte + QChar(0x00e9) << false;
        QTest::addRow("%s: 64 KiB of CJK", kind) << k << cjk << true;
        QTest::addRow("%s: CJK two bytes over", kind) << k << cjkOver << false;
    }
}

void TestTokenStore::valueSizeLimit()
{
    QFETCH(QString, kind);
    QFETCH(QString, value);
    QFETCH(bool, accepted);
    StoreMaker maker(kind);
    auto store = maker.make();
    QVERIFY(store->set(QStringLiteral("google-tokens-1"), QStringLiteral("previous")));
    QCOMPARE(store->set(QStringLiteral("google-tokens-1"), value), accepted);
    // A refused value is not cut short: the previous entry stays as it was.
    QCOMPARE(maker.make()->get(QStringLiteral("google-tokens-1")),
             accepted ? value : QStringLiteral("previous"));
}

void TestTokenStore::moveIntoKeyring_data()
{
    QTest::addColumn<QString>("failingSide");
    QTest::addColumn<QString>("failingStep");
    QTest::newRow("every entry moves") << QString() << QString();
    const QString keyring = QStringLiteral("keyring");
    QTest::newRow("keyring refuses a write") << keyring << QStringLiteral("write");
    QTest::newRow("keyring reads back another value") << keyring << QStringLiteral("read back");
    QTest::newRow("vault keeps an entry") << QStringLiteral("vault") << QStringLiteral("remove");
}

void TestTokenStore::moveIntoKeyring()
{
    QFETCH(QString, failingSide);
    QFETCH(QString, failingStep);
    static int run = 0;
    const QString service = kService + QStringLiteral(".move%1").arg(++run);
    const QString failingKey = QStringLiteral("google-tokens-2");
    QTemporaryDir dir;
    VaultTokenStore vault(service, dir.filePath(QStringLiteral("vault.json")));
    const QStringList keys
        = {QStringLiteral("caldav-password-1"), failingKey,
           QStringLiteral("larkspindle_access_token"), QStringLiteral("larkspindle_refresh_token")};
    for (const QString &key : keys)
        QVERIFY(vault.set(key, key + QStringLiteral(" \u00e9 secret")));
    // A service whose name starts with ours keeps its own entries.
    VaultTokenStore neighbour(service + QStringLiteral(".work"), vault.vaultPath());
    QVERIFY(neighbour.set(QStringLiteral("caldav-password-1"), QStringLiteral("neighbour")));

    SecretServiceTokenStore keyring(service);
    FailingStore from(vault, failingSide == QLatin1String("vault") ? failingStep : QString(),
                      failingKey);
    FailingStore to(keyring, failingSide == QLatin1String("keyring") ? failingStep : QString(),
                    failingKey);
    QCOMPARE(vault.keys().size(), keys.size());
    const LarkAccount::CredentialMove move = moveCredentials(from, vault.keys(), to);

    const bool fails = !failingSide.isEmpty();
    QCOMPARE(move.moved, keys.size() - (fails ? 1 : 0));
    QCOMPARE(move.kept, fails ? 1 : 0);
    // Each entry is in exactly one place, unchanged.
    for (const QString &key : keys) {
        const bool stays = fails && key == failingKey;
        const QString value = key + QStringLiteral(" \u00e9 secret");
        QCOMPARE(vault.get(key), stays ? std::optional<QString>(value) : std::nullopt);
        QCOMPARE(keyring.get(key), stays ? std::nullopt : std::optional<QString>(value));
    }
    QCOMPARE(neighbour.get(QStringLiteral("caldav-password-1")), QStringLiteral("neighbour"));
}

void TestTokenStore::firstStoreOfTheRunMovesTheVault()
{
    const QString service = kService + QStringLiteral(".first");
    VaultTokenStore vault(service);
    QVERIFY(vault.set(QStringLiteral("caldav-password-7"), QStringLiteral("from the vault")));
    QVERIFY(vault.set(QStringLiteral("larkspindle_refresh_token"), QStringLiteral("refresh")));

    auto store = LarkAccount::createTokenStore(service);
    QVERIFY(!dynamic_cast<VaultTokenStore *>(store.get()));
    QCOMPARE(store->get(QStringLiteral("caldav-password-7")), QStringLiteral("from the vault"));
    QCOMPARE(SecretServiceTokenStore(service).get(QStringLiteral("larkspindle_refresh_token")),
             QStringLiteral("refresh"));
    QCOMPARE(vault.keys(), QStringList());
    // The vault file holds no secret any more, only which service keeps its secrets where.
    const QByteArray file = LarkTest::readFile(vault.vaultPath());
    QVERIFY(!file.contains("from the vault"));
    QVERIFY(vault.keptInKeyring());

    // A start without the keyring tells the missing secret from one never stored.
    QCOMPARE(vault.get(QStringLiteral("caldav-password-7")), std::nullopt);
    QCOMPARE(vault.lastFailure(), TokenStoreFailure::KeyringUnavailable);

    // What such a start writes to the vault is newer than the keyring's copy and moves over it.
    QVERIFY(vault.set(QStringLiteral("caldav-password-7"), QStringLiteral("typed again")));
    SecretServiceTokenStore keyring(service);
    QCOMPARE(moveCredentials(vault, vault.keys(), keyring).moved, 1);
    QCOMPARE(store->get(QStringLiteral("caldav-password-7")), QStringLiteral("typed again"));
    QCOMPARE(vault.keys(), QStringList());

    // An entry that could not move is read from the vault until a new value replaces it.
    QVERIFY(vault.set(QStringLiteral("google-tokens-4"), QStringLiteral("stayed")));
    QCOMPARE(store->get(QStringLiteral("google-tokens-4")), QStringLiteral("stayed"));
    QVERIFY(store->set(QStringLiteral("google-tokens-4"), QStringLiteral("renewed")));
    QCOMPARE(vault.keys(), QStringList());
    QCOMPARE(keyring.get(QStringLiteral("google-tokens-4")), QStringLiteral("renewed"));
}

void TestTokenStore::lockedKeyringIsAReadableFailure()
{
    const QString service = kService + QStringLiteral(".locked");
    const QString access = QStringLiteral("larkspindle_access_token");
    SecretServiceTokenStore keyring(service);
    QVERIFY(keyring.set(access, QStringLiteral("access")));
    // An entry that has not moved yet.
    VaultTokenStore vault(service);
    QVERIFY(vault.set(QStringLiteral("caldav-password-3"), QStringLiteral("left in the vault")));

    QVERIFY(!callKeyring(QStringLiteral("Lock"),
                         QStringLiteral("array:objpath:/org/freedesktop/secrets/collection/login"))
                 .isEmpty());

    // Nobody can answer the unlock prompt on this bus: it counts as the user declining. The
    // keyring says so on its error output once per prompt.
    const auto prompts = [this] {
        return LarkTest::readFile(keyringLog()).count("couldn't create system prompt");
    };
    const qsizetype before = prompts();
    QTest::ignoreMessage(QtWarningMsg,
                         "[TokenStore] the desktop keyring stays locked; its "
                         "credentials cannot be used");
    auto store = LarkAccount::createTokenStore(service);
    QCOMPARE(prompts(), before + 1);
    QCOMPARE(store->get(access), std::nullopt);
    QCOMPARE(store->lastFailure(), TokenStoreFailure::KeyringLocked);
    QVERIFY(!LarkAccount::tokenStoreFailureText(store->lastFailure()).isEmpty());
    QVERIFY(!store->set(access, QStringLiteral("newer")));
    QCOMPARE(store->lastFailure(), TokenStoreFailure::KeyringLocked);
    QVERIFY(!store->remove(access));
    QCOMPARE(store->lastFailure(), TokenStoreFailure::KeyringLocked);
    store->clear();
    // Declined once, the run does not ask again for every secret.
    QCOMPARE(prompts(), before + 1);

    // The entry that could not move is still there, for this run and the next.
    QCOMPARE(store->get(QStringLiteral("caldav-password-3")), QStringLiteral("left in the vault"));
    QCOMPARE(store->lastFailure(), TokenStoreFailure::None);
    QCOMPARE(vault.keys(), QStringList {QStringLiteral("caldav-password-3")});

    // Sign-out did not happen behind the user's back: the locked item is still in the keyring.
    const QByteArray found
        = callKeyring(QStringLiteral("SearchItems"),
                      QStringLiteral("dict:string:string:service,%1,key,%2").arg(service, access));
    QCOMPARE(found.count("/org/freedesktop/secrets/collection/login/"), 1);
}

QTEST_GUILESS_MAIN(TestTokenStore)
#include "tst_TokenStore.moc"
