#include "model/Clock.h"
#include "storage/AccountRepository.h"
#include "support/TestDatabase.h"
#include "support/TestSupport.h"

#include <QSignalSpy>
#include <QSqlQuery>
#include <QtTest>

namespace {

QDateTime at(int hour)
{
    return QDateTime(QDate(2024, 3, 1), QTime(hour, 0), Qt::UTC);
}

Account account(const QString &id, const QString &type, const QString &url, const QString &user,
                const QDateTime &created, const QString &name = QString())
{
    Account a;
    a.id = id;
    a.name = name.isEmpty() ? id : name;
    a.type = type;
    a.server_url = url;
    a.username = user;
    a.created_at = created;
    a.updated_at = created;
    return a;
}

} // namespace

class TestAccountRepository : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void roundTrip();
    void tombstones();
    void identity();
    void reorder();
    void dedupe_data();
    void dedupe();
    void dedupeIsAllOrNothingPerAccount();
    void insertRefusesEmptyId();

private:
    std::unique_ptr<LarkTest::TestDatabase> m_t;
    std::unique_ptr<AccountRepository> m_repo;
    LarkTest::TestClock m_clock {QDateTime(QDate(2024, 6, 1), QTime(12, 0), Qt::UTC)};
    // The repositories stamp their writes with the program clock.
    Clock::Override m_pinned {[this] {
        return m_clock.now();
    }};
};

void TestAccountRepository::init()
{
    m_t = std::make_unique<LarkTest::TestDatabase>();
    QVERIFY(m_t->isValid());
    m_repo = std::make_unique<AccountRepository>(m_t->db());
}

void TestAccountRepository::cleanup()
{
    m_repo.reset();
    m_t.reset();
}

void TestAccountRepository::roundTrip()
{
    Account a = account(QStringLiteral("a1"), QStringLiteral("caldav"),
                        QStringLiteral("https://dav.example/"), QStringLiteral("ann"), at(9));
    a.last_sync_time = QDateTime(QDate(2024, 3, 2), QTime(8, 30), Qt::UTC);
    a.enabled = false;
    a.exclude_from_sync = true;
    a.sync_interval_minutes = 30;
    a.trusted_cert_sha256 = QStringLiteral("ab:cd");
    QSignalSpy changed(m_repo.get(), &AccountRepository::accountsChanged);
    QVERIFY(m_repo->insert(a));
    QCOMPARE(changed.count(), 1);

    std::optional<Account> read = m_repo->byId(QStringLiteral("a1"));
    QVERIFY(read);
    QCOMPARE(read->server_url, a.server_url);
    QCOMPARE(read->last_sync_time, a.last_sync_time);
    QCOMPARE(read->enabled, false);
    QCOMPARE(read->exclude_from_sync, true);
    QCOMPARE(read->sync_interval_minutes, 30);
    QCOMPARE(read->created_at, at(9));
    QCOMPARE(read->deleted_at, std::nullopt);
    // Absent optional values and null texts are stored as NULL.
    QVERIFY(m_t->scalar(QStringLiteral(
                            "SELECT principal_url IS NULL AND deleted_at IS NULL FROM accounts"))
                .toBool());

    a.name = QStringLiteral("Renamed");
    a.last_sync_time.reset();
    QVERIFY(m_repo->update(a));
    read = m_repo->byId(QStringLiteral("a1"));
    QVERIFY(read);
    QCOMPARE(read->name, QStringLiteral("Renamed"));
    QCOMPARE(read->last_sync_time, std::nullopt);
    QCOMPARE(read->created_at, at(9));
    QCOMPARE(read->updated_at, m_clock.now());
    QCOMPARE(changed.count(), 2);

    // A duplicate id is a failure without a signal.
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("^AccountRepository::insert failed:")));
    QVERIFY(!m_repo->insert(a));
    QCOMPARE(changed.count(), 2);
}

void TestAccountRepository::tombstones()
{
    QVERIFY(m_t->addCalendar(QStringLiteral("cal"), QStringLiteral("with-cal")));
    QVERIFY(m_repo->insert(account(QStringLiteral("a1"), QStringLiteral("google"), {}, {}, at(9))));
    QVERIFY(m_repo->insert(account(QStringLiteral("a2"), QStringLiteral("google"), {}, {}, at(9))));
    QSignalSpy changed(m_repo.get(), &AccountRepository::accountsChanged);

    // Reaping an active account deletes nothing.
    QVERIFY(m_repo->reapTombstone(QStringLiteral("a1")));
    QVERIFY(m_repo->byId(QStringLiteral("a1")));

    QVERIFY(m_repo->remove(QStringLiteral("a1")));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(m_repo->byId(QStringLiteral("a1")), std::nullopt);
    QCOMPARE(LarkTest::idsOf(m_repo->listActive()), LarkTest::strings({"a2", "with-cal"}));
    const QList<Account> all = m_repo->listAll();
    QCOMPARE(LarkTest::idsOf(all), LarkTest::strings({"a1", "a2", "with-cal"}));
    QCOMPARE(all.first().deleted_at, std::optional<QDateTime>(m_clock.now()));
    QCOMPARE(all.first().updated_at, m_clock.now());

    // A tombstone still accepts updates (the configuration sync writes to it).
    Account renamed = all.first();
    renamed.name = QStringLiteral("x");
    QVERIFY(m_repo->update(renamed));
    QCOMPARE(m_t->scalar(QStringLiteral("SELECT name FROM accounts WHERE id = 'a1'")).toString(),
             QStringLiteral("x"));

    QVERIFY(m_repo->reapTombstone(QStringLiteral("a1")));
    QCOMPARE(LarkTest::idsOf(m_repo->listAll()), LarkTest::strings({"a2", "with-cal"}));

    // An account whose calendars still point at it cannot be reaped.
    QVERIFY(m_repo->remove(QStringLiteral("with-cal")));
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral(
                             "^AccountRepository::reapTombstone failed:.*FOREIGN KEY")));
    QVERIFY(!m_repo->reapTombstone(QStringLiteral("with-cal")));

    // Removing an unknown id succeeds and still announces it.
    changed.clear();
    QVERIFY(m_repo->remove(QStringLiteral("nobody")));
    QCOMPARE(changed.count(), 1);
}

