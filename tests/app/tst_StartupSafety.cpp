// The built program against another local user and hostile input: its files and its socket
// stay private, and no command or file it is handed can freeze it, grow it without bound or
// make it nest dialogs.

#include "Installation.h"
#include "support/IcsFiles.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QTest>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Far above the few tens of MiB the program needs, far below what the faults reach.
constexpr int kMemoryLimitMiB = 200;

bool makeFolder(const QString &path, mode_t mode, uid_t owner = ::geteuid(),
                gid_t group = ::getegid())
{
    const QByteArray native = QFile::encodeName(path);
    return QDir().mkpath(path) && ::chmod(native.constData(), mode) == 0
        && ::chown(native.constData(), owner, group) == 0;
}

// The unprivileged user the second-user test acts as, or why there is none.
struct SecondUser
{
    uid_t uid = 0;
    gid_t gid = 0;
    QString unusable;
};

SecondUser secondUser()
{
    SecondUser user;
    const passwd *nobody = ::getpwnam("nobody");
    if (::geteuid() != 0)
        user.unusable = QStringLiteral("the tests do not run as root, so they cannot act as "
                                       "another user");
    else if (!nobody || nobody->pw_uid == 0)
        user.unusable = QStringLiteral("this machine has no user \"nobody\"");
    else if (QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty())
        user.unusable = QStringLiteral("setpriv is not installed");
    if (!user.unusable.isEmpty())
        return user;
    user.uid = nobody->pw_uid;
    user.gid = nobody->pw_gid;
    QProcess probe;
    probe.start(QStringLiteral("setpriv"),
                {QStringLiteral("--reuid=%1").arg(user.uid),
                 QStringLiteral("--regid=%1").arg(user.gid), QStringLiteral("--clear-groups"),
                 QStringLiteral("test"), QStringLiteral("-x"), programPath()});
    if (!probe.waitForFinished(5000) || probe.exitStatus() != QProcess::NormalExit
        || probe.exitCode() != 0)
        user.unusable = QStringLiteral("user \"nobody\" cannot run %1").arg(programPath());
    return user;
}

} // namespace

class TestStartupSafety : public QObject
{
    Q_OBJECT
private slots:
    void anotherUsersInstanceNeverTradesCommands();
    void filesArePrivateUnderAnOpenUmask_data();
    void filesArePrivateUnderAnOpenUmask();
    void icsThatIsNoPlainFileChangesNothing_data();
    void icsThatIsNoPlainFileChangesNothing();
    void queuedImportsNeverNestDialogs();
};

