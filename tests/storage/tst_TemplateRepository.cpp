#include "model/Clock.h"
#include "storage/TemplateRepository.h"
#include "support/TestDatabase.h"
#include "support/TestSupport.h"

#include <QSignalSpy>
#include <QUuid>
#include <QtTest>

using LarkTest::idsOf;
using LarkTest::strings;

namespace {

QDateTime utc(int d, int h = 0)
{
    return QDateTime(QDate(2024, 3, d), QTime(h, 0), Qt::UTC);
}

EventTemplate makeTemplate(const QString &id, const QString &name, int sortOrder = 0)
{
    EventTemplate t;
    t.id = id;
    t.name = name;
    t.title = name + QStringLiteral(" title");
    t.sort_order = sortOrder;
    return t;
}

} // namespace

class TestTemplateRepository : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void insertFillsIdAndTimes();
    void roundTripAndOrder();
    void remindersColumn_data();
    void remindersColumn();
    void tombstones();
    void failedInsertIsReported();

private:
    std::unique_ptr<LarkTest::TestDatabase> m_t;
    std::unique_ptr<TemplateRepository> m_repo;
    LarkTest::TestClock m_clock {utc(6, 12)};
    // The repositories stamp their writes with the program clock.
    Clock::Override m_pinned {[this] {
        return m_clock.now();
    }};
};

void TestTemplateRepository::init()
{
    m_t = std::make_unique<LarkTest::TestDatabase>();
    QVERIFY(m_t->isValid());
    m_repo = std::make_unique<TemplateRepository>(m_t->db());
}

void TestTemplateRepository::cleanup()
{
    m_repo.reset();
    m_t.reset();
}

void TestTemplateRepository::insertFillsIdAndTimes()
{
    QSignalSpy changed(m_repo.get(), &TemplateRepository::templatesChanged);
    QVERIFY(m_repo->insert(makeTemplate(QString(), QStringLiteral("Standup"))));
    QCOMPARE(changed.count(), 1);

    const QList<EventTemplate> all = m_repo->listAll();
    QCOMPARE(all.size(), 1);
    const EventTemplate &t = all.first();
    QCOMPARE(t.id.size(), 36);
    QVERIFY(!t.id.startsWith(QLatin1Char('{')));
    QVERIFY(!QUuid::fromString(t.id).isNull());
    QCOMPARE(t.created_at, m_clock.now());
    QCOMPARE(t.updated_at, m_clock.now());
    QCOMPARE(m_t->scalar(QStringLiteral("SELECT sync_status FROM event_templates")).toString(),
             QStringLiteral("pending"));

    // A valid creation time is kept.
    EventTemplate dated = makeTemplate(QStringLiteral("dated"), QStringLiteral("Dated"));
    dated.created_at = utc(1);
    QVERIFY(m_repo->insert(dated));
    QCOMPARE(m_repo->byId(QStringLiteral("dated"))->created_at, utc(1));
    QCOMPARE(m_repo->byId(QStringLiteral("dated"))->updated_at, m_clock.now());
}

void TestTemplateRepository::roundTripAndOrder()
{
    EventTemplate full = makeTemplate(QStringLiteral("full"), QStringLiteral("beta"), 1);
    full.description = QStringLiteral("Notes");
    full.location = QStringLiteral("Room 4");
    full.color = QStringLiteral("#abcdef");
    full.is_all_day = true;
    full.duration_minutes = 1440;
    full.recurrence_rule = QStringLiteral("FREQ=WEEKLY");
    full.calendar_id = QStringLiteral("A");
    full.reminders = {5, 10};
    for (const EventTemplate &t :
         {full, makeTemplate(QStringLiteral("upper"), QStringLiteral("Zulu"), 1),
          makeTemplate(QStringLiteral("first"), QStringLiteral("zz"), 0),
          makeTemplate(QStringLiteral("lower"), QStringLiteral("alpha"), 1)})
        QVERIFY(m_repo->insert(t));

    // Names compare case-sensitively: upper case before lower case.
    QCOMPARE(idsOf(m_repo->listActive()), strings({"first", "upper", "lower", "full"}));

    const EventTemplate read = *m_repo->byId(QStringLiteral("full"));
    QCOMPARE(read.description, full.description);
    QCOMPARE(read.location, full.location);
    QCOMPARE(read.color, full.color);
    QVERIFY(read.is_all_day);
    QCOMPARE(read.duration_minutes, 1440);
    QCOMPARE(read.recurrence_rule, full.recurrence_rule);
    QCOMPARE(read.calendar_id, full.calendar_id);
    QCOMPARE(read.reminders, QList<int>({5, 10}));
    QCOMPARE(m_t->scalar(QStringLiteral("SELECT reminders FROM event_templates WHERE id = 'full'"))
                 .toString(),
             QStringLiteral("[5,10]"));

    QSignalSpy changed(m_repo.get(), &TemplateRepository::templatesChanged);
    m_clock.advanceSecs(90);
    EventTemplate edited = read;
    edited.title = QStringLiteral("Edited");
    edited.reminders = {};
    QVERIFY(m_repo->update(edited));
    QCOMPARE(changed.count(), 1);
    const EventTemplate after = *m_repo->byId(QStringLiteral("full"));
    QCOMPARE(after.title, QStringLiteral("Edited"));
    QVERIFY(after.reminders.isEmpty());
    QCOMPARE(after.created_at, read.created_at);
    QCOMPARE(after.updated_at, m_clock.now());

    // Dated ahead of this clock by another device: an edit here is not dated before that.
    QVERIFY(m_t->exec(QStringLiteral(
        "UPDATE event_templates SET updated_at = '2100-01-01T00:00:00Z' WHERE id = 'full'")));
    QVERIFY(m_repo->update(edited));
    QCOMPARE(m_repo->byId(QStringLiteral("full"))->updated_at,
             QDateTime(QDate(2100, 1, 1), QTime(0, 0), Qt::UTC));
}

