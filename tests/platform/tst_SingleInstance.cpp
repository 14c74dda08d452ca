#include "platform/SingleInstance.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Every request signal of one SingleInstance, as "name" or "name:argument", in order.
class Recorder
{
public:
    explicit Recorder(SingleInstance *instance)
    {
        QObject::connect(instance, &SingleInstance::focusRequested, instance,
                         [this] { seen.append(QStringLiteral("focus")); });
        QObject::connect(instance, &SingleInstance::showTodayRequested, instance,
                         [this] { seen.append(QStringLiteral("show-today")); });
        QObject::connect(instance, &SingleInstance::newEventRequested, instance,
                         [this] { seen.append(QStringLiteral("new-event")); });
        QObject::connect(
            instance, &SingleInstance::quickAddRequested, instance,
            [this](const QString &t) { seen.append(QStringLiteral("quick-add:") + t); });
        QObject::connect(
            instance, &SingleInstance::openIcsRequested, instance,
            [this](const QString &p) { seen.append(QStringLiteral("open-ics:") + p); });
    }
    QStringList seen;
};

QStringList commandLine(std::initializer_list<const char *> args)
{
    QStringList list {QStringLiteral("/opt/Larkspindle Calendar/calendar")};
    for (const char *a : args)
        list.append(QString::fromUtf8(a));
    return list;
}

QByteArray quickAddLine(qsizetype totalBytes)
{
    const QByteArray head = R"({"cmd":"quick-add","text":")";
    const QByteArray tail = "\"}";
    return head + QByteArray(totalBytes - head.size() - tail.size(), 'x') + tail + '\n';
}

} // namespace

class TestSingleInstance : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void serverName_data();
    void serverName();
    void buildCommand_data();
    void buildCommand();
    void dispatchCommand_data();
    void dispatchCommand();
    void startupCommandTakesTheWireRoad_data() { buildCommand_data(); }
    void startupCommandTakesTheWireRoad();

    void secondInstanceForwards_data() { buildCommand_data(); }
    void secondInstanceForwards();
    void relativePathArrivesAbsolute();
    void serverIsForThisUserOnly();
    void rawClientLines_data();
    void rawClientLines();
    void overlongLineClosesConnection_data();
    void overlongLineClosesConnection();
    void overlongCommandIsNotSent();
    void listenFailureIsLogged();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_savedCwd;
    QByteArray m_savedTmp;
    QByteArray m_savedHome;
    QByteArray m_savedInstance;
};

void TestSingleInstance::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_savedCwd = QDir::currentPath();
    m_savedTmp = qgetenv("TMPDIR");
    m_savedHome = qgetenv("HOME");
    m_savedInstance = qgetenv("CALENDAR_INSTANCE");
    QVERIFY(QDir::setCurrent(m_dir->path()));
    QVERIFY(
        LarkTest::writeFile(m_dir->filePath(QStringLiteral("week.ICS")), "BEGIN:VCALENDAR\r\n"));
}

void TestSingleInstance::cleanup()
{
    QDir::setCurrent(m_savedCwd);
    qputenv("TMPDIR", m_savedTmp);
    qputenv("HOME", m_savedHome);
    qputenv("CALENDAR_INSTANCE", m_savedInstance);
    m_dir.reset();
}

void TestSingleInstance::serverName_data()
{
    QTest::addColumn<QByteArray>("instance");
    QTest::addColumn<QString>("expected");
    QTest::newRow("no instance") << QByteArray()
                                 << QStringLiteral("larkspindle-calendar-zo\u00eb smith");
    QTest::newRow("dev") << QByteArray("dev")
                         << QStringLiteral("larkspindle-calendar-zo\u00eb smith-dev");
    QTest::newRow("Dev") << QByteArray("Dev")
                         << QStringLiteral("larkspindle-calendar-zo\u00eb smith-Dev");
    QTest::newRow("UTF-8") << QByteArray("b\xc3\xbcro")
                           << QStringLiteral("larkspindle-calendar-zo\u00eb smith-b\u00fcro");
}

void TestSingleInstance::serverName()
{
    QFETCH(QByteArray, instance);
    QFETCH(QString, expected);
    const QString home = m_dir->filePath(QStringLiteral("zo\u00eb smith"));
    QVERIFY(QDir().mkpath(home));
    qputenv("HOME", QFile::encodeName(home));
    qputenv("CALENDAR_INSTANCE", instance);
    QCOMPARE(SingleInstance::serverName(), expected);
}

