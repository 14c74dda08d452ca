#include "FeedFixtures.h"
#include "services/update/ReleaseManifest.h"
#include "services/update/UpdateConfig.h"
#include "services/update/Version.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

using namespace LarkUpdate;
using FeedFixtures::manifest;
using FeedFixtures::patched;

namespace {

QString sha(int length = 64)
{
    return QString(length, u'0');
}

QJsonObject manifestObject(const QJsonObject &rootChanges = {},
                           const QJsonObject &artifactChanges = {})
{
    return patched(manifest({{QStringLiteral("windows-x64"),
                              FeedFixtures::artifact(QStringLiteral("1.4.0"), artifactChanges)}}),
                   rootChanges);
}

QByteArray bytes(const QJsonObject &object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

QJsonObject artifactWith(const char *key, const QJsonValue &value)
{
    return QJsonObject {{QString::fromUtf8(key), value}};
}

} // namespace

class tst_ReleaseManifest : public QObject
{
    Q_OBJECT
private slots:
    void parseVersion_data();
    void parseVersion();
    void versionLess_data();
    void versionLess();
    void manifest_data();
    void manifest();
    void artifactFields();
    void earlierArtifactsStayWhenALaterOneFails();
    void platformKey_data();
    void platformKey();
    void channelConfigFromEnvironment_data();
    void channelConfigFromEnvironment();
};

void tst_ReleaseManifest::parseVersion_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<int>("patch");

    QTest::newRow("three numbers") << "1.3.4" << 1 << 3 << 4;
    QTest::newRow("two numbers") << "1.2" << 1 << 2 << 0;
    QTest::newRow("one number") << "7" << 7 << 0 << 0;
    QTest::newRow("empty part skipped") << "1..2" << 1 << 2 << 0;
    QTest::newRow("trailing dot") << "1.2." << 1 << 2 << 0;
    QTest::newRow("leading dot") << ".1.2" << 1 << 2 << 0;
    QTest::newRow("leading zeros") << "01.002.0003" << 1 << 2 << 3;
    QTest::newRow("large numbers") << "2147483647.0.10" << 2147483647 << 0 << 10;
    QTest::newRow("four numbers") << "1.2.3.4" << 0 << 0 << 0;
    QTest::newRow("empty") << "" << 0 << 0 << 0;
    QTest::newRow("only dots") << "..." << 0 << 0 << 0;
    QTest::newRow("letter part") << "1.x" << 0 << 0 << 0;
    QTest::newRow("letter prefix") << "v1.2.3" << 0 << 0 << 0;
    QTest::newRow("pre-release suffix") << "1.3.5-beta" << 0 << 0 << 0;
    QTest::newRow("build suffix") << "1.3.5+42" << 0 << 0 << 0;
    QTest::newRow("hex") << "0x1.2" << 0 << 0 << 0;
    QTest::newRow("beyond 32 bits") << "4294967296.0.0" << 0 << 0 << 0;
    QTest::newRow("negative part") << "1.-2.3" << 1 << -2 << 3;
}

void tst_ReleaseManifest::parseVersion()
{
    QFETCH(QString, text);
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(int, patch);
    const Version v = LarkUpdate::parseVersion(text);
    QCOMPARE(v.major, major);
    QCOMPARE(v.minor, minor);
    QCOMPARE(v.patch, patch);
}

void tst_ReleaseManifest::versionLess_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<bool>("less");

    QTest::newRow("patch numerically") << "1.3.4"
                                       << "1.3.10" << true;
    QTest::newRow("minor numerically") << "1.3.4"
                                       << "1.10.0" << true;
    QTest::newRow("equal") << "1.3.4"
                           << "1.3.4" << false;
    QTest::newRow("newer patch") << "1.3.5"
                                 << "1.3.4" << false;
    QTest::newRow("major decides over minor") << "1.99.99"
                                              << "2.0.0" << true;
    QTest::newRow("minor decides over patch") << "2.1.0"
                                              << "2.0.99" << false;
    QTest::newRow("short form equal") << "1.2"
                                      << "1.2.0" << false;
    QTest::newRow("unparsable is 0.0.0") << "dev"
                                         << "0.0.1" << true;
    QTest::newRow("unparsable not older than 0.0.0") << "dev"
                                                     << "0.0.0" << false;
    QTest::newRow("pre-release not newer") << "1.3.4"
                                           << "1.3.5-rc1" << false;
    QTest::newRow("negative is older") << "1.-1.0"
                                       << "1.0.0" << true;
}

