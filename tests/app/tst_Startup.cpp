// Starts the built program as a user would, each test with its own data folder and instance
// name, and watches what it does from outside: exit codes, the database, the log.

#include "support/FakeHttpServer.h"

#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>

#include <memory>

namespace {

QString programPath()
{
    return qEnvironmentVariable("LARK_BINARY_DIR") + QStringLiteral("/calendar");
}

// One user's set-up: a data folder and an instance name shared by every start of the program.
class Installation
{
public:
    Installation()
        : m_instance(QStringLiteral("st-") + QUuid::createUuid().toString(QUuid::Id128).left(12))
    {
        m_env = QProcessEnvironment::systemEnvironment();
        m_env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        m_env.insert(QStringLiteral("CALENDAR_DATA_DIR"), m_dir.filePath(QStringLiteral("data")));
        m_env.insert(QStringLiteral("CALENDAR_INSTANCE"), m_instance);
        // No address of the maker's services: nothing may leave the machine.
        for (const char *name :
             {"QT_LOGGING_RULES", "UPDATE_FEED_URL", "AUTH_API_URL", "ACCOUNT_API_URL",
              "SYNC_API_URL", "ACCOUNT_PORTAL_URL", "FEEDBACK_URL"})
            m_env.remove(QString::fromLatin1(name));
    }
    ~Installation()
    {
        for (auto &process : m_running)
            stop(process.get());
        QSqlDatabase::removeDatabase(m_connection);
    }

    bool isValid() const { return m_dir.isValid(); }
    QProcessEnvironment &env() { return m_env; }
    QString dataDir() const { return m_dir.filePath(QStringLiteral("data")); }
    QString databasePath() const { return dataDir() + QStringLiteral("/calendar.db"); }

    // Starts the program and leaves it running; stopped at the end of the test.
    QProcess *start(const QStringList &arguments)
    {
        auto process = std::make_unique<QProcess>();
        process->setProcessEnvironment(m_env);
        process->start(programPath(), arguments);
        if (!process->waitForStarted(10000))
            return nullptr;
        m_running.push_back(std::move(process));
        return m_running.back().get();
    }

    // Runs the program to its end; -1 when it did not end in time.
    int run(const QStringList &arguments, int timeoutMs = 20000)
    {
        QProcess process;
        process.setProcessEnvironment(m_env);
        process.start(programPath(), arguments);
        if (!process.waitForFinished(timeoutMs)) {
            process.kill();
            process.waitForFinished();
            return -1;
        }
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    }

    static QByteArray stop(QProcess *process)
    {
        if (process->state() != QProcess::NotRunning) {
            process->terminate();
            if (!process->waitForFinished(5000)) {
                process->kill();
                process->waitForFinished();
            }
        }
        return process->readAllStandardError();
    }

    // The first column of the first row, read through a connection of the test's own while the
    // program may be running.
    QVariant query(const QString &sql)
    {
        QSqlDatabase db = QSqlDatabase::contains(m_connection)
            ? QSqlDatabase::database(m_connection)
            : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
        db.setDatabaseName(databasePath());
        if (!db.isOpen() && !db.open())
            return QVariant();
        QSqlQuery q(db);
        QVariant value;
        if (q.exec(sql) && q.next())
            value = q.value(0);
        q.finish();
        db.close();
        return value;
    }

    bool exec(const QString &sql)
    {
        QSqlDatabase db = QSqlDatabase::contains(m_connection)
            ? QSqlDatabase::database(m_connection)
            : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
        db.setDatabaseName(databasePath());
        if (!db.isOpen() && !db.open())
            return false;
        QSqlQuery q(db);
        const bool ok = q.exec(sql);
        q.finish();
        db.close();
        return ok;
    }

    // The running program has finished its start: the one-time clean-up mark is written after
    // the database is open and before the main window exists.
    bool startedUp()
    {
        return query(QStringLiteral("SELECT value FROM settings WHERE key = "
                                    "'sync/accountsDedupedV1'"))
                   .toString()
            == QLatin1String("1");
    }

private:
    QTemporaryDir m_dir;
    QString m_instance;
    QString m_connection = QStringLiteral("startup-test");
    QProcessEnvironment m_env;
    std::vector<std::unique_ptr<QProcess>> m_running;
};

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT
private slots:
    void secondStartHandsOverAndEnds_data();
    void secondStartHandsOverAndEnds();
    void quickAddFromASecondStartLandsInTheFirst_data();
    void quickAddFromASecondStartLandsInTheFirst();
    void logFilter_data();
    void logFilter();
    void accountCleanUpRunsOnce();
    void updateCheckAsksTheConfiguredFeedAfterStart();
    void nothingLeavesWithoutConfiguredAddresses_data();
    void nothingLeavesWithoutConfiguredAddresses();
};