void TestSingleInstance::buildCommand_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("line"); // "%DIR%" stands for the working directory
    QTest::addColumn<QString>("received");

    QTest::newRow("no options") << commandLine({}) << QByteArray(R"({"cmd":"focus"})") << "focus";
    QTest::newRow("--background is skipped")
        << commandLine({"--background"}) << QByteArray(R"({"cmd":"focus"})") << "focus";
    QTest::newRow("--show-today") << commandLine({"--show-today"})
                                  << QByteArray(R"({"cmd":"show-today"})") << "show-today";
    QTest::newRow("--new-event") << commandLine({"--new-event"})
                                 << QByteArray(R"({"cmd":"new-event"})") << "new-event";
    QTest::newRow("--quick-add text")
        << commandLine({"--quick-add", "Lunch with Zo\xc3\xab \"tomorrow\" 12:30"})
        << QByteArray(R"({"cmd":"quick-add","text":"Lunch with Zoë \"tomorrow\" 12:30"})")
        << QStringLiteral("quick-add:Lunch with Zo\u00eb \"tomorrow\" 12:30");
    QTest::newRow("--quick-add= alone")
        << commandLine({"--quick-add="}) << QByteArray(R"({"cmd":"quick-add","text":""})")
        << "quick-add:";
    QTest::newRow("--quick-add=text keeps further =")
        << commandLine({"--quick-add=a=b"}) << QByteArray(R"({"cmd":"quick-add","text":"a=b"})")
        << "quick-add:a=b";
    QTest::newRow("--quick-add last is ignored")
        << commandLine({"--quick-add"}) << QByteArray(R"({"cmd":"focus"})") << "focus";
    QTest::newRow("--QUICK-ADD= is not an option")
        << commandLine({"--QUICK-ADD=x"}) << QByteArray(R"({"cmd":"focus"})") << "focus";
    QTest::newRow("quick-add then show-today keeps the text")
        << commandLine({"--quick-add", "Gym", "--show-today"})
        << QByteArray(R"({"cmd":"show-today","text":"Gym"})") << "show-today";
    QTest::newRow("--ics with a missing file, absolute")
        << commandLine({"--ics", "/nowhere/x.ics"})
        << QByteArray(R"({"cmd":"open-ics","path":"/nowhere/x.ics"})") << "open-ics:/nowhere/x.ics";
    QTest::newRow("--ics with a relative path")
        << commandLine({"--ics", "sub/next week.ics"})
        << QByteArray(R"({"cmd":"open-ics","path":"%DIR%/sub/next week.ics"})")
        << "open-ics:%DIR%/sub/next week.ics";
    QTest::newRow("--ics last is ignored") << commandLine({"--show-today", "--ics"})
                                           << QByteArray(R"({"cmd":"show-today"})") << "show-today";
    QTest::newRow("bare existing file in capitals")
        << commandLine({"week.ICS"}) << QByteArray(R"({"cmd":"open-ics","path":"%DIR%/week.ICS"})")
        << "open-ics:%DIR%/week.ICS";
    QTest::newRow("bare missing file is ignored")
        << commandLine({"missing.ics"}) << QByteArray(R"({"cmd":"focus"})") << "focus";
    QTest::newRow("later option wins, earlier keys stay")
        << commandLine({"--ics", "/a.ics", "--quick-add=b"})
        << QByteArray(R"({"cmd":"quick-add","path":"/a.ics","text":"b"})") << "quick-add:b";
}

void TestSingleInstance::buildCommand()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, line);
    QCOMPARE(SingleInstance::buildCommand(arguments),
             line.replace("%DIR%", QDir::currentPath().toUtf8()) + '\n');
}

void TestSingleInstance::dispatchCommand_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("received");
    QTest::addColumn<bool>("warns");
    QTest::newRow("focus") << QByteArray(R"({"cmd":"focus"})") << "focus" << false;
    QTest::newRow("show-today with line feed")
        << QByteArray("{\"cmd\":\"show-today\"}\n") << "show-today" << false;
    QTest::newRow("new-event") << QByteArray(R"({"cmd":"new-event"})") << "new-event" << false;
    QTest::newRow("quick-add") << QByteArray(R"({"cmd":"quick-add","text":"Tea 4pm"})")
                               << "quick-add:Tea 4pm" << false;
    QTest::newRow("quick-add without text")
        << QByteArray(R"({"cmd":"quick-add"})") << "quick-add:" << false;
    QTest::newRow("quick-add with a number as text")
        << QByteArray(R"({"cmd":"quick-add","text":5})") << "quick-add:" << false;
    QTest::newRow("open-ics") << QByteArray(R"({"path":"/x/y.ics","cmd":"open-ics"})")
                              << "open-ics:/x/y.ics" << false;
    QTest::newRow("unknown command") << QByteArray(R"({"cmd":"format-disk"})") << "focus" << false;
    QTest::newRow("empty object") << QByteArray("{}") << "focus" << false;
    QTest::newRow("cmd not a string")
        << QByteArray(R"({"cmd":["show-today"]})") << "focus" << false;
    QTest::newRow("not JSON") << QByteArray("show-today\n") << "focus" << true;
    QTest::newRow("array") << QByteArray(R"(["show-today"])") << "focus" << true;
    QTest::newRow("empty line") << QByteArray("\n") << "focus" << true;
    QTest::newRow("two objects") << QByteArray(R"({"cmd":"new-event"}{"cmd":"new-event"})")
                                 << "focus" << true;
}

