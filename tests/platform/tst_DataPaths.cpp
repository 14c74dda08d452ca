#include "platform/DataPaths.h"
#include "platform/DesktopEntry.h"
#include "support/TestFiles.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using LarkTest::readFile;
using LarkTest::writeFile;

namespace {

const QByteArray kEnvNames[] = {"CALENDAR_DATA_DIR", "CALENDAR_INSTANCE", "XDG_CONFIG_HOME",
                                "XDG_DATA_HOME",     "XDG_RUNTIME_DIR",   "TMPDIR"};

void setEnv(const char *name, const QByteArray &value, bool set = true)
{
    if (set)
        qputenv(name, value);
    else
        qunsetenv(name);
}

} // namespace

class TestDataPaths : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void dataDirectory_data();
    void dataDirectory();
    void instanceNames_data();
    void instanceNames();
    void runtimeFolder_data();
    void runtimeFolder();

    void launchAtLoginEntry();
    void launchAtLoginState_data();
    void launchAtLoginState();
    void execQuoting_data();
    void execQuoting();
    void icsAssociationEntry();
    void defaultApplicationMerge_data();
    void defaultApplicationMerge();
    void launcherRunsTheCommandLines();
    void failedWritesAreReported();
    void oneHolderPerDatabase_data();
    void oneHolderPerDatabase();

private:
    QHash<QByteArray, std::optional<QByteArray>> m_savedEnv;
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_program;
};

void TestDataPaths::init()
{
    for (const QByteArray &name : kEnvNames)
        m_savedEnv.insert(name,
                          qEnvironmentVariableIsSet(name.constData())
                              ? std::optional<QByteArray>(qgetenv(name.constData()))
                              : std::nullopt);
    m_dir = std::make_unique<QTemporaryDir>();
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir->filePath(QStringLiteral("config"))));
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_dir->filePath(QStringLiteral("data"))));
    qunsetenv("CALENDAR_INSTANCE");
    m_program = QStringLiteral("/opt/Larkspindle Calendar/bin/calendar app");
}

void TestDataPaths::cleanup()
{
    for (auto it = m_savedEnv.cbegin(); it != m_savedEnv.cend(); ++it)
        setEnv(it.key().constData(), it.value().value_or(QByteArray()), it.value().has_value());
    m_dir.reset();
}

void TestDataPaths::dataDirectory_data()
{
    QTest::addColumn<bool>("set");
    QTest::addColumn<QString>("value"); // relative to the temporary folder
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("created");
    QTest::newRow("override, nested and not yet there")
        << true << QStringLiteral("a/b c/d\u00fc") << QStringLiteral("a/b c/d\u00fc") << true;
    QTest::newRow("unset") << false << QString() << QStringLiteral("data/Larkspindle/Calendar")
                           << true;
    QTest::newRow("empty counts as unset")
        << true << QString() << QStringLiteral("data/Larkspindle/Calendar") << true;
    QTest::newRow("below a regular file: returned, not created")
        << true << QStringLiteral("file/sub") << QStringLiteral("file/sub") << false;
}

void TestDataPaths::dataDirectory()
{
    QFETCH(bool, set);
    QFETCH(QString, value);
    QFETCH(QString, expected);
    QFETCH(bool, created);
    QVERIFY(writeFile(m_dir->filePath(QStringLiteral("file")), "x"));
    setEnv("CALENDAR_DATA_DIR", value.isEmpty() ? QByteArray() : m_dir->filePath(value).toUtf8(),
           set);

    QCOMPARE(::dataDirectory(), m_dir->filePath(expected));
    QCOMPARE(QFileInfo(m_dir->filePath(expected)).isDir(), created);
    QCOMPARE(databasePath(), m_dir->filePath(expected) + QStringLiteral("/calendar.db"));
}