void TestStartup::secondStartHandsOverAndEnds_data()
{
    QTest::addColumn<QStringList>("secondArguments");
    QTest::newRow("no arguments") << QStringList();
    QTest::newRow("--background") << QStringList {QStringLiteral("--background")};
    QTest::newRow("--show-today") << QStringList {QStringLiteral("--show-today")};
}

void TestStartup::secondStartHandsOverAndEnds()
{
    QFETCH(QStringList, secondArguments);
    Installation installation;
    QVERIFY(installation.isValid());
    QProcess *first = installation.start({});
    QVERIFY(first);
    QTRY_VERIFY_WITH_TIMEOUT(installation.startedUp(), 20000);

    QCOMPARE(installation.run(secondArguments), 0);
    QCOMPARE(first->state(), QProcess::Running);
}

void TestStartup::quickAddFromASecondStartLandsInTheFirst_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("text as next argument")
        << QStringList {QStringLiteral("--quick-add"), QStringLiteral("Dentist friday 3pm")};
    QTest::newRow("text after =") << QStringList {QStringLiteral("--quick-add=Dentist friday 3pm")};
}

void TestStartup::quickAddFromASecondStartLandsInTheFirst()
{
    QFETCH(QStringList, arguments);
    Installation installation;
    QVERIFY(installation.isValid());
    QProcess *first = installation.start({});
    QVERIFY(first);
    QTRY_VERIFY_WITH_TIMEOUT(installation.startedUp(), 20000);

    QCOMPARE(installation.run(arguments), 0);
    QTRY_COMPARE_WITH_TIMEOUT(
        installation
            .query(QStringLiteral("SELECT COUNT(*) FROM events WHERE title LIKE 'Dentist%' AND "
                                  "sync_status = 'pending'"))
            .toInt(),
        1, 10000);
    QCOMPARE(first->state(), QProcess::Running);
}

void TestStartup::logFilter_data()
{
    QTest::addColumn<QString>("instance");
    QTest::addColumn<QString>("rules");
    QTest::addColumn<bool>("infoShown");

    QTest::newRow("plain instance: quiet") << ""
                                           << "" << false;
    QTest::newRow("development instance") << "dev"
                                          << "" << true;
    QTest::newRow("own logging rules") << ""
                                       << "lark.none.debug=true" << true;
}

void TestStartup::logFilter()
{
    QFETCH(QString, instance);
    QFETCH(QString, rules);
    QFETCH(bool, infoShown);

    Installation installation;
    QVERIFY(installation.isValid());
    if (!instance.isEmpty())
        installation.env().insert(QStringLiteral("CALENDAR_INSTANCE"), instance);
    if (!rules.isEmpty())
        installation.env().insert(QStringLiteral("QT_LOGGING_RULES"), rules);
    QProcess *first = installation.start({});
    QVERIFY(first);
    QTRY_VERIFY_WITH_TIMEOUT(installation.startedUp(), 20000);
    const QByteArray log = Installation::stop(first);
    // The database path is logged at info level while the state starts.
    QCOMPARE(log.contains("Opening database at:"), infoShown);
}