void TestSingleInstance::dispatchCommand()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, received);
    QFETCH(bool, warns);
    SingleInstance instance;
    Recorder recorder(&instance);
    if (warns) // a table column, not a hidden assertion: rows say whether a warning is due
        QTest::ignoreMessage(
            QtWarningMsg,
            QRegularExpression(QStringLiteral("^\\[SingleInstance\\] bad command: ")));
    instance.dispatchCommand(line);
    QCOMPARE(recorder.seen, QStringList {received});
}

void TestSingleInstance::startupCommandTakesTheWireRoad()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, received);
    // The own command is dispatched as parsed; a second start's goes through the line.
    SingleInstance instance;
    Recorder recorder(&instance);
    const InstanceCommand command = InstanceCommand::fromArguments(arguments);
    instance.dispatch(command);
    instance.dispatchCommand(command.toLine());
    received.replace(QStringLiteral("%DIR%"), QDir::currentPath());
    QCOMPARE(recorder.seen, QStringList({received, received}));
}

void TestSingleInstance::secondInstanceForwards()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, received);
    SingleInstance first;
    Recorder recorder(&first);
    QCOMPARE(first.forwardOrListen(commandLine({})), SingleInstance::Outcome::Serving);
    QVERIFY(first.server() && first.server()->isListening());

    SingleInstance second;
    QCOMPARE(second.forwardOrListen(arguments), SingleInstance::Outcome::Forwarded);
    QVERIFY(!second.server());
    QTRY_COMPARE(recorder.seen,
                 QStringList {received.replace(QStringLiteral("%DIR%"), QDir::currentPath())});
}

void TestSingleInstance::relativePathArrivesAbsolute()
{
    SingleInstance first;
    Recorder recorder(&first);
    QCOMPARE(first.forwardOrListen(commandLine({})), SingleInstance::Outcome::Serving);

    const QString senderDir = QDir::currentPath();
    SingleInstance second;
    QCOMPARE(second.forwardOrListen(commandLine({"week.ICS"})), SingleInstance::Outcome::Forwarded);
    // The receiver works elsewhere; the path must not depend on that.
    QVERIFY(QDir::setCurrent(QDir::tempPath()));
    QTRY_COMPARE(
        recorder.seen,
        QStringList {QStringLiteral("open-ics:") + senderDir + QStringLiteral("/week.ICS")});
}

void TestSingleInstance::serverIsForThisUserOnly()
{
    SingleInstance first;
    QCOMPARE(first.forwardOrListen(commandLine({})), SingleInstance::Outcome::Serving);
    QCOMPARE(first.server()->socketOptions(), QLocalServer::UserAccessOption);
    // In the user's private runtime folder, not in the shared temporary folder.
    QCOMPARE(first.server()->fullServerName(),
             qEnvironmentVariable("XDG_RUNTIME_DIR") + QLatin1Char('/')
                 + SingleInstance::serverName());
    const QFileInfo socketFile(first.server()->fullServerName());
    QVERIFY(socketFile.exists());
    QCOMPARE(socketFile.permissions()
                 & (QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ReadOther
                    | QFileDevice::WriteOther),
             QFileDevice::Permissions());
}

