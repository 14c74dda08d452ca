#include "core/sync/ConflictResolutionService.h"

#include <QSignalSpy>
#include <QUuid>
#include <QtTest>

using Sync::ConflictResolutionService;

namespace {

Event makeEvent(const char *id, const char *uid, const char *title, const char *etag)
{
    Event e;
    e.id = QString::fromUtf8(id);
    e.uid = QString::fromUtf8(uid);
    e.title = QString::fromUtf8(title);
    e.etag = QString::fromUtf8(etag);
    e.calendar_id = QStringLiteral("cal");
    return e;
}

} // namespace

class TestConflictResolutionService : public QObject
{
    Q_OBJECT
private slots:
    void firstConflictPerEventKept();
    void sameUidDifferentEventsAreTwoConflicts();
    void remoteWithoutCalendarText();
};

void TestConflictResolutionService::firstConflictPerEventKept()
{
    ConflictResolutionService service(nullptr);
    QSignalSpy changed(&service, &ConflictResolutionService::conflictsChanged);
    const QDateTime before = QDateTime::currentDateTimeUtc();
    service.recordConflict(makeEvent("e1", "u1", "Local", "\"1\""),
                           makeEvent("e1", "u1", "Server", "\"2\""));
    service.recordConflict(makeEvent("e1", "u1", "Local again", "\"1\""),
                           makeEvent("e1", "u1", "Server again", "\"3\""));
    QCOMPARE(changed.size(), 1);
    QCOMPARE(service.conflicts().size(), 1);

    const Sync::Conflict &c = service.conflicts().first();
    QCOMPARE(c.local.title, QStringLiteral("Local"));
    QCOMPARE(c.remote.title, QStringLiteral("Server"));
    QCOMPARE(c.remote.etag, QStringLiteral("\"2\""));
    QCOMPARE(c.id.size(), 36);
    QVERIFY(!QUuid::fromString(c.id).isNull());
    QCOMPARE(c.detectedAt.timeSpec(), Qt::UTC);
    QVERIFY(c.detectedAt >= before);
}

void TestConflictResolutionService::sameUidDifferentEventsAreTwoConflicts()
{
    ConflictResolutionService service(nullptr);
    QSignalSpy changed(&service, &ConflictResolutionService::conflictsChanged);
    service.recordConflict(makeEvent("e1", "shared", "A", "1"),
                           makeEvent("e1", "shared", "A'", "2"));
    service.recordConflict(makeEvent("e2", "shared", "B", "1"),
                           makeEvent("e2", "shared", "B'", "2"));
    QCOMPARE(changed.size(), 2);
    QCOMPARE(service.conflicts().size(), 2);
    QCOMPARE(service.conflicts().at(1).local.id, QStringLiteral("e2"));
    QVERIFY(service.conflicts().at(0).id != service.conflicts().at(1).id);
}

void TestConflictResolutionService::remoteWithoutCalendarText()
{
    ConflictResolutionService service(nullptr);
    Event remote;
    remote.id = QStringLiteral("e1");
    remote.uid = QStringLiteral("u1");
    remote.etag = QStringLiteral("\"9\"");
    remote.calendar_id = QStringLiteral("cal");
    service.recordConflict(makeEvent("e1", "u1", "Local", "\"1\""), remote);
    const Sync::Conflict &c = service.conflicts().first();
    QVERIFY(c.remote.title.isEmpty());
    QVERIFY(!c.remote.start_time.isValid());
    QCOMPARE(c.remote.id, QStringLiteral("e1"));
    QCOMPARE(c.remote.etag, QStringLiteral("\"9\""));
}

QTEST_GUILESS_MAIN(TestConflictResolutionService)
#include "tst_ConflictResolutionService.moc"