void tst_ReleaseManifest::versionLess()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(bool, less);
    QCOMPARE(LarkUpdate::versionLess(LarkUpdate::parseVersion(a), LarkUpdate::parseVersion(b)),
             less);
}

void tst_ReleaseManifest::manifest_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("error");
    QTest::addColumn<bool>("valid");

    const QJsonValue remove = QJsonValue::Null;
    const auto key = [](const char *k) {
        return QString::fromUtf8(k);
    };

    QTest::newRow("good") << bytes(manifestObject()) << QString() << true;
    QTest::newRow("not json") << QByteArray("{\"schema\": 1,")
                              << QStringLiteral("JSON parse error: *") << false;
    QTest::newRow("empty bytes") << QByteArray() << QStringLiteral("JSON parse error: *") << false;
    QTest::newRow("root array") << QByteArray("[1]")
                                << QStringLiteral("manifest root is not a JSON object") << false;
    QTest::newRow("schema missing")
        << bytes(manifestObject({{key("schema"), remove}}))
        << QStringLiteral("missing or non-integer field: schema") << false;
    QTest::newRow("schema as text")
        << bytes(manifestObject({{key("schema"), QStringLiteral("1")}}))
        << QStringLiteral("missing or non-integer field: schema") << false;
    QTest::newRow("schema 2") << bytes(manifestObject({{key("schema"), 2}}))
                              << QStringLiteral("unsupported manifest schema: 2 (expected 1)")
                              << false;
    QTest::newRow("schema 0") << bytes(manifestObject({{key("schema"), 0}}))
                              << QStringLiteral("unsupported manifest schema: 0 (expected 1)")
                              << false;
    QTest::newRow("schema fractional")
        << bytes(manifestObject({{key("schema"), 1.5}}))
        << QStringLiteral("unsupported manifest schema: 1.5 (expected 1)") << false;
    QTest::newRow("schema 1.0 is 1")
        << QByteArray(bytes(manifestObject()).replace("\"schema\":1", "\"schema\":1.0"))
        << QString() << true;
    QTest::newRow("app missing, channel too")
        << bytes(manifestObject({{key("app"), remove}, {key("channel"), remove}}))
        << QStringLiteral("missing or non-string field: app") << false;
    QTest::newRow("channel a number")
        << bytes(manifestObject({{key("channel"), 3}}))
        << QStringLiteral("missing or non-string field: channel") << false;
    QTest::newRow("app empty") << bytes(manifestObject({{key("app"), QString()}}))
                               << QStringLiteral("manifest failed validation") << false;
    QTest::newRow("channel empty") << bytes(manifestObject({{key("channel"), QString()}}))
                                   << QStringLiteral("manifest failed validation") << false;
    QTest::newRow("artifacts missing")
        << bytes(manifestObject({{key("artifacts"), remove}}))
        << QStringLiteral("missing or non-object field: artifacts") << false;
    QTest::newRow("artifacts an array")
        << bytes(manifestObject({{key("artifacts"), QJsonArray {FeedFixtures::artifact()}}}))
        << QStringLiteral("missing or non-object field: artifacts") << false;
    QTest::newRow("artifacts empty") << bytes(manifestObject({{key("artifacts"), QJsonObject()}}))
                                     << QStringLiteral("manifest failed validation") << false;
    QTest::newRow("artifact a string") << bytes(
        manifestObject({{key("artifacts"), QJsonObject {{key("windows-x64"), key("1.4.0")}}}}))
                                       << QStringLiteral("artifact windows-x64 is not an object")
                                       << false;
    QTest::newRow("unknown platform only") << bytes(manifestObject(
        {{key("artifacts"), QJsonObject {{key("plan9-mips"), FeedFixtures::artifact()}}}}))
                                           << QString() << true;

    const QString fieldError = QStringLiteral("missing or non-string field: %1");
    const QString failed = QStringLiteral("artifact windows-x64 failed validation");
    for (const char *field : {"version", "released_at", "url", "sha256"}) {
        QTest::addRow("%s missing", field) << bytes(manifestObject({}, artifactWith(field, remove)))
                                           << fieldError.arg(key(field)) << false;
        QTest::addRow("%s not a string", field) << bytes(manifestObject({}, artifactWith(field, 5)))
                                                << fieldError.arg(key(field)) << false;
    }
    QTest::newRow("version and url missing: first named")
        << bytes(manifestObject({}, {{key("version"), remove}, {key("url"), remove}}))
        << fieldError.arg(key("version")) << false;
    QTest::newRow("version empty")
        << bytes(manifestObject({}, artifactWith("version", QString()))) << failed << false;
    QTest::newRow("released_at not ISO")
        << bytes(manifestObject({}, artifactWith("released_at", key("30/11/2026 12:00")))) << failed
        << false;
    QTest::newRow("released_at empty")
        << bytes(manifestObject({}, artifactWith("released_at", QString()))) << failed << false;
    QTest::newRow("released_at with offset")
        << bytes(manifestObject({}, artifactWith("released_at", key("2026-11-30T12:00:00+01:00"))))
        << QString() << true;
    QTest::newRow("url invalid") << bytes(
        manifestObject({}, artifactWith("url", key("http://[::1"))))
                                 << failed << false;
    QTest::newRow("url empty") << bytes(manifestObject({}, artifactWith("url", QString())))
                               << failed << false;
    QTest::newRow("size 0") << bytes(manifestObject({}, artifactWith("size", 0))) << failed
                            << false;
    QTest::newRow("size negative")
        << bytes(manifestObject({}, artifactWith("size", -5))) << failed << false;
    QTest::newRow("size missing") << bytes(manifestObject({}, artifactWith("size", remove)))
                                  << failed << false;
    QTest::newRow("size a string")
        << bytes(manifestObject({}, artifactWith("size", key("100")))) << failed << false;
    QTest::newRow("size 0.9 truncates to 0")
        << bytes(manifestObject({}, artifactWith("size", 0.9))) << failed << false;
    QTest::newRow("size 1") << bytes(manifestObject({}, artifactWith("size", 1))) << QString()
                            << true;
    QTest::newRow("size 1e300") << bytes(manifestObject({}, artifactWith("size", 1e300))) << failed
                                << false;
    QTest::newRow("sha256 63") << bytes(manifestObject({}, artifactWith("sha256", sha(63))))
                               << failed << false;
    QTest::newRow("sha256 65") << bytes(manifestObject({}, artifactWith("sha256", sha(65))))
                               << failed << false;
    QTest::newRow("sha256 64 arbitrary characters")
        << bytes(manifestObject({}, artifactWith("sha256", QString(64, u'é')))) << QString()
        << true;
    QTest::newRow("optional fields of other types")
        << bytes(manifestObject({},
                                {{key("mandatory"), key("true")},
                                 {key("min_upgradable_from"), 1},
                                 {key("release_notes_url"), false}}))
        << QString() << true;
}