void TestDataPaths::runtimeFolder_data()
{
    QTest::addColumn<QString>("runtime"); // XDG_RUNTIME_DIR: unset, private, open or link
    QTest::addColumn<QString>("own"); // our own folder beforehand: none, open, link, foreign
    QTest::addColumn<QString>("expected"); // runtime, own or none
    QTest::addColumn<int>("ownMode"); // of our own folder afterwards; -1: not there
    QTest::newRow("private runtime folder") << "private"
                                            << "none"
                                            << "runtime" << -1;
    QTest::newRow("runtime folder unset") << "unset"
                                          << "none"
                                          << "own" << 0700;
    QTest::newRow("runtime folder open to others") << "open"
                                                   << "none"
                                                   << "own" << 0700;
    QTest::newRow("runtime folder is a link") << "link"
                                              << "none"
                                              << "own" << 0700;
    QTest::newRow("own folder left open is narrowed") << "unset"
                                                      << "open"
                                                      << "own" << 0700;
    QTest::newRow("own folder replaced by a link") << "unset"
                                                   << "link"
                                                   << "none" << 0777;
    QTest::newRow("own folder made by another user") << "unset"
                                                     << "foreign"
                                                     << "none" << 0777;
}

void TestDataPaths::runtimeFolder()
{
    QFETCH(QString, runtime);
    QFETCH(QString, own);
    QFETCH(QString, expected);
    QFETCH(int, ownMode);
    if (own == QLatin1String("foreign") && ::geteuid() != 0)
        QSKIP("only root can make a folder that belongs to another user");
    const QString tmp = m_dir->filePath(QStringLiteral("tmp"));
    const QString runtimeDir = m_dir->filePath(QStringLiteral("runtime"));
    const QString target = m_dir->filePath(QStringLiteral("elsewhere"));
    const QString ownDir = tmp + QStringLiteral("/larkspindle-") + QString::number(::geteuid());
    QVERIFY(QDir().mkpath(tmp) && QDir().mkpath(target));
    QVERIFY(::chmod(QFile::encodeName(target).constData(), 0700) == 0);
    qputenv("TMPDIR", QFile::encodeName(tmp));
    setEnv("XDG_RUNTIME_DIR", QFile::encodeName(runtimeDir), runtime != QLatin1String("unset"));
    if (runtime == QLatin1String("link")) {
        QVERIFY(QFile::link(target, runtimeDir));
    } else if (runtime != QLatin1String("unset")) {
        QVERIFY(QDir().mkpath(runtimeDir));
        QVERIFY(::chmod(QFile::encodeName(runtimeDir).constData(),
                        runtime == QLatin1String("open") ? 0755 : 0700)
                == 0);
    }
    if (own == QLatin1String("link")) {
        QVERIFY(QFile::link(target, ownDir));
    } else if (own != QLatin1String("none")) {
        QVERIFY(QDir().mkpath(ownDir));
        QVERIFY(::chmod(QFile::encodeName(ownDir).constData(), 0777) == 0);
        if (own == QLatin1String("foreign"))
            QVERIFY(::chown(QFile::encodeName(ownDir).constData(), 65534, 65534) == 0);
    }
    const int runtimeMode = LarkTest::fileMode(runtimeDir);

    QString reason;
    const QString folder = privateRuntimeDirectory(&reason);
    const QString wanted = expected == QLatin1String("runtime") ? runtimeDir
        : expected == QLatin1String("own")                      ? ownDir
                                                                : QString();
    QCOMPARE(folder, wanted);
    QCOMPARE(reason.isEmpty(), !wanted.isEmpty());
    QCOMPARE(LarkTest::fileMode(ownDir), ownMode);
    // The session's folder is looked at, never changed.
    QCOMPARE(LarkTest::fileMode(runtimeDir), runtimeMode);
}

void TestDataPaths::instanceNames_data()
{
    QTest::addColumn<bool>("set");
    QTest::addColumn<QByteArray>("instance");
    QTest::addColumn<bool>("dev");
    QTest::addColumn<QString>("identifier");
    QTest::addColumn<QString>("valueName");
    QTest::newRow("unset") << false << QByteArray() << false
                           << QStringLiteral("com.larkspindle.calendar")
                           << QStringLiteral("LarkspindleCalendar");
    QTest::newRow("empty") << true << QByteArray() << false
                           << QStringLiteral("com.larkspindle.calendar")
                           << QStringLiteral("LarkspindleCalendar");
    QTest::newRow("dev") << true << QByteArray("dev") << true
                         << QStringLiteral("com.larkspindle.calendar.dev")
                         << QStringLiteral("LarkspindleCalendar-dev");
    QTest::newRow("Dev is not the development instance")
        << true << QByteArray("Dev") << false << QStringLiteral("com.larkspindle.calendar.Dev")
        << QStringLiteral("LarkspindleCalendar-Dev");
    QTest::newRow("UTF-8 name") << true << QByteArray("b\xc3\xbcro") << false
                                << QStringLiteral("com.larkspindle.calendar.b\u00fcro")
                                << QStringLiteral("LarkspindleCalendar-b\u00fcro");
}