void TestSingleInstance::rawClientLines_data()
{
    QTest::addColumn<QList<QByteArray>>("writes");
    QTest::addColumn<QStringList>("received");
    QTest::addColumn<int>("badLines");
    QTest::newRow("two lines in one write")
        << QList<QByteArray> {"{\"cmd\":\"new-event\"}\n{\"cmd\":\"quick-add\",\"text\":\"a\"}\n"}
        << QStringList {QStringLiteral("new-event"), QStringLiteral("quick-add:a")} << 0;
    QTest::newRow("one line in pieces") << QList<QByteArray> {"{\"cmd\":\"sho", "w-today\"}", "\n"}
                                        << QStringList {QStringLiteral("show-today")} << 0;
    QTest::newRow("unknown, then not JSON, then valid")
        << QList<QByteArray> {"{\"cmd\":\"nope\"}\n", "garbage\n{\"cmd\":\"new-event\"}\n"}
        << QStringList {QStringLiteral("focus"), QStringLiteral("focus"),
                        QStringLiteral("new-event")}
        << 1;
    QTest::newRow("a line of exactly 64 KiB")
        << QList<QByteArray> {quickAddLine(SingleInstance::kMaxLineBytes)}
        << QStringList {QStringLiteral("quick-add:")
                        + QString(SingleInstance::kMaxLineBytes - 29, QLatin1Char('x'))}
        << 0;
}

void TestSingleInstance::rawClientLines()
{
    QFETCH(QList<QByteArray>, writes);
    QFETCH(QStringList, received);
    QFETCH(int, badLines);
    SingleInstance first;
    Recorder recorder(&first);
    QCOMPARE(first.forwardOrListen(commandLine({})), SingleInstance::Outcome::Serving);
    for (int i = 0; i < badLines; ++i)
        QTest::ignoreMessage(
            QtWarningMsg, QRegularExpression(QStringLiteral("^\\[SingleInstance\\] bad command")));

    QLocalSocket client;
    client.connectToServer(SingleInstance::serverPath());
    QVERIFY(client.waitForConnected(2000));
    for (const QByteArray &chunk : writes) {
        QCOMPARE(client.write(chunk), chunk.size());
        QTRY_COMPARE(client.bytesToWrite(), 0); // sent before the next piece
    }
    QTRY_COMPARE(recorder.seen, received);
    // The server never closes a well-behaved connection; the client does.
    QCOMPARE(client.state(), QLocalSocket::ConnectedState);
}

void TestSingleInstance::overlongLineClosesConnection_data()
{
    QTest::addColumn<QByteArray>("payload");
    QTest::newRow("one byte over, with line feed")
        << quickAddLine(SingleInstance::kMaxLineBytes + 1) + "{\"cmd\":\"new-event\"}\n";
    QTest::newRow("no line feed at all") << QByteArray(200 * 1024, 'x');
    QTest::newRow("valid line first")
        << "{\"cmd\":\"show-today\"}\n" + QByteArray(SingleInstance::kMaxLineBytes + 10, ' ');
}

void TestSingleInstance::overlongLineClosesConnection()
{
    QFETCH(QByteArray, payload);
    SingleInstance first;
    Recorder recorder(&first);
    QCOMPARE(first.forwardOrListen(commandLine({})), SingleInstance::Outcome::Serving);
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("longer than 64 KiB refused")));

    QLocalSocket client;
    client.connectToServer(SingleInstance::serverPath());
    QVERIFY(client.waitForConnected(2000));
    client.write(payload);
    QTRY_COMPARE(client.state(), QLocalSocket::UnconnectedState);
    const QStringList expected = payload.startsWith("{\"cmd\":\"show-today\"}\n")
        ? QStringList {QStringLiteral("show-today")}
        : QStringList {};
    QCOMPARE(recorder.seen, expected);
}

void TestSingleInstance::overlongCommandIsNotSent()
{
    SingleInstance first;
    Recorder recorder(&first);
    QCOMPARE(first.forwardOrListen(commandLine({})), SingleInstance::Outcome::Serving);

    SingleInstance second;
    const QStringList arguments = commandLine({"--quick-add"})
        << QString(SingleInstance::kMaxLineBytes, QLatin1Char('y'));
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("did not take the command line")));
    QCOMPARE(SingleInstance::exitCodeOf(second.forwardOrListen(arguments)).value_or(-1), 1);
    QVERIFY(!second.server());
    QTest::qWait(100);
    QCOMPARE(recorder.seen, QStringList());
}

void TestSingleInstance::listenFailureIsLogged()
{
    // Something that is not a socket holds the name and cannot be cleared away.
    const QString blocker = SingleInstance::serverPath();
    QVERIFY(QDir().mkpath(blocker));

    SingleInstance first;
    QTest::ignoreMessage(
        QtWarningMsg,
        QRegularExpression(QStringLiteral("^\\[SingleInstance\\] failed to listen on ")));
    const SingleInstance::Outcome outcome = first.forwardOrListen(commandLine({}));
    QDir(blocker).removeRecursively();
    QCOMPARE(outcome, SingleInstance::Outcome::Serving);
    QVERIFY(first.server());
    QVERIFY(!first.server()->isListening());
}

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_SingleInstance.moc"