void tst_ReleaseManifest::manifest()
{
    QFETCH(QByteArray, input);
    QFETCH(QString, error);
    QFETCH(bool, valid);

    QString actual = QStringLiteral("left over from before");
    const Manifest m = parseManifest(input, &actual);
    if (error.endsWith(u'*'))
        QVERIFY2(actual.startsWith(error.chopped(1)) && actual.size() > error.size(),
                 qPrintable(actual));
    else
        QCOMPARE(actual, error);
    QCOMPARE(m.isValid(), valid);
    // Without an error text the result is the same.
    QCOMPARE(parseManifest(input).isValid(), valid);
}

void tst_ReleaseManifest::artifactFields()
{
    const QJsonObject object
        = patched(FeedFixtures::artifact(),
                  {{QStringLiteral("size"), 9876543210.7},
                   {QStringLiteral("mandatory"), true},
                   {QStringLiteral("min_upgradable_from"), QStringLiteral("1.2.0")},
                   {QStringLiteral("release_notes_url"),
                    QStringLiteral("https://feed.example/1.4.0/notes.md")}});
    QString error;
    const Artifact a = parseArtifact(object, QStringLiteral("windows-x64"), &error);
    QCOMPARE(error, QString());
    QCOMPARE(a.version, QStringLiteral("1.4.0"));
    QCOMPARE(a.releasedAt, QDateTime(QDate(2026, 11, 30), QTime(12, 0), Qt::UTC));
    QCOMPARE(a.url, QUrl(QStringLiteral("https://dl.example/calendar-1.4.0.msi")));
    QCOMPARE(a.size, Q_INT64_C(9876543210));
    QCOMPARE(a.sha256, sha());
    QCOMPARE(a.mandatory, true);
    QCOMPARE(a.minUpgradableFrom, QStringLiteral("1.2.0"));
    QCOMPARE(a.releaseNotesUrl, QUrl(QStringLiteral("https://feed.example/1.4.0/notes.md")));

    const Artifact plain
        = parseArtifact(patched(FeedFixtures::artifact(),
                                {{QStringLiteral("mandatory"), QStringLiteral("true")},
                                 {QStringLiteral("release_notes_url"), QString()}}),
                        QStringLiteral("windows-x64"));
    QCOMPARE(plain.mandatory, false);
    QVERIFY(plain.releaseNotesUrl.isEmpty());
    QVERIFY(plain.minUpgradableFrom.isEmpty());
}