void TestDataPaths::instanceNames()
{
    QFETCH(bool, set);
    QFETCH(QByteArray, instance);
    QFETCH(bool, dev);
    QFETCH(QString, identifier);
    QFETCH(QString, valueName);
    qunsetenv("CALENDAR_DATA_DIR");
    const QString defaultDataDir = ::dataDirectory();

    setEnv("CALENDAR_INSTANCE", instance, set);
    QCOMPARE(isDevInstance(), dev);
    QCOMPARE(applicationIdentifier(), identifier);
    QCOMPARE(launchAtLoginValueName(), valueName);
    QCOMPARE(launchAtLoginEntryPath(),
             m_dir->filePath(QStringLiteral("config/autostart/")) + valueName
                 + QStringLiteral(".desktop"));
    // Instances share the data directory.
    QCOMPARE(::dataDirectory(), defaultDataDir);
}

void TestDataPaths::launchAtLoginEntry()
{
    qputenv("CALENDAR_INSTANCE", "dev");
    QVERIFY(!isLaunchAtLoginEnabled());
    QVERIFY(setLaunchAtLogin(true, m_program));
    const QString path
        = m_dir->filePath(QStringLiteral("config/autostart/LarkspindleCalendar-dev.desktop"));
    QCOMPARE(readFile(path),
             QByteArray("[Desktop Entry]\n"
                        "Type=Application\n"
                        "Name=Larkspindle Calendar\n"
                        "Exec=\"/opt/Larkspindle Calendar/bin/calendar app\" "
                        "--background\n"));
    QVERIFY(isLaunchAtLoginEnabled());
    // The default instance has its own entry.
    qunsetenv("CALENDAR_INSTANCE");
    QVERIFY(!isLaunchAtLoginEnabled());
    qputenv("CALENDAR_INSTANCE", "dev");

    QVERIFY(setLaunchAtLogin(false, m_program));
    QVERIFY(!QFile::exists(path));
    QVERIFY(!isLaunchAtLoginEnabled());
    QVERIFY(setLaunchAtLogin(false, m_program)); // already off
}

void TestDataPaths::launchAtLoginState_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("command") << QByteArray("[Desktop Entry]\nType=Application\nExec=calendar\n")
                             << true;
    QTest::newRow("empty command") << QByteArray("[Desktop Entry]\nExec=\n") << false;
    QTest::newRow("blank command") << QByteArray("[Desktop Entry]\nExec=   \n") << false;
    QTest::newRow("no command") << QByteArray("[Desktop Entry]\nType=Application\n") << false;
    QTest::newRow("hidden") << QByteArray("[Desktop Entry]\nExec=calendar\nHidden=true\n") << false;
    QTest::newRow("switched off in the session settings")
        << QByteArray("[Desktop Entry]\nExec=calendar\nX-GNOME-Autostart-enabled=false\n") << false;
    QTest::newRow("command in another group")
        << QByteArray("[Desktop Action x]\nExec=calendar\n[Desktop Entry]\nType=Application\n")
        << false;
    QTest::newRow("empty file") << QByteArray() << false;
}

void TestDataPaths::launchAtLoginState()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, enabled);
    QVERIFY(writeFile(launchAtLoginEntryPath(), content));
    QCOMPARE(isLaunchAtLoginEnabled(), enabled);
}

