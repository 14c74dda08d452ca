#include "services/account/AccountRecords.h"
#include "services/account/ClientConfig.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

using namespace LarkAccount;

namespace {

QJsonObject parse(const char *json)
{
    return QJsonDocument::fromJson(QByteArray(json)).object();
}

} // namespace

class TestAccountRecords : public QObject
{
    Q_OBJECT

private slots:
    void userFields();
    void textMembers_data();
    void textMembers();
    void dateTimes_data();
    void dateTimes();
    void profileGroup_data();
    void profileGroup();
    void groupLists();
    void numbersAndFlags_data();
    void numbersAndFlags();
    void deviceAndInvitation();
};

void TestAccountRecords::userFields()
{
    const User u = readUser(parse(R"({"id":"u1","email":"a@b.c","display_name":"Ann",
        "username":"ann","avatar_url":"https://x/a.png","created_at":"2025-03-01T10:00:00Z"})"));
    QCOMPARE(u.id, QStringLiteral("u1"));
    QCOMPARE(u.email, QStringLiteral("a@b.c"));
    QCOMPARE(u.displayName, QStringLiteral("Ann"));
    QCOMPARE(u.username, QStringLiteral("ann"));
    QCOMPARE(u.avatarUrl, QStringLiteral("https://x/a.png"));
    QCOMPARE(u.createdAt, QDateTime(QDate(2025, 3, 1), QTime(10, 0), Qt::UTC));

    // The first field of the account library's configuration is the authentication address.
    LarkAccount::ClientConfig cfg {QStringLiteral("https://auth"), {}, {}, {}, {}, {}, {}, {}, {}};
    QCOMPARE(cfg.authUrl, QStringLiteral("https://auth"));
}

void TestAccountRecords::textMembers_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("id");
    QTest::newRow("text") << QByteArray(R"({"id":"x"})") << QStringLiteral("x");
    QTest::newRow("number") << QByteArray(R"({"id":5})") << QString();
    QTest::newRow("null") << QByteArray(R"({"id":null})") << QString();
    QTest::newRow("bool") << QByteArray(R"({"id":true})") << QString();
    QTest::newRow("array") << QByteArray(R"({"id":["x"]})") << QString();
    QTest::newRow("object") << QByteArray(R"({"id":{"x":1}})") << QString();
    QTest::newRow("absent") << QByteArray(R"({})") << QString();
}

void TestAccountRecords::textMembers()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, id);
    const QJsonObject o = QJsonDocument::fromJson(json).object();
    QCOMPARE(readUser(o).id, id);
    QCOMPARE(readSession(o).id, id);
    QCOMPARE(readDevice(o).id, id);
    QCOMPARE(readProfile(o).id, id);
    QCOMPARE(readGroup(o).id, id);
    QCOMPARE(readGroupInvitation(o).id, id);
}

void TestAccountRecords::dateTimes_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QDateTime>("expected");
    QTest::newRow("utc") << QByteArray(R"({"created_at":"2025-03-01T10:00:00Z"})")
                         << QDateTime(QDate(2025, 3, 1), QTime(10, 0), Qt::UTC);
    QTest::newRow("offset") << QByteArray(R"({"created_at":"2025-03-01T12:00:00+02:00"})")
                            << QDateTime(QDate(2025, 3, 1), QTime(10, 0), Qt::UTC);
    QTest::newRow("empty") << QByteArray(R"({"created_at":""})") << QDateTime();
    QTest::newRow("garbage") << QByteArray(R"({"created_at":"yesterday"})") << QDateTime();
    QTest::newRow("number") << QByteArray(R"({"created_at":1740823200})") << QDateTime();
    QTest::newRow("absent") << QByteArray("{}") << QDateTime();
}

void TestAccountRecords::dateTimes()
{
    QFETCH(QByteArray, json);
    QFETCH(QDateTime, expected);
    const QDateTime got = readUser(QJsonDocument::fromJson(json).object()).createdAt;
    QCOMPARE(got.isValid(), expected.isValid());
    if (expected.isValid())
        QCOMPARE(got.toUTC(), expected);
}

void TestAccountRecords::profileGroup_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<bool>("hasGroup");
    QTest::addColumn<QString>("groupName");
    QTest::addColumn<int>("memberCount");
    QTest::newRow("group") << QByteArray(
        R"({"group":{"id":"g","name":"Home","role":"owner","member_count":3}})")
                           << true << QStringLiteral("Home") << 3;
    QTest::newRow("null group") << QByteArray(R"({"group":null})") << true << QString() << 0;
    QTest::newRow("text group") << QByteArray(R"({"group":"g"})") << true << QString() << 0;
    QTest::newRow("no key") << QByteArray(R"({"id":"p"})") << false << QString() << 0;
}

