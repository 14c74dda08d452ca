// Starts the built program as a user would, each test with its own data folder and instance
// name, and watches what it does from outside: exit codes, the database, the log.

#include "Installation.h"
#include "support/FakeHttpServer.h"
#include "support/SessionBus.h"
#include "support/TestFiles.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDir>
#include <QTest>

namespace {

// The desktop's notification service as the program sees it on a private bus: it records each
// notification and answers only when the test lets it, so the test sees what happens between.
class FakeNotifications : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    QStringList shown; // "<summary>|<body>"
    QList<QDBusMessage> held;

public slots:
    uint Notify(const QString &, uint, const QString &, const QString &summary, const QString &body,
                const QStringList &, const QVariantMap &, int)
    {
        shown << summary + QLatin1Char('|') + body;
        setDelayedReply(true);
        held << message();
        return 0;
    }
    QStringList GetCapabilities() { return {QStringLiteral("actions")}; }
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
    void dueRemindersWithoutATrayReachTheUserOnce();
    void oneProgramPerDataFolder();
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
    QProcess *first = installation.startUp();
    QVERIFY(first);

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
    QProcess *first = installation.startUp();
    QVERIFY(first);

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
    QProcess *first = installation.startUp();
    QVERIFY(first);
    const QByteArray log = Installation::stop(first);
    // The database path is logged at info level while the state starts.
    QCOMPARE(log.contains("Opening database at:"), infoShown);
}