void TestDataPaths::execQuoting_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QByteArray>("execLine");
    QTest::newRow("plain path is still quoted")
        << QStringLiteral("/usr/bin/calendar")
        << QByteArray(R"(Exec="/usr/bin/calendar" --ics %f)");
    QTest::newRow("blanks") << QStringLiteral("/opt/My Apps/calendar")
                            << QByteArray(R"(Exec="/opt/My Apps/calendar" --ics %f)");
    QTest::newRow("dollar, backtick and quote")
        << QStringLiteral("/opt/$x/`y`/\"z\"/calendar")
        << QByteArray(R"(Exec="/opt/\\$x/\\`y\\`/\\"z\\"/calendar" --ics %f)");
    QTest::newRow("backslash") << QStringLiteral("/opt/a\\b/calendar")
                               << QByteArray(R"(Exec="/opt/a\\\\b/calendar" --ics %f)");
    QTest::newRow("percent") << QStringLiteral("/opt/100%/calendar")
                             << QByteArray(R"(Exec="/opt/100%%/calendar" --ics %f)");
    QTest::newRow("single quote and non-ASCII")
        << QStringLiteral("/home/zo\u00eb/it's/calendar")
        << QStringLiteral("Exec=\"/home/zo\u00eb/it's/calendar\" --ics %f").toUtf8();
}

void TestDataPaths::execQuoting()
{
    QFETCH(QString, program);
    QFETCH(QByteArray, execLine);
    QVERIFY(registerIcsFileAssociation(program));
    const QList<QByteArray> lines = readFile(icsDesktopEntryPath()).split('\n');
    QVERIFY2(lines.contains(execLine), readFile(icsDesktopEntryPath()).constData());
}

void TestDataPaths::icsAssociationEntry()
{
    QVERIFY(registerIcsFileAssociation(m_program));
    QCOMPARE(icsDesktopEntryPath(),
             m_dir->filePath(QStringLiteral("data/applications/LarkspindleCalendar.desktop")));
    QCOMPARE(readFile(icsDesktopEntryPath()),
             QByteArray("[Desktop Entry]\n"
                        "Type=Application\n"
                        "Name=Larkspindle Calendar\n"
                        "Exec=\"/opt/Larkspindle Calendar/bin/calendar app\" --ics %f\n"
                        "MimeType=text/calendar;\n"
                        "NoDisplay=true\n"));
    QCOMPARE(readFile(m_dir->filePath(QStringLiteral("config/mimeapps.list"))),
             QByteArray("[Default Applications]\ntext/calendar=LarkspindleCalendar.desktop;\n"));
    // Registering again on the next start changes nothing.
    QVERIFY(registerIcsFileAssociation(m_program));
    QCOMPARE(readFile(m_dir->filePath(QStringLiteral("config/mimeapps.list"))),
             QByteArray("[Default Applications]\ntext/calendar=LarkspindleCalendar.desktop;\n"));
}

void TestDataPaths::defaultApplicationMerge_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    const QByteArray ours = "text/calendar=LarkspindleCalendar.desktop;\n";
    QTest::newRow("other groups only")
        << QByteArray("[Added Associations]\ntext/plain=editor.desktop;\n")
        << "[Added Associations]\ntext/plain=editor.desktop;\n\n[Default Applications]\n" + ours;
    QTest::newRow("other types kept, ours added at the group's end")
        << QByteArray("[Default Applications]\ntext/html=browser.desktop\n\n[Removed "
                      "Associations]\ntext/calendar=x.desktop;\n")
        << "[Default Applications]\ntext/html=browser.desktop\n" + ours
            + "\n[Removed Associations]\ntext/calendar=x.desktop;\n";
    const QByteArray usersChoice
        = "# mine\n[Default Applications]\ntext/calendar = other.desktop;\n"
          "text/html=browser.desktop\n";
    QTest::newRow("the user's own default stands") << usersChoice << usersChoice;
    QTest::newRow("an empty default counts as none")
        << QByteArray("[Default Applications]\ntext/calendar=\nimage/png=v.desktop\n")
        << "[Default Applications]\ntext/calendar=\nimage/png=v.desktop\n" + ours;
    QTest::newRow("no line feed at the end")
        << QByteArray("[Default Applications]\ntext/html=browser.desktop")
        << "[Default Applications]\ntext/html=browser.desktop\n" + ours;
}

void TestDataPaths::defaultApplicationMerge()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    QVERIFY(writeFile(mimeAppsListPath(), before));
    QVERIFY(registerIcsFileAssociation(m_program));
    QCOMPARE(readFile(mimeAppsListPath()), after);
}