void TestAccountRepository::identity()
{
    QVERIFY(m_repo->insert(account(QStringLiteral("a1"), QStringLiteral("caldav"),
                                   QStringLiteral("https://s/"), QStringLiteral("ann"), at(9))));
    QVERIFY(m_repo->insert(account(QStringLiteral("blank"), QStringLiteral("caldav"),
                                   QStringLiteral("https://s/"), QStringLiteral(""), at(9))));
    const std::optional<Account> found = m_repo->byIdentity(
        QStringLiteral("caldav"), QStringLiteral("https://s/"), QStringLiteral("ann"));
    QVERIFY(found);
    QCOMPARE(found->id, QStringLiteral("a1"));
    QCOMPARE(m_repo->byIdentity(QStringLiteral("caldav"), QStringLiteral("https://s/"),
                                QStringLiteral("Ann")),
             std::nullopt);
    QCOMPARE(m_repo->byIdentity(QStringLiteral("icloud"), QStringLiteral("https://s/"),
                                QStringLiteral("ann")),
             std::nullopt);
    QCOMPARE(m_repo->byIdentity(QStringLiteral("caldav"), QStringLiteral("https://s/"),
                                QStringLiteral("")),
             std::nullopt);
    QVERIFY(m_repo->remove(QStringLiteral("a1")));
    QCOMPARE(m_repo->byIdentity(QStringLiteral("caldav"), QStringLiteral("https://s/"),
                                QStringLiteral("ann")),
             std::nullopt);
}

void TestAccountRepository::reorder()
{
    QVERIFY(m_repo->insert(account(QStringLiteral("a"), QStringLiteral("google"), {}, {}, at(9),
                                   QStringLiteral("A"))));
    QVERIFY(m_repo->insert(account(QStringLiteral("b"), QStringLiteral("google"), {}, {}, at(9),
                                   QStringLiteral("B"))));
    QVERIFY(m_repo->insert(account(QStringLiteral("c"), QStringLiteral("google"), {}, {}, at(9),
                                   QStringLiteral("C"))));
    QCOMPARE(LarkTest::idsOf(m_repo->listActive()), LarkTest::strings({"a", "b", "c"}));

    QSignalSpy changed(m_repo.get(), &AccountRepository::accountsChanged);
    QVERIFY(m_repo->reorder({}));
    QCOMPARE(changed.count(), 0);

    QVERIFY(m_repo->reorder(LarkTest::strings({"c", "a", "b"})));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(LarkTest::idsOf(m_repo->listActive()), LarkTest::strings({"c", "a", "b"}));
    QSqlQuery q(m_t->sql());
    QVERIFY(q.exec(QStringLiteral("SELECT id, sort_order FROM accounts ORDER BY sort_order")));
    QStringList stored;
    while (q.next())
        stored << q.value(0).toString() + QLatin1Char('=') + q.value(1).toString();
    QCOMPARE(stored, LarkTest::strings({"c=10", "a=20", "b=30"}));

    // Inside a transaction the caller holds, reorder joins it instead of failing.
    QVERIFY(m_t->sql().transaction());
    QVERIFY(m_repo->reorder(LarkTest::strings({"b", "c", "a"})));
    QVERIFY(m_t->sql().rollback());
    QCOMPARE(LarkTest::idsOf(m_repo->listActive()), LarkTest::strings({"c", "a", "b"}));
}