void TestTemplateRepository::remindersColumn_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("expected");
    QTest::newRow("numbers, a text and a fraction")
        << QStringLiteral("[15,\"x\",30.5,45]") << QList<int>({15, 0, 45});
    QTest::newRow("beyond 32 bits") << QStringLiteral("[1e12,-5]") << QList<int>({0, -5});
    QTest::newRow("object") << QStringLiteral("{\"a\":15}") << QList<int>();
    QTest::newRow("empty text") << QString::fromLatin1("") << QList<int>();
    QTest::newRow("not JSON") << QStringLiteral("15,30") << QList<int>();
    QTest::newRow("column default") << QStringLiteral("[15]") << QList<int>({15});
}

void TestTemplateRepository::remindersColumn()
{
    QFETCH(QString, text);
    QFETCH(QList<int>, expected);
    QVERIFY(m_t->exec(QStringLiteral("INSERT INTO event_templates (id, name, title, reminders) "
                                     "VALUES ('t', 'T', 'T', ?)"),
                      {text}));
    QCOMPARE(m_repo->byId(QStringLiteral("t"))->reminders, expected);
}

void TestTemplateRepository::tombstones()
{
    QVERIFY(m_repo->insert(makeTemplate(QStringLiteral("t"), QStringLiteral("T"))));
    QVERIFY(m_t->exec(QStringLiteral("UPDATE event_templates SET sync_status = 'synced'")));
    QSignalSpy changed(m_repo.get(), &TemplateRepository::templatesChanged);
    m_clock.advanceSecs(60);

    QVERIFY(m_repo->remove(QStringLiteral("t")));
    QCOMPARE(changed.count(), 1);
    QVERIFY(!m_repo->byId(QStringLiteral("t")));
    QVERIFY(m_repo->listActive().isEmpty());
    const QList<EventTemplate> all = m_repo->listAll();
    QCOMPARE(idsOf(all), strings({"t"}));
    QCOMPARE(all.first().deleted_at, std::optional<QDateTime>(m_clock.now()));
    QCOMPARE(m_t->scalar(QStringLiteral("SELECT deleted_at = updated_at AND sync_status = "
                                        "'pending' FROM event_templates"))
                 .toInt(),
             1);

    // Editing a removed template keeps it removed.
    QVERIFY(m_repo->update(makeTemplate(QStringLiteral("t"), QStringLiteral("Edited"))));
    QCOMPARE(m_repo->listAll().first().name, QStringLiteral("Edited"));
    QVERIFY(m_repo->listAll().first().deleted_at);

    // An id that matches nothing still counts as done.
    QVERIFY(m_repo->update(makeTemplate(QStringLiteral("unknown"), QStringLiteral("U"))));
    QCOMPARE(changed.count(), 3);

    QVERIFY(m_repo->hardDelete(QStringLiteral("t")));
    QVERIFY(m_repo->listAll().isEmpty());
    QCOMPARE(changed.count(), 4);
}

void TestTemplateRepository::failedInsertIsReported()
{
    QVERIFY(m_repo->insert(makeTemplate(QStringLiteral("t"), QStringLiteral("T"))));
    QSignalSpy changed(m_repo.get(), &TemplateRepository::templatesChanged);
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("^TemplateRepository::insert failed:")));
    QVERIFY(!m_repo->insert(makeTemplate(QStringLiteral("t"), QStringLiteral("Again"))));
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("^TemplateRepository::update failed:")));
    EventTemplate untitled = makeTemplate(QStringLiteral("t"), QStringLiteral("T"));
    untitled.title = QString();
    QVERIFY(!m_repo->update(untitled));
    QCOMPARE(changed.count(), 0);
    QCOMPARE(m_repo->byId(QStringLiteral("t"))->name, QStringLiteral("T"));
}

QTEST_GUILESS_MAIN(TestTemplateRepository)
#include "tst_TemplateRepository.moc"