// Lets GLib's desktop-entry launcher, an implementation independent of ours, read the entries
// and start a stand-in program, which records the arguments it was given. (A "%" in the program's
// folder is left to the exact-text rows: GLib looks the program up before it undoes "%%".)
void TestDataPaths::launcherRunsTheCommandLines()
{
    const QString binDir = m_dir->filePath(QStringLiteral("bin dir/$x `y` \"q\" it's \\z"));
    QVERIFY(QDir().mkpath(binDir));
    const QString program = binDir + QStringLiteral("/calendar app");
    const QString record = m_dir->filePath(QStringLiteral("args"));
    QVERIFY(
        writeFile(program,
                  "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$RECORD.tmp\"\n"
                  "mv \"$RECORD.tmp\" \"$RECORD\"\n"));
    QVERIFY(QFile::setPermissions(
        program, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
    const QString icsFile = m_dir->filePath(QStringLiteral("my events/week 1.ics"));
    QVERIFY(writeFile(icsFile, "BEGIN:VCALENDAR\r\nEND:VCALENDAR\r\n"));

    QVERIFY(registerIcsFileAssociation(program));
    QVERIFY(setLaunchAtLogin(true, program));

    const auto launch = [&](const QString &entry, const QStringList &files) -> QByteArray {
        QFile::remove(record);
        QProcess python;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("RECORD"), record);
        python.setProcessEnvironment(env);
        const QString script
            = QStringLiteral("import sys, gi\n"
                             "gi.require_version('Gio', '2.0')\n"
                             "from gi.repository import Gio\n"
                             "app = Gio.DesktopAppInfo.new_from_filename(sys.argv[1])\n"
                             "files = [Gio.File.new_for_path(p) for p in sys.argv[2:]]\n"
                             "sys.exit(0 if app.launch(files, None) else 1)\n");
        python.start(QStringLiteral("/usr/bin/python3"),
                     QStringList {QStringLiteral("-c"), script, entry} + files);
        if (!python.waitForFinished(20000) || python.exitCode() != 0)
            return "launcher failed: " + python.readAllStandardError();
        QFile out(record);
        for (int i = 0; i < 200 && !out.exists(); ++i)
            QTest::qWait(50);
        return readFile(record);
    };
    QCOMPARE(launch(icsDesktopEntryPath(), {icsFile}), "--ics\n" + icsFile.toUtf8() + '\n');
    QCOMPARE(launch(launchAtLoginEntryPath(), {}), QByteArray("--background\n"));
}

void TestDataPaths::failedWritesAreReported()
{
    const QString blocker = m_dir->filePath(QStringLiteral("plain-file"));
    QVERIFY(writeFile(blocker, "x"));

    qputenv("XDG_CONFIG_HOME", QFile::encodeName(blocker + QStringLiteral("/config")));
    QVERIFY(!setLaunchAtLogin(true, m_program));
    QVERIFY(!isLaunchAtLoginEnabled());
    QVERIFY(!registerIcsFileAssociation(m_program)); // mimeapps.list cannot be written

    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir->filePath(QStringLiteral("config"))));
    qputenv("XDG_DATA_HOME", QFile::encodeName(blocker + QStringLiteral("/data")));
    QVERIFY(!registerIcsFileAssociation(m_program)); // the desktop entry cannot be written

    // A mimeapps.list that cannot be read is not replaced.
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_dir->filePath(QStringLiteral("data"))));
    QVERIFY(QDir().mkpath(mimeAppsListPath()));
    QVERIFY(!registerIcsFileAssociation(m_program));
    QVERIFY(QFileInfo(mimeAppsListPath()).isDir());
}

using Refusal = DataFolderLockAttempt::Refusal;
Q_DECLARE_METATYPE(Refusal)