void TestStartup::accountCleanUpRunsOnce()
{
    Installation installation;
    QVERIFY(installation.isValid());
    QProcess *first = installation.start({});
    QVERIFY(first);
    QTRY_VERIFY_WITH_TIMEOUT(installation.startedUp(), 20000);
    Installation::stop(first);

    const QString duplicates = QStringLiteral(
        "INSERT INTO accounts (id, name, type, server_url, username, created_at, updated_at) "
        "VALUES ('dav-1', 'Work', 'caldav', 'https://dav.example.org/', 'kim', "
        "'2025-01-01T00:00:00Z', '2025-01-01T00:00:00Z'), "
        "('dav-2', 'Work', 'caldav', 'https://dav.example.org/', 'kim', "
        "'2025-02-01T00:00:00Z', '2025-02-01T00:00:00Z')");
    const QString liveDav = QStringLiteral(
        "SELECT COUNT(*) FROM accounts WHERE type = 'caldav' AND deleted_at IS NULL");
    QVERIFY(installation.exec(duplicates));

    // Marked done already: the duplicates stay.
    QProcess *second = installation.start({});
    QVERIFY(second);
    QTRY_VERIFY_WITH_TIMEOUT(installation.startedUp(), 20000);
    QTest::qWait(300);
    Installation::stop(second);
    QCOMPARE(installation.query(liveDav).toInt(), 2);

    // Not yet done: the next start collapses them and marks it done.
    QVERIFY(installation.exec(
        QStringLiteral("UPDATE settings SET value = '0' WHERE key = 'sync/accountsDedupedV1'")));
    QProcess *third = installation.start({});
    QVERIFY(third);
    QTRY_VERIFY_WITH_TIMEOUT(installation.startedUp(), 20000);
    QCOMPARE(installation.query(liveDav).toInt(), 1);
    QCOMPARE(installation
                 .query(QStringLiteral("SELECT id FROM accounts WHERE type = 'caldav' "
                                       "AND deleted_at IS NULL"))
                 .toString(),
             QStringLiteral("dav-1"));
}

void TestStartup::updateCheckAsksTheConfiguredFeedAfterStart()
{
    LarkTest::FakeHttpServer feed;
    QVERIFY(feed.listen());
    feed.route("GET", QStringLiteral("/releases/calendar/stable/latest.json"),
               LarkTest::FakeReply::empty(500));
    Installation installation;
    QVERIFY(installation.isValid());
    installation.env().insert(QStringLiteral("UPDATE_FEED_URL"),
                              feed.url(QStringLiteral("/releases/")).toString());
    QProcess *first = installation.start({});
    QVERIFY(first);
    QTRY_VERIFY_WITH_TIMEOUT(installation.startedUp(), 20000);
    QTRY_COMPARE_WITH_TIMEOUT(feed.requestCount(), 1, 10000);
    QCOMPARE(feed.requests().first().method, QByteArray("GET"));
    // A failed check is only logged; the program runs on.
    QByteArray log;
    QTRY_VERIFY_WITH_TIMEOUT(
        (log += first->readAllStandardError()).contains("update check failed:"), 5000);
    QCOMPARE(feed.requestCount(), 1);
    QCOMPARE(first->state(), QProcess::Running);
}

void TestStartup::nothingLeavesWithoutConfiguredAddresses_data()
{
    QTest::addColumn<QString>("updateFeed");
    QTest::addColumn<int>("requests");
    // The control row shows that the proxy below does catch what the program sends.
    QTest::newRow("update feed configured") << "http://updates.invalid/" << 1;
    QTest::newRow("nothing configured") << "" << 0;
}

void TestStartup::nothingLeavesWithoutConfiguredAddresses()
{
    QFETCH(QString, updateFeed);
    QFETCH(int, requests);

    // Every web request of the program goes through this proxy, on the loopback address.
    LarkTest::FakeHttpServer proxy;
    QVERIFY(proxy.listen());
    proxy.setFallback(
        [](const LarkTest::RecordedRequest &) { return LarkTest::FakeReply::empty(404); });
    Installation installation;
    QVERIFY(installation.isValid());
    const QString proxyUrl = proxy.url().toString();
    for (const char *name :
         {"http_proxy", "https_proxy", "all_proxy", "HTTP_PROXY", "HTTPS_PROXY", "ALL_PROXY"})
        installation.env().insert(QString::fromLatin1(name), proxyUrl);
    installation.env().remove(QStringLiteral("no_proxy"));
    installation.env().remove(QStringLiteral("NO_PROXY"));
    if (!updateFeed.isEmpty())
        installation.env().insert(QStringLiteral("UPDATE_FEED_URL"), updateFeed);
    // The development instance keeps the update client's own line on what it did.
    installation.env().insert(QStringLiteral("CALENDAR_INSTANCE"), QStringLiteral("dev"));
    QProcess *first = installation.start({});
    QVERIFY(first);
    QByteArray log;
    QTRY_VERIFY_WITH_TIMEOUT((log += first->readAllStandardError()).contains("larkupdate")
                                 && (updateFeed.isEmpty() || proxy.requestCount() > 0),
                             10000);
    QCOMPARE(proxy.requestCount(), requests);
    if (requests > 0)
        QVERIFY(proxy.requests().first().target.contains("updates.invalid/calendar/stable/"));
    QCOMPARE(first->state(), QProcess::Running);
}

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_Startup.moc"