void TestStartupSafety::anotherUsersInstanceNeverTradesCommands()
{
    const SecondUser other = secondUser();
    if (!other.unusable.isEmpty())
        QSKIP(qPrintable(other.unusable));

    // Both users share a temporary folder open to everyone, as /tmp is; everything else is
    // each user's own. The folder is made below /tmp because the test's own is closed to others.
    QTemporaryDir base(QStringLiteral("/tmp/lark-users-XXXXXX"));
    QVERIFY(base.isValid());
    QVERIFY(::chmod(QFile::encodeName(base.path()).constData(), 0755) == 0);
    const QString shared = base.filePath(QStringLiteral("shared"));
    QVERIFY(makeFolder(shared, 01777));
    Installation theirs;
    Installation mine;
    QVERIFY(theirs.isValid() && mine.isValid());
    const QString theirHome = base.filePath(QStringLiteral("nobody"));
    QVERIFY(makeFolder(theirHome, 0755, other.uid, other.gid));
    for (const char *name : {"home", "config", "data", "cache", "runtime", "calendar"})
        QVERIFY(makeFolder(theirHome + QLatin1Char('/') + QLatin1String(name), 0700, other.uid,
                           other.gid));
    const auto setFolders = [&shared](Installation &user, const QString &root) {
        for (const auto &[variable, folder] : {std::pair {"HOME", "home"},
                                               {"XDG_CONFIG_HOME", "config"},
                                               {"XDG_DATA_HOME", "data"},
                                               {"XDG_CACHE_HOME", "cache"},
                                               {"XDG_RUNTIME_DIR", "runtime"},
                                               {"CALENDAR_DATA_DIR", "calendar"}})
            user.env().insert(QLatin1String(variable),
                              root + QLatin1Char('/') + QLatin1String(folder));
        user.env().insert(QStringLiteral("TMPDIR"), shared);
    };
    setFolders(theirs, theirHome);
    // Same home folder name and instance name: the names the two would use are the same.
    theirs.env().insert(QStringLiteral("CALENDAR_INSTANCE"),
                        mine.env().value(QStringLiteral("CALENDAR_INSTANCE")));
    theirs.setLauncher({QStringLiteral("setpriv"), QStringLiteral("--reuid=%1").arg(other.uid),
                        QStringLiteral("--regid=%1").arg(other.gid),
                        QStringLiteral("--clear-groups"), QStringLiteral("--")});
    QVERIFY(theirs.start({}));
    QTRY_VERIFY_WITH_TIMEOUT(theirs.startedUp(), 20000);

    // Their program takes no command from a process of another user that reaches its socket.
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(theirs.socketPath()), 20000);
    QLocalSocket intruder;
    intruder.connectToServer(theirs.socketPath());
    QVERIFY(intruder.waitForConnected(2000));
    intruder.write("{\"cmd\":\"quick-add\",\"text\":\"Probe friday 3pm\"}\n");
    QTRY_COMPARE_WITH_TIMEOUT(intruder.state(), QLocalSocket::UnconnectedState, 5000);

    // Only root can put another user's socket into a private folder: hand theirs over to us.
    const QString runtime = theirHome + QStringLiteral("/runtime");
    QVERIFY(::chown(QFile::encodeName(runtime).constData(), 0, 0) == 0);
    setFolders(mine, mine.folder());
    mine.env().insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    QVERIFY(QDir().mkpath(mine.folder() + QStringLiteral("/home")));
    QProcess *first
        = mine.start({QStringLiteral("--quick-add"), QStringLiteral("Biopsy results friday 3pm")});
    QVERIFY(first);
    // Our command line stays with us, and we start as the running instance.
    QTRY_COMPARE_WITH_TIMEOUT(mine.query(QStringLiteral("SELECT COUNT(*) FROM events WHERE "
                                                        "title LIKE 'Biopsy%'"))
                                  .toInt(),
                              1, 20000);
    QByteArray log;
    QTRY_VERIFY_WITH_TIMEOUT((log += first->readAllStandardError()).contains("another user"), 5000);
    QCOMPARE(first->state(), QProcess::Running);
    QCOMPARE(theirs.query(QStringLiteral("SELECT COUNT(*) FROM events")).toInt(), 0);
}

void TestStartupSafety::filesArePrivateUnderAnOpenUmask_data()
{
    QTest::addColumn<bool>("existing");
    QTest::newRow("new folders and files") << false;
    QTest::newRow("existing with open modes") << true;
}

void TestStartupSafety::filesArePrivateUnderAnOpenUmask()
{
    QFETCH(bool, existing);
    Installation installation;
    QVERIFY(installation.isValid());
    const QString outer = installation.folder() + QStringLiteral("/outer");
    const QString data = outer + QStringLiteral("/inner/calendar");
    installation.env().insert(QStringLiteral("CALENDAR_DATA_DIR"), data);
    const QString db = installation.databasePath();
    const QStringList files {db, db + QStringLiteral("-wal"), db + QStringLiteral("-shm")};
    if (existing) {
        QVERIFY(makeFolder(outer, 0755) && makeFolder(outer + QStringLiteral("/inner"), 0755)
                && makeFolder(data, 0777));
        for (const QString &file : files)
            QVERIFY(LarkTest::writeFile(file, QByteArray())
                    && ::chmod(QFile::encodeName(file).constData(), 0666) == 0);
    }
    installation.setChildSetUp([] { ::umask(0); });
    QVERIFY(installation.start({}));
    QTRY_VERIFY_WITH_TIMEOUT(installation.startedUp(), 20000);

    QCOMPARE(QString::number(LarkTest::fileMode(data), 8), QStringLiteral("700"));
    for (const QString &file : files)
        QCOMPARE(QFileInfo(file).fileName() + QLatin1Char(' ')
                     + QString::number(LarkTest::fileMode(file), 8),
                 QFileInfo(file).fileName() + QStringLiteral(" 600"));
    // Folders made on the way are not open to others either (existing ones are left alone).
    QCOMPARE(LarkTest::fileMode(outer) & 0077, existing ? 0055 : 0);
}

