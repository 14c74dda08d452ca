#pragma once

// Starts the built program as a user would, with its own data folder and instance name, and
// looks at what it does from outside: exit codes, the database, the log, its memory.

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>

#include <functional>
#include <memory>
#include <vector>

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
        , m_connection(QStringLiteral("installation-") + m_instance)
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
    QString folder() const { return m_dir.path(); }
    QString dataDir() const { return m_env.value(QStringLiteral("CALENDAR_DATA_DIR")); }
    QString databasePath() const { return dataDir() + QStringLiteral("/calendar.db"); }
    // Where the running program must have its socket: in the user's private runtime folder.
    QString socketPath() const
    {
        return m_env.value(QStringLiteral("XDG_RUNTIME_DIR"))
            + QStringLiteral("/larkspindle-calendar-")
            + QFileInfo(m_env.value(QStringLiteral("HOME"))).fileName() + QLatin1Char('-')
            + m_env.value(QStringLiteral("CALENDAR_INSTANCE"));
    }

    // Every start runs through this command first (e.g. one that changes the user).
    void setLauncher(const QStringList &launcher) { m_launcher = launcher; }
    // Runs in the started process before the program (e.g. to set its umask).
    void setChildSetUp(std::function<void()> setUp) { m_setUp = std::move(setUp); }

    // Starts the program and leaves it running; stopped at the end of the test.
    QProcess *start(const QStringList &arguments)
    {
        auto process = std::make_unique<QProcess>();
        prepare(*process, arguments);
        if (!process->waitForStarted(10000))
            return nullptr;
        m_running.push_back(std::move(process));
        return m_running.back().get();
    }

    // Starts the program and waits until it has started up; null when it did not in time.
    QProcess *startUp(const QStringList &arguments = {})
    {
        QProcess *process = start(arguments);
        return process && QTest::qWaitFor([this] { return startedUp(); }, 60000) ? process
                                                                                 : nullptr;
    }

    // Runs the program to its end; -1 when it did not end in time.
    int run(const QStringList &arguments, int timeoutMs = 20000)
    {
        QProcess process;
        prepare(process, arguments);
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

    // The largest resident memory the process has had so far, in MiB; -1 when unknown.
    static int peakMemoryMiB(const QProcess *process)
    {
        QFile status(QStringLiteral("/proc/%1/status").arg(process->processId()));
        if (!status.open(QIODevice::ReadOnly))
            return -1;
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (line.startsWith("VmHWM:"))
                return int(line.mid(6).trimmed().split(' ').first().toLongLong() / 1024);
        }
        return -1;
    }

    // The first column of the first row, read through a connection of the test's own while the
    // program may be running.
    QVariant query(const QString &sql)
    {
        QSqlDatabase db = database();
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
        QSqlDatabase db = database();
        if (!db.isOpen() && !db.open())
            return false;
        QSqlQuery q(db);
        const bool ok = q.exec(sql);
        q.finish();
        db.close();
        return ok;
    }

    // The running program has finished its start: the one-time clean-up mark is written after
    // the database is open, and the program listens for second starts only once its window is
    // made.
    bool startedUp()
    {
        return QFileInfo::exists(databasePath()) && QFileInfo::exists(socketPath())
            && query(QStringLiteral("SELECT value FROM settings WHERE key = "
                                    "'sync/accountsDedupedV1'"))
                   .toString()
            == QLatin1String("1");
    }

    int eventsTitled(const QString &title)
    {
        return query(QStringLiteral("SELECT COUNT(*) FROM events WHERE title = '%1'").arg(title))
            .toInt();
    }

private:
    void prepare(QProcess &process, const QStringList &arguments)
    {
        process.setProcessEnvironment(m_env);
        if (m_setUp)
            process.setChildProcessModifier(m_setUp);
        if (m_launcher.isEmpty()) {
            process.start(programPath(), arguments);
        } else {
            process.start(m_launcher.first(),
                          m_launcher.mid(1) + QStringList {programPath()} + arguments);
        }
    }

    QSqlDatabase database()
    {
        QSqlDatabase db = QSqlDatabase::contains(m_connection)
            ? QSqlDatabase::database(m_connection, false)
            : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
        db.setDatabaseName(databasePath());
        return db;
    }

    QTemporaryDir m_dir;
    QString m_instance;
    QString m_connection;
    QProcessEnvironment m_env;
    QStringList m_launcher;
    std::function<void()> m_setUp;
    std::vector<std::unique_ptr<QProcess>> m_running;
};

} // namespace