void TestStartup::accountCleanUpRunsOnce()
{
    Installation installation;
    QVERIFY(installation.isValid());
    QProcess *first = installation.startUp();
    QVERIFY(first);
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
    QProcess *second = installation.startUp();
    QVERIFY(second);
    QTest::qWait(300);
    Installation::stop(second);
    QCOMPARE(installation.query(liveDav).toInt(), 2);

    // Not yet done: the next start collapses them and marks it done.
    QVERIFY(installation.exec(
        QStringLiteral("UPDATE settings SET value = '0' WHERE key = 'sync/accountsDedupedV1'")));
    QProcess *third = installation.startUp();
    QVERIFY(third);
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
    QProcess *first = installation.startUp();
    QVERIFY(first);
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

// Without a tray (the offscreen platform has none) a due reminder goes to the desktop's
// notification service; with none on the bus it waits for the main window. Either way it is
// acknowledged only once the user could see it.
void TestStartup::dueRemindersWithoutATrayReachTheUserOnce()
{
    Installation installation;
    QVERIFY(installation.isValid());
    installation.env().insert(QStringLiteral("QT_LOGGING_RULES"),
                              QStringLiteral("default.info=true"));
    QProcess *first = installation.startUp();
    QVERIFY(first);
    Installation::stop(first);
    const QString calendar
        = installation.query(QStringLiteral("SELECT id FROM calendars LIMIT 1")).toString();
    QVERIFY(!calendar.isEmpty());
    // The program has no clock of the test's: the reminders are due by the real one.
    const auto addDue = [&](const QString &id, const QString &title) {
        const QDateTime now = QDateTime::currentDateTimeUtc();
        return installation.exec(
                   QStringLiteral("INSERT INTO events (id, calendar_id, uid, title, start_time, "
                                  "raw_icalendar) VALUES ('%1', '%2', '%1', '%3', '%4', '')")
                       .arg(id, calendar, title,
                            now.addSecs(600).toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss'Z'"))))
            && installation.exec(
                QStringLiteral("INSERT INTO reminders (id, event_id, minutes_before, "
                               "trigger_time) VALUES ('r-%1', '%1', 10, '%2')")
                    .arg(id, now.addSecs(-5).toString(Qt::ISODate)));
    };
    const auto acknowledged = [&](const QString &id) {
        return installation
                   .query(QStringLiteral("SELECT acknowledged FROM reminders WHERE id = 'r-%1'")
                              .arg(id))
                   .toInt()
            == 1;
    };

    // No notification service and the window hidden: the reminder waits, unacknowledged.
    QVERIFY(addDue(QStringLiteral("dentist"), QStringLiteral("Dentist")));
    QProcess *hidden = installation.start({QStringLiteral("--background")});
    QVERIFY(hidden);
    QByteArray log;
    QTRY_VERIFY_WITH_TIMEOUT(
        (log += hidden->readAllStandardError()).contains("1 reminder(s) waiting"), 30000);
    QVERIFY(!acknowledged(QStringLiteral("dentist")));
    // A second start shows the window, and the missed reminder is listed beside it. The
    // acknowledgement is written after the second start has come and gone: it stays written.
    QCOMPARE(installation.run({}), 0);
    QTRY_VERIFY_WITH_TIMEOUT(acknowledged(QStringLiteral("dentist")), 10000);
    Installation::stop(hidden);
    QVERIFY(acknowledged(QStringLiteral("dentist")));

    // A notification service on the session bus.
    LarkTest::SessionBus bus;
    QString busError;
    QVERIFY2(bus.start(&busError), qPrintable(busError));
    const QString address = bus.address();
    {
        QDBusConnection connection
            = QDBusConnection::connectToBus(address, QStringLiteral("fake-notifications"));
        QVERIFY(connection.isConnected());
        FakeNotifications fake;
        QVERIFY(connection.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &fake,
                                          QDBusConnection::ExportAllSlots));
        QVERIFY(connection.registerService(QStringLiteral("org.freedesktop.Notifications")));
        installation.env().insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address);

        QVERIFY(addDue(QStringLiteral("standup"), QStringLiteral("Standup")));
        QProcess *shown = installation.start({});
        QVERIFY(shown);
        QTRY_COMPARE_WITH_TIMEOUT(fake.shown.size(), 1, 30000);
        QVERIFY(fake.shown.first().startsWith(QStringLiteral("Standup|In ")));
        // Not yet shown as far as the program knows.
        QTest::qWait(500);
        QVERIFY(!acknowledged(QStringLiteral("standup")));
        connection.send(fake.held.first().createReply(uint(7)));
        QTRY_VERIFY_WITH_TIMEOUT(acknowledged(QStringLiteral("standup")), 10000);
        Installation::stop(shown);
        QCOMPARE(fake.shown.size(), 1);
    }
    QDBusConnection::disconnectFromBus(QStringLiteral("fake-notifications"));
}

// A second start on the same data folder that cannot reach the first one's socket (another
// session: another runtime folder) refuses instead of opening the database beside it; a lock
// left by a killed program does not stop the next start.
void TestStartup::oneProgramPerDataFolder()
{
    Installation installation;
    QVERIFY(installation.isValid());
    installation.env().insert(QStringLiteral("QT_LOGGING_RULES"),
                              QStringLiteral("default.info=true"));
    QProcess *first = installation.startUp();
    QVERIFY(first);

    QTemporaryDir otherRuntime;
    installation.env().insert(QStringLiteral("XDG_RUNTIME_DIR"), otherRuntime.path());
    QVERIFY(QFile::setPermissions(otherRuntime.path(),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    QProcess *second = installation.start({QStringLiteral("--quick-add=Twice 3pm")});
    QVERIFY(second);
    const QByteArray refusal
        = QByteArray("is in use by process ") + QByteArray::number(first->processId());
    QByteArray log;
    // It says that it waits before it gives up.
    QTRY_VERIFY_WITH_TIMEOUT((log += second->readAllStandardError()).contains("start waits"), 5000);
    QVERIFY(!log.contains(refusal));
    QTRY_VERIFY_WITH_TIMEOUT((log += second->readAllStandardError()).contains(refusal), 30000);
    QVERIFY(!log.contains("Opening database at:"));
    QCOMPARE(installation.eventsTitled(QStringLiteral("Twice")), 0);
    // The refused program answers no second start: that one is refused the same way.
    QProcess *refused = installation.start({QStringLiteral("--quick-add=Thrice 3pm")});
    QVERIFY(refused);
    log.clear();
    QTRY_VERIFY_WITH_TIMEOUT((log += refused->readAllStandardError()).contains(refusal), 30000);
    Installation::stop(refused);
    Installation::stop(second);
    QCOMPARE(first->state(), QProcess::Running);

    // Killed, the first leaves its lock behind: the next start takes it over.
    first->kill();
    QVERIFY(first->waitForFinished(5000));
    QVERIFY(QFileInfo::exists(installation.dataDir() + QStringLiteral("/calendar.lock")));
    QProcess *third = installation.start({QStringLiteral("--quick-add=After 3pm")});
    QVERIFY(third);
    QTRY_COMPARE_WITH_TIMEOUT(installation.eventsTitled(QStringLiteral("After")), 1, 60000);
    QCOMPARE(third->state(), QProcess::Running);

    // Quick adds wait behind another program's write; the system ends the program meanwhile
    // (as a session's end does): it quits as File > Quit does, and the next start adds them.
    {
        QSqlDatabase other
            = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other-writer"));
        other.setDatabaseName(installation.databasePath());
        QVERIFY(other.open());
        QSqlQuery lock(other);
        QVERIFY(lock.exec(QStringLiteral("BEGIN IMMEDIATE")));
        for (int i = 1; i <= 3; ++i)
            QCOMPARE(installation.run({QStringLiteral("--quick-add=Held%1 3pm").arg(i)}), 0);
        const QString kept = installation.dataDir() + QStringLiteral("/quick-add-waiting.json");
        QTRY_VERIFY(LarkTest::readFile(kept).contains("Held3"));
        third->terminate();
        QVERIFY(third->waitForFinished(15000));
        QCOMPARE(third->exitStatus(), QProcess::NormalExit);
        QVERIFY(lock.exec(QStringLiteral("ROLLBACK")));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("other-writer"));
    QProcess *fourth = installation.startUp();
    QVERIFY(fourth);
    for (int i = 1; i <= 3; ++i)
        QTRY_COMPARE(installation.eventsTitled(QStringLiteral("Held%1").arg(i)), 1);

    const auto says = [](QProcess *process, const QByteArray &line, int ms = 20000) {
        QByteArray log;
        return process
            && QTest::qWaitFor(
                   [&] { return (log += process->readAllStandardError()).contains(line); }, ms);
    };
    // The other writer ends during the last try on the way out: the line is stored then. Where
    // the line cannot be saved to disk (a folder of the file's name), the end is not silent.
    QSqlDatabase other
        = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("late-writer"));
    other.setDatabaseName(installation.databasePath());
    QVERIFY(other.open());
    const auto otherWriter = [&other](const char *sql) {
        return QSqlQuery(other).exec(QString::fromLatin1(sql));
    };
    const QString kept = installation.dataDir() + QStringLiteral("/quick-add-waiting.json");
    QVERIFY(otherWriter("BEGIN IMMEDIATE"));
    QCOMPARE(installation.run({QStringLiteral("--quick-add=Late 3pm")}), 0);
    QTRY_VERIFY(LarkTest::readFile(kept).contains("Late"));
    fourth->terminate();
    QVERIFY(says(fourth, "the quit waits for it", 1000));
    QVERIFY(otherWriter("ROLLBACK"));
    QTRY_COMPARE_WITH_TIMEOUT(fourth->state(), QProcess::NotRunning, 15000);
    QCOMPARE(installation.eventsTitled(QStringLiteral("Late")), 1);
    QVERIFY(!QFileInfo::exists(kept));

    QVERIFY(QDir().mkpath(kept));
    QProcess *fifth = installation.startUp();
    QVERIFY(fifth);
    QVERIFY(otherWriter("BEGIN IMMEDIATE"));
    // Neither stored nor kept: the start that handed it over hears so.
    QCOMPARE(installation.run({QStringLiteral("--quick-add=Unsaved 3pm")}), 1);
    log.clear();
    QTRY_VERIFY((log += fifth->readAllStandardError()).contains("cannot be kept"));
    fifth->terminate();
    QTRY_VERIFY_WITH_TIMEOUT(
        (log += fifth->readAllStandardError()).contains("cannot be saved to disk; asking"), 15000);
    QCOMPARE(fifth->state(), QProcess::Running);
    QVERIFY(otherWriter("ROLLBACK"));

    // A start that meets another program's write waits for it and says so; the system may end
    // it meanwhile, and the start's own quick add is kept for the next start. A second start's
    // quick add waits for it and is stored once it is up. While
    // the quit waits for that writer, a second SIGTERM ends the program at once.
    Installation::stop(fifth);
    QVERIFY(QDir(kept).removeRecursively());
    QVERIFY(otherWriter("BEGIN IMMEDIATE"));
    QProcess *ended = installation.start({QStringLiteral("--quick-add=Early 3pm")});
    QVERIFY(says(ended, "the start waits for it"));
    ended->terminate();
    QVERIFY(ended->waitForFinished(5000));
    QCOMPARE(ended->exitStatus(), QProcess::NormalExit);
    QCOMPARE(ended->exitCode(), 0);
    QProcess *waiting = installation.start({});
    QVERIFY(says(waiting, "the start waits for it"));
    QProcess *during = installation.start({QStringLiteral("--quick-add=During 3pm")});
    QVERIFY(says(during, "this start waits for it"));
    QVERIFY(otherWriter("ROLLBACK"));
    QVERIFY(during->waitForFinished(20000));
    QCOMPARE(during->exitCode(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(installation.eventsTitled(QStringLiteral("During")), 1, 10000);

    QVERIFY(otherWriter("BEGIN IMMEDIATE"));
    QCOMPARE(installation.run({QStringLiteral("--quick-add=Kept 3pm")}), 0);
    QTRY_VERIFY(LarkTest::readFile(kept).contains("Kept"));
    waiting->terminate();
    QTest::qWait(200);
    waiting->terminate();
    QVERIFY(waiting->waitForFinished(2000));
    QCOMPARE(waiting->exitStatus(), QProcess::CrashExit);
    QVERIFY(otherWriter("ROLLBACK"));
    QProcess *last = installation.startUp();
    QVERIFY(last);
    QTRY_COMPARE(installation.eventsTitled(QStringLiteral("Kept")), 1);
    QCOMPARE(installation.eventsTitled(QStringLiteral("During")), 1);
    QCOMPARE(installation.eventsTitled(QStringLiteral("Early")), 1);

    // Killed while it adds a long list of waiting lines: the next start stores each line once.
    Installation::stop(last);
    QByteArray many = "[";
    for (int n = 0; n < 3000; ++n)
        many += QStringLiteral("{\"text\":\"Many%1 3pm\"},").arg(n).toUtf8();
    many.back() = ']';
    QVERIFY(LarkTest::writeFile(kept, many));
    const QString stored = QStringLiteral("SELECT COUNT(*) FROM events WHERE title LIKE 'Many%'");
    QProcess *killed = installation.start({});
    QVERIFY(QTest::qWaitFor([&] { return installation.query(stored).toInt() > 0; }, 30000));
    killed->kill();
    QVERIFY(killed->waitForFinished(5000));
    QVERIFY(installation.startUp());
    QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(kept), 30000);
    QCOMPARE(installation.query(stored).toInt(), 3000);
}

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_Startup.moc"