void TestAccountRecords::profileGroup()
{
    QFETCH(QByteArray, json);
    QFETCH(bool, hasGroup);
    QFETCH(QString, groupName);
    QFETCH(int, memberCount);
    const Profile p = readProfile(QJsonDocument::fromJson(json).object());
    QCOMPARE(p.group.has_value(), hasGroup);
    QCOMPARE(p.group.value_or(GroupSummary()).name, groupName);
    QCOMPARE(p.group.value_or(GroupSummary()).memberCount, memberCount);
}

void TestAccountRecords::groupLists()
{
    const Group g = readGroup(parse(R"({"id":"g","name":"Family","max_seats":"5",
        "members":[{"account_id":"a","auth_user_id":"u","display_name":"A","email":"a@x",
                    "role":"owner","joined_at":"2025-01-02T03:04:05Z"}, 7, null],
        "pending_invitations":{"not":"an array"}})"));
    QCOMPARE(g.maxSeats, 0);
    QCOMPARE(g.members.size(), 3);
    QCOMPARE(g.members.at(0).accountId, QStringLiteral("a"));
    QCOMPARE(g.members.at(0).authUserId, QStringLiteral("u"));
    QCOMPARE(g.members.at(0).role, QStringLiteral("owner"));
    QVERIFY(g.members.at(0).joinedAt.isValid());
    QVERIFY(g.members.at(1).accountId.isEmpty());
    QVERIFY(!g.members.at(1).joinedAt.isValid());
    QVERIFY(g.members.at(2).email.isEmpty());
    QVERIFY(g.pendingInvitations.isEmpty());
}

void TestAccountRecords::numbersAndFlags_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<int>("seats");
    QTest::addColumn<bool>("current");
    QTest::newRow("proper") << QByteArray(R"({"max_seats":6,"is_current":true})") << 6 << true;
    QTest::newRow("text and number")
        << QByteArray(R"({"max_seats":"5","is_current":1})") << 0 << false;
    QTest::newRow("fraction and text")
        << QByteArray(R"({"max_seats":2.5,"is_current":"true"})") << 0 << false;
    QTest::newRow("beyond 32 bits") << QByteArray(R"({"max_seats":4294967296})") << 0 << false;
    QTest::newRow("negative") << QByteArray(R"({"max_seats":-1})") << -1 << false;
}

void TestAccountRecords::numbersAndFlags()
{
    QFETCH(QByteArray, json);
    QFETCH(int, seats);
    QFETCH(bool, current);
    const QJsonObject o = QJsonDocument::fromJson(json).object();
    QCOMPARE(readGroup(o).maxSeats, seats);
    QCOMPARE(readSession(o).isCurrent, current);
}

void TestAccountRecords::deviceAndInvitation()
{
    const Device d = readDevice(parse(R"({"id":"d1","device_name":"Desk","platform":"windows",
        "app_id":"calendar","app_version":"1.3.4","last_sync_at":"2025-05-05T05:05:05Z",
        "device_fingerprint":"fp","created_at":"bad"})"));
    QCOMPARE(d.deviceName, QStringLiteral("Desk"));
    QCOMPARE(d.platform, QStringLiteral("windows"));
    QCOMPARE(d.appId, QStringLiteral("calendar"));
    QCOMPARE(d.appVersion, QStringLiteral("1.3.4"));
    QCOMPARE(d.deviceFingerprint, QStringLiteral("fp"));
    QVERIFY(d.lastSyncAt.isValid());
    QVERIFY(!d.createdAt.isValid());

    const GroupInvitation i = readGroupInvitation(parse(R"({"id":"i","invited_email":"b@x",
        "invite_code":"C0DE","status":"pending","expires_at":"2025-06-01T00:00:00Z"})"));
    QCOMPARE(i.invitedEmail, QStringLiteral("b@x"));
    QCOMPARE(i.inviteCode, QStringLiteral("C0DE"));
    QCOMPARE(i.status, QStringLiteral("pending"));
    QCOMPARE(i.expiresAt.toUTC(), QDateTime(QDate(2025, 6, 1), QTime(0, 0), Qt::UTC));

    const Session s = readSession(parse(R"({"id":"s","user_agent":"UA","ip_address":"::1",
        "last_active_at":"2025-02-02T02:02:02Z","is_current":true})"));
    QCOMPARE(s.userAgent, QStringLiteral("UA"));
    QCOMPARE(s.ipAddress, QStringLiteral("::1"));
    QVERIFY(s.lastActiveAt.isValid());
    QVERIFY(s.isCurrent);
}

QTEST_GUILESS_MAIN(TestAccountRecords)
#include "tst_AccountRecords.moc"
