#include "services/net/RequestPolicy.h"
#include "services/sync/cloud/SharingBackend.h"
#include "support/CloudDevice.h"
#include "support/FakeCloudService.h"
#include "support/MemoryTokenStore.h"

#include <QJsonArray>
#include <QtTest>

#include <memory>

using LarkAccount::ShareMember;
using LarkTest::FakeReply;

class TestCloudSharing : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void shareListAndRemove();
    void failedShareReportsReason_data();
    void failedShareReportsReason();
    void withoutClientAnswersAtOnce();

private:
    std::unique_ptr<LarkTest::ScopedMemoryTokenStore> m_secrets;
    std::unique_ptr<LarkTest::FakeCloudService> m_cloud;
    std::unique_ptr<LarkTest::CloudDevice> m_device;
    std::unique_ptr<Larkspindle::SharingBackend> m_backend;
};

void TestCloudSharing::init()
{
    m_secrets = std::make_unique<LarkTest::ScopedMemoryTokenStore>();
    m_cloud = std::make_unique<LarkTest::FakeCloudService>();
    QVERIFY(m_cloud->listen());
    m_cloud->addCalendar(QStringLiteral("Team/1"), QStringLiteral("Team"));
    m_cloud->addUser(QStringLiteral("u-ann"), QStringLiteral("ann@example.org"),
                     QStringLiteral("Ann"));
    m_device = std::make_unique<LarkTest::CloudDevice>(m_cloud->baseUrl());
    QVERIFY(m_device->open());
    m_backend = std::make_unique<Larkspindle::SharingBackend>(m_device->api());
}

void TestCloudSharing::cleanup()
{
    m_backend.reset();
    m_device.reset();
    m_cloud.reset();
    m_secrets.reset();
}

void TestCloudSharing::shareListAndRemove()
{
    const QString calendar = QStringLiteral("Team/1");
    QList<std::pair<bool, QString>> shared;
    auto share = [&](const char *user, const char *role) {
        m_backend->shareWith(calendar, QString::fromUtf8(user), QString::fromUtf8(role),
                             [&](bool ok, const QString &error) {
                                 shared.append({ok, error});
                             });
    };
    share("u-ann", "");
    share("u-bob", "viewer");
    QTRY_COMPARE(shared.size(), 2);
    QCOMPARE(shared.at(0), std::make_pair(true, QString()));
    QCOMPARE(shared.at(1), std::make_pair(true, QString()));
    // An escaped "/" keeps the calendar id one path segment.
    QCOMPARE(m_cloud->server().requests().first().target,
             QByteArray("/calendar/v1/calendars/Team%2F1/share"));

    QList<ShareMember> members;
    int listed = 0;
    m_backend->listMembers(calendar, [&](const QList<ShareMember> &m) {
        members = m;
        ++listed;
    });
    QTRY_COMPARE(listed, 1);
    QCOMPARE(members.size(), 2);
    QCOMPARE(members.at(0).userId, QStringLiteral("u-ann"));
    QCOMPARE(members.at(0).accountId, QStringLiteral("u-ann"));
    QCOMPARE(members.at(0).email, QStringLiteral("ann@example.org"));
    QCOMPARE(members.at(0).displayName, QStringLiteral("Ann"));
    QCOMPARE(members.at(0).role, QStringLiteral("member"));
    QCOMPARE(members.at(0).joinedAt, QStringLiteral("2026-03-02T09:00:00Z"));
    QCOMPARE(members.at(1).role, QStringLiteral("viewer"));

    QList<bool> removed;
    m_backend->removeShare(calendar, QStringLiteral("u-bob"), [&](bool ok) { removed << ok; });
    m_backend->removeShare(calendar, QStringLiteral("u-nobody"), [&](bool ok) { removed << ok; });
    QTRY_COMPARE(removed.size(), 2);
    QCOMPARE(removed, QList<bool>({true, false}));
    QCOMPARE(m_cloud->members(calendar).size(), 1);

    // A listing that fails reads as nobody.
    m_cloud->failRequests("GET", QStringLiteral("/calendars"), FakeReply::json(500, {}));
    members.clear();
    m_backend->listMembers(calendar, [&](const QList<ShareMember> &m) {
        members = m;
        ++listed;
    });
    QTRY_COMPARE(listed, 2);
    QVERIFY(members.isEmpty());
}

void TestCloudSharing::failedShareReportsReason_data()
{
    QTest::addColumn<int>("status"); // 0: no answer before the transfer timeout
    QTest::addColumn<QJsonValue>("error");
    QTest::addColumn<QString>("reason");
    QTest::newRow("server's error text")
        << 403 << QJsonValue(QStringLiteral("Not in group")) << "Not in group";
    QTest::newRow("empty error text is kept") << 403 << QJsonValue(QStringLiteral("")) << "";
    QTest::newRow("error that is no text") << 409 << QJsonValue(7) << "Sharing failed (HTTP 409)";
    QTest::newRow("no answer") << 0 << QJsonValue() << "The server stopped answering.";
}

void TestCloudSharing::failedShareReportsReason()
{
    QFETCH(int, status);
    QFETCH(QJsonValue, error);
    QFETCH(QString, reason);
    Net::Limits shortSilence;
    shortSilence.silenceMs = 300;
    const Net::LimitsOverride limits(shortSilence);
    const FakeReply reply = status == 0
        ? FakeReply::empty(200).held()
        : FakeReply::json(status, QJsonObject {{QStringLiteral("error"), error}});
    m_cloud->failRequests("POST", QStringLiteral("/calendars/Team/1/share"), reply);
    int calls = 0;
    std::pair<bool, QString> outcome;
    m_backend->shareWith(QStringLiteral("Team/1"), QStringLiteral("u-ann"), QString(),
                         [&](bool ok, const QString &error) {
                             ++calls;
                             outcome = {ok, error};
                         });
    QTRY_COMPARE(calls, 1);
    QCOMPARE(outcome.first, false);
    QCOMPARE(outcome.second, reason);
    QVERIFY(m_cloud->members(QStringLiteral("Team/1")).isEmpty());
}

void TestCloudSharing::withoutClientAnswersAtOnce()
{
    Larkspindle::SharingBackend backend(nullptr);
    int calls = 0;
    backend.listMembers(QStringLiteral("x"), [&](const QList<ShareMember> &m) {
        QVERIFY(m.isEmpty());
        ++calls;
    });
    backend.shareWith(QStringLiteral("x"), QStringLiteral("u"), QString(),
                      [&](bool ok, const QString &error) {
                          QVERIFY(!ok);
                          QCOMPARE(error, QStringLiteral("Not signed in"));
                          ++calls;
                      });
    backend.removeShare(QStringLiteral("x"), QStringLiteral("u"), [&](bool ok) {
        QVERIFY(!ok);
        ++calls;
    });
    QCOMPARE(calls, 3);
    QCOMPARE(backend.shareUserIdForMember(QStringLiteral("acc-7")), QStringLiteral("acc-7"));
}

QTEST_MAIN(TestCloudSharing)
#include "tst_CloudSharing.moc"