void TestStartupSafety::icsThatIsNoPlainFileChangesNothing_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("pipe") << "pipe";
    QTest::newRow("endless device") << "/dev/zero";
    QTest::newRow("over the size limit") << "large";
}

void TestStartupSafety::icsThatIsNoPlainFileChangesNothing()
{
    QFETCH(QString, kind);
    Installation installation;
    QVERIFY(installation.isValid());
    const QString path = LarkTest::unusualIcsFile(kind, installation.folder());
    QVERIFY(!path.isEmpty());
    QProcess *first = installation.start({QStringLiteral("--ics"), path});
    QVERIFY(first);
    QTRY_VERIFY_WITH_TIMEOUT(installation.startedUp(), 20000);

    // The program still answers: a later command is carried out.
    QCOMPARE(installation.run({QStringLiteral("--quick-add=Marker friday 3pm")}), 0);
    QTRY_COMPARE_WITH_TIMEOUT(
        installation.query(QStringLiteral("SELECT COUNT(*) FROM events")).toInt(), 1, 10000);
    QCOMPARE(installation.query(QStringLiteral("SELECT title FROM events")).toString(),
             QStringLiteral("Marker"));
    QCOMPARE(first->state(), QProcess::Running);
    QCOMPARE_LT(Installation::peakMemoryMiB(first), kMemoryLimitMiB);
}

void TestStartupSafety::queuedImportsNeverNestDialogs()
{
    Installation installation;
    QVERIFY(installation.isValid());
    const QString ics = installation.folder() + QStringLiteral("/one.ics");
    QVERIFY(LarkTest::writeFile(
        ics,
        "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\nUID:one@example.org\r\n"
        "DTSTART:20250301T090000Z\r\nDTEND:20250301T100000Z\r\nSUMMARY:One\r\n"
        "END:VEVENT\r\nEND:VCALENDAR\r\n"));
    QProcess *first = installation.start({});
    QVERIFY(first);
    QTRY_VERIFY_WITH_TIMEOUT(installation.startedUp(), 20000);

    // The first import's calendar picker stays open; 1,999 more wait behind it, and the
    // quick add after them is carried out while it is open.
    QLocalSocket client;
    client.connectToServer(installation.socketPath());
    QVERIFY(client.waitForConnected(2000));
    const QByteArray line = "{\"cmd\":\"open-ics\",\"path\":\"" + ics.toUtf8() + "\"}\n";
    QByteArray commands;
    for (int i = 0; i < 2000; ++i)
        commands += line;
    commands += "{\"cmd\":\"quick-add\",\"text\":\"Marker friday 3pm\"}\n";
    QCOMPARE(client.write(commands), commands.size());
    QTRY_COMPARE_WITH_TIMEOUT(
        installation.query(QStringLiteral("SELECT COUNT(*) FROM events WHERE title = 'Marker'"))
            .toInt(),
        1, 20000);
    QCOMPARE(first->state(), QProcess::Running);
    QCOMPARE_LT(Installation::peakMemoryMiB(first), kMemoryLimitMiB);
    // Nothing was imported without the user choosing a calendar.
    QCOMPARE(installation.query(QStringLiteral("SELECT COUNT(*) FROM events")).toInt(), 1);

    // Ended before it took the file that waits: the next start takes it up.
    const QString waiting = installation.dataDir() + QStringLiteral("/import-waiting.json");
    Installation::stop(first);
    QVERIFY(LarkTest::readFile(waiting).contains("one.ics"));
    QVERIFY(installation.startUp());
    QTRY_VERIFY(!QFileInfo::exists(waiting));
}

QTEST_GUILESS_MAIN(TestStartupSafety)
#include "tst_StartupSafety.moc"