void TestAccountRepository::dedupe_data()
{
    QTest::addColumn<QList<Account>>("accounts");
    QTest::addColumn<int>("merged");
    QTest::addColumn<QStringList>("active");

    const QString url = QStringLiteral("https://dav.example/");
    const QString ann = QStringLiteral("ann");
    const QString caldav = QStringLiteral("caldav");
    QTest::newRow("later duplicate merged into the earlier")
        << QList<Account> {account(QStringLiteral("late"), caldav, url, ann, at(10)),
                           account(QStringLiteral("early"), caldav, url, ann, at(9))}
        << 1 << LarkTest::strings({"early"});
    QTest::newRow("user names differing in case are different")
        << QList<Account> {account(QStringLiteral("a"), caldav, url, ann, at(9)),
                           account(QStringLiteral("b"), caldav, url, QStringLiteral("Ann"), at(10))}
        << 0 << LarkTest::strings({"a", "b"});
    QTest::newRow("google accounts are left alone")
        << QList<Account> {account(QStringLiteral("a"), QStringLiteral("google"), url, ann, at(9)),
                           account(QStringLiteral("b"), QStringLiteral("google"), url, ann, at(10))}
        << 0 << LarkTest::strings({"a", "b"});
    QTest::newRow("different types do not merge")
        << QList<Account> {account(QStringLiteral("a"), caldav, url, ann, at(9)),
                           account(QStringLiteral("b"), QStringLiteral("icloud"), url, ann, at(10))}
        << 0 << LarkTest::strings({"a", "b"});
    QTest::newRow("three icloud copies, equal times keep list order")
        << QList<Account> {account(QStringLiteral("x"), QStringLiteral("icloud"), url, ann, at(9),
                                   QStringLiteral("Z")),
                           account(QStringLiteral("y"), QStringLiteral("icloud"), url, ann, at(9),
                                   QStringLiteral("M")),
                           account(QStringLiteral("z"), QStringLiteral("icloud"), url, ann, at(11),
                                   QStringLiteral("A"))}
        << 2 << LarkTest::strings({"y"});
    QTest::newRow("empty user names are never merged") << QList<Account> {
        account(QStringLiteral("a"), QStringLiteral("zoho"), url, QString(), at(9)),
        account(QStringLiteral("b"), QStringLiteral("zoho"), url, QString(),
                at(10))} << 0 << LarkTest::strings({"a", "b"});
}

void TestAccountRepository::dedupe()
{
    QFETCH(QList<Account>, accounts);
    QFETCH(int, merged);
    QFETCH(QStringList, active);
    for (const Account &a : accounts) {
        QVERIFY(m_repo->insert(a));
        QVERIFY(m_t->exec(
            QStringLiteral(
                "INSERT INTO calendars (id, account_id, url, name) VALUES (?, ?, 'u', 'n')"),
            {QString(a.id + QStringLiteral("-cal")), a.id}));
    }
    QSignalSpy changed(m_repo.get(), &AccountRepository::accountsChanged);
    QCOMPARE(m_repo->dedupeAccounts(), merged);
    QCOMPARE(changed.count(), merged);
    QStringList activeIds = LarkTest::idsOf(m_repo->listActive());
    activeIds.sort();
    QCOMPARE(activeIds, active);
    QCOMPARE(m_repo->listAll().size(), accounts.size());
    // Every calendar now belongs to an active account.
    QCOMPARE(
        m_t->scalar(QStringLiteral(
                        "SELECT COUNT(*) FROM calendars c JOIN accounts a ON a.id = c.account_id "
                        "WHERE a.deleted_at IS NULL"))
            .toInt(),
        accounts.size());
}

void TestAccountRepository::dedupeIsAllOrNothingPerAccount()
{
    const QString url = QStringLiteral("https://dav.example/");
    QVERIFY(m_repo->insert(account(QStringLiteral("keep"), QStringLiteral("caldav"), url,
                                   QStringLiteral("ann"), at(9))));
    QVERIFY(m_repo->insert(account(QStringLiteral("dup"), QStringLiteral("caldav"), url,
                                   QStringLiteral("ann"), at(10))));
    QVERIFY(m_t->addCalendar(QStringLiteral("dup-cal"), QStringLiteral("dup")));
    // The tombstone cannot be written: the calendars must stay where they were.
    QVERIFY(m_t->exec(
        QStringLiteral("CREATE TRIGGER no_tombstones BEFORE UPDATE OF deleted_at ON accounts "
                       "BEGIN SELECT RAISE(ABORT, 'tombstones refused'); END")));
    QSignalSpy changed(m_repo.get(), &AccountRepository::accountsChanged);
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral(
                             "^AccountRepository::remove failed:.*tombstones refused")));
    QCOMPARE(m_repo->dedupeAccounts(), 0);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(m_t->scalar(QStringLiteral("SELECT account_id FROM calendars WHERE id = 'dup-cal'"))
                 .toString(),
             QStringLiteral("dup"));
    QCOMPARE(m_repo->listActive().size(), 2);
}

void TestAccountRepository::insertRefusesEmptyId()
{
    QSignalSpy changed(m_repo.get(), &AccountRepository::accountsChanged);
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("^AccountRepository::insert failed:")));
    QVERIFY(!m_repo->insert(
        account(QString(), QStringLiteral("google"), {}, {}, at(9), QStringLiteral("n"))));
    QCOMPARE(changed.count(), 0);
    QCOMPARE(m_t->scalar(QStringLiteral("SELECT COUNT(*) FROM accounts")).toInt(), 0);
}

QTEST_GUILESS_MAIN(TestAccountRepository)
#include "tst_AccountRepository.moc"