void TestDataPaths::oneHolderPerDatabase_data()
{
    // Where the lock file and the database are: "folder" (a plain data folder), "below file"
    // (below a regular file: nothing can be made there), "is folder" (a folder in the way).
    QTest::addColumn<QString>("lockAt");
    QTest::addColumn<QString>("databaseAt");
    QTest::addColumn<int>("lockAgeSeconds");
    QTest::addColumn<Refusal>("first");
    QTest::addColumn<Refusal>("second");
    QTest::addColumn<bool>("secondNamesHolder");

    QTest::newRow("lock file") << QStringLiteral("folder") << QStringLiteral("folder") << 0
                               << Refusal::None << Refusal::Running << true;
    // An old lock is not a stale one: the holder runs as long as it likes.
    QTest::newRow("lock file a minute old") << QStringLiteral("folder") << QStringLiteral("folder")
                                            << 60 << Refusal::None << Refusal::Running << true;
    QTest::newRow("no lock file can be made")
        << QStringLiteral("below file") << QStringLiteral("folder") << 0 << Refusal::None
        << Refusal::Running << false;
    QTest::newRow("nothing can be locked")
        << QStringLiteral("below file") << QStringLiteral("below file") << 0 << Refusal::CannotLock
        << Refusal::CannotLock << false;
    QTest::newRow("lock path is a folder")
        << QStringLiteral("is folder") << QStringLiteral("folder") << 0 << Refusal::UnreadableLock
        << Refusal::UnreadableLock << false;
    QTest::newRow("lock file is a link") << QStringLiteral("link") << QStringLiteral("folder") << 0
                                         << Refusal::Link << Refusal::Link << false;
}

// Two starts on one database: the second never runs beside the first, and once the first is
// gone the next one does.
void TestDataPaths::oneHolderPerDatabase()
{
    QFETCH(QString, lockAt);
    QFETCH(QString, databaseAt);
    QFETCH(int, lockAgeSeconds);
    QFETCH(Refusal, first);
    QFETCH(Refusal, second);
    QFETCH(bool, secondNamesHolder);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString blocker = dir.filePath(QStringLiteral("file"));
    QVERIFY(writeFile(blocker, "x"));
    const auto place = [&](const QString &at, const QString &name) -> QString {
        return (at == QLatin1String("below file") ? blocker : dir.path()) + QLatin1Char('/') + name;
    };
    const QString lockPath = place(lockAt, QStringLiteral("calendar.lock"));
    const QString databasePath = place(databaseAt, QStringLiteral("calendar.db"));
    if (lockAt == QLatin1String("is folder"))
        QVERIFY(QDir().mkdir(lockPath));
    if (lockAt == QLatin1String("link"))
        QVERIFY(QFile::link(blocker, lockPath));
    const auto lock = [&] {
        if (lockAt == QLatin1String("below file"))
            QTest::ignoreMessage(QtWarningMsg,
                                 QRegularExpression(QStringLiteral("cannot make the lock")));
        return lockDataDirectory(lockPath, databasePath);
    };

    DataFolderLockAttempt held = lock();
    QCOMPARE(held.refusal, first);
    QCOMPARE(bool(held.lock), first == Refusal::None);
    QCOMPARE(held.lockIsFolder, lockAt == QLatin1String("is folder"));
    if (first == Refusal::CannotLock)
        QCOMPARE(held.problem, QStringLiteral("Not a directory"));

    const QDateTime lockTime = QDateTime::currentDateTimeUtc().addSecs(-lockAgeSeconds);
    if (lockAgeSeconds > 0) {
        // What a holder whose file system keeps no native locks leaves: the same lock file,
        // naming a running process (this one), only old.
        const QByteArray holder = readFile(lockPath);
        QVERIFY(!holder.isEmpty());
        held.lock.reset();
        QVERIFY(writeFile(lockPath, holder));
        QFile lockFile(lockPath);
        QVERIFY(lockFile.open(QIODevice::ReadWrite));
        QVERIFY(lockFile.setFileTime(lockTime, QFileDevice::FileModificationTime));
    }

    const DataFolderLockAttempt other = lock();
    QCOMPARE(other.refusal, second);
    QVERIFY(!other.lock);
    QCOMPARE(other.holderPid, secondNamesHolder ? QCoreApplication::applicationPid() : 0);
    if (lockAgeSeconds > 0)
        QCOMPARE(QFileInfo(lockPath).lastModified().toUTC().toSecsSinceEpoch(),
                 lockTime.toSecsSinceEpoch());

    QCOMPARE(readFile(blocker), QByteArray("x"));
    if (!held.lock)
        return;
    held.lock.reset();
    QVERIFY(lock().lock);
}

QTEST_GUILESS_MAIN(TestDataPaths)
#include "tst_DataPaths.moc"