void tst_ReleaseManifest::earlierArtifactsStayWhenALaterOneFails()
{
    QJsonObject root = manifestObject();
    root.insert(QStringLiteral("artifacts"),
                QJsonObject {{QStringLiteral("linux-x64"), FeedFixtures::artifact()},
                             {QStringLiteral("macos-arm64"), QJsonObject()},
                             {QStringLiteral("windows-x64"), FeedFixtures::artifact()}});
    QString error;
    const Manifest m = parseManifest(bytes(root), &error);
    QCOMPARE(error, QStringLiteral("missing or non-string field: version"));
    QCOMPARE(m.artifacts.keys(), QStringList {QStringLiteral("linux-x64")});
    QVERIFY(m.isValid());
}

void tst_ReleaseManifest::platformKey_data()
{
    QTest::addColumn<QString>("kernel");
    QTest::addColumn<QString>("architecture");
    QTest::addColumn<QString>("key");
    QTest::newRow("windows x86-64") << "winnt"
                                    << "x86_64"
                                    << "windows-x64";
    QTest::newRow("linux x86-64 gets no windows installer") << "linux"
                                                            << "x86_64"
                                                            << "linux-x64";
    QTest::newRow("mac arm64") << "darwin"
                               << "arm64"
                               << "macos-arm64";
    QTest::newRow("32-bit x86") << "winnt"
                                << "i386"
                                << "";
    QTest::newRow("unknown system") << "freebsd"
                                    << "x86_64"
                                    << "";
}

void tst_ReleaseManifest::platformKey()
{
    QFETCH(QString, kernel);
    QFETCH(QString, architecture);
    QFETCH(QString, key);
    QCOMPARE(platformKeyFor(kernel, architecture), key);
}

void tst_ReleaseManifest::channelConfigFromEnvironment_data()
{
    QTest::addColumn<QByteArray>("feed");
    QTest::addColumn<QString>("baseUrl");
    QTest::newRow("not configured") << QByteArray() << QString();
    QTest::newRow("root") << QByteArray("https://feed.example")
                          << "https://feed.example/calendar/stable/";
    QTest::newRow("folder with slash") << QByteArray("https://feed.example/releases/")
                                       << "https://feed.example/releases/calendar/stable/";
    QTest::newRow("folder without slash") << QByteArray("http://127.0.0.1:8080/releases")
                                          << "http://127.0.0.1:8080/releases/calendar/stable/";
}

void tst_ReleaseManifest::channelConfigFromEnvironment()
{
    QFETCH(QByteArray, feed);
    QFETCH(QString, baseUrl);
    qputenv("UPDATE_FEED_URL", feed);
    const UpdateChannelConfig config = updateChannelConfig();
    QCOMPARE(config.manifestBaseUrl.toString(), baseUrl);
    QCOMPARE(config.product, QStringLiteral("calendar"));
    QCOMPARE(config.channel, QStringLiteral("stable"));
    QCOMPARE(config.currentVersion, QStringLiteral("1.3.4"));
}

QTEST_GUILESS_MAIN(tst_ReleaseManifest)
#include "tst_ReleaseManifest.moc"
