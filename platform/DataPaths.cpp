#include "platform/DataPaths.h"

#include "platform/DesktopEntry.h"
#include "platform/FileAccess.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString environmentText(const char *name)
{
    return QString::fromUtf8(qgetenv(name));
}

const auto kIcsDesktopId = QStringLiteral("LarkspindleCalendar.desktop");
const auto kProductName = QStringLiteral("Larkspindle Calendar");

QString programCommand(const QString &programPath, const QString &arguments)
{
    return DesktopEntry::execArgument(QDir::toNativeSeparators(programPath), true)
        + QLatin1Char(' ') + arguments;
}

constexpr mode_t kPrivateFolderMode = S_IRWXU;

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// What lstat says about a folder we are about to trust; empty when it is a real folder (not a
// link) owned by this user.
QString ownFolderProblem(const QByteArray &path, struct stat &info)
{
    if (::lstat(path.constData(), &info) != 0)
        return systemError();
    if (!S_ISDIR(info.st_mode))
        return QStringLiteral("not a folder");
    if (info.st_uid != ::geteuid())
        return QStringLiteral("owned by user id %1").arg(info.st_uid);
    return {};
}

} // namespace

bool makePrivateDirectory(const QString &path, QString *reason)
{
    const auto fail = [reason](const QString &why) {
        if (reason)
            *reason = why;
        return false;
    };
    if (path.isEmpty())
        return fail(QStringLiteral("no path"));
    // Missing folders are made one at a time, so none of them is ever open to other users, not
    // even under a permissive umask.
    const QString target = QDir::cleanPath(QDir::current().absoluteFilePath(path));
    QStringList missing;
    for (QString at = target; !QFileInfo::exists(at) && !QFileInfo(at).isSymLink();) {
        missing.prepend(at);
        const QString parent = QFileInfo(at).path();
        if (parent == at)
            break;
        at = parent;
    }
    for (const QString &folder : std::as_const(missing)) {
        const QByteArray native = QFile::encodeName(folder);
        if (::mkdir(native.constData(), kPrivateFolderMode) != 0 && errno != EEXIST)
            return fail(QStringLiteral("cannot create %1: %2").arg(folder, systemError()));
        ::chmod(native.constData(), kPrivateFolderMode);
    }
    const QByteArray native = QFile::encodeName(target);
    struct stat info = {};
    const QString problem = ownFolderProblem(native, info);
    if (!problem.isEmpty())
        return fail(problem);
    if ((info.st_mode & 07777) != kPrivateFolderMode
        && ::chmod(native.constData(), kPrivateFolderMode) != 0)
        return fail(QStringLiteral("cannot make it private: %1").arg(systemError()));
    return true;
}

QString privateRuntimeDirectory(QString *reason)
{
    const QString runtime = environmentText("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty()) {
        // The session's folder is only checked, never changed.
        struct stat info = {};
        QString problem = ownFolderProblem(QFile::encodeName(runtime), info);
        if (problem.isEmpty() && (info.st_mode & (S_IRWXG | S_IRWXO)) != 0)
            problem = QStringLiteral("open to other users");
        if (problem.isEmpty())
            return runtime;
        qWarning("[DataPaths] XDG_RUNTIME_DIR %s is not used: %s", qUtf8Printable(runtime),
                 qUtf8Printable(problem));
    }
    const QString own
        = QDir::tempPath() + QStringLiteral("/larkspindle-") + QString::number(::geteuid());
    QString problem;
    if (makePrivateDirectory(own, &problem))
        return own;
    if (reason)
        *reason = own + QStringLiteral(": ") + problem;
    return {};
}

QString dataDirectory()
{
    QString dir = environmentText("CALENDAR_DATA_DIR");
    if (dir.isEmpty())
        dir = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
            + QStringLiteral("/Larkspindle/Calendar");
    // Other local users must not read the calendar. A folder that cannot be created shows up
    // later, when the database cannot be opened there.
    // A link the user made to a folder of theirs is that folder: it is what must be private.
    const QFileInfo info(dir);
    const QString folder = info.isSymLink() && info.isDir() ? info.canonicalFilePath() : dir;
    QString problem;
    if (!makePrivateDirectory(folder, &problem))
        qWarning("[DataPaths] the data folder %s is not private: %s", qUtf8Printable(dir),
                 qUtf8Printable(problem));
    return dir;
}

QString databasePath()
{
    return dataDirectory() + QStringLiteral("/calendar.db");
}

DataFolderLock::DataFolderLock(std::unique_ptr<QLockFile> file, int databaseFd)
    : m_file(std::move(file))
    , m_databaseFd(databaseFd)
{ }

DataFolderLock::~DataFolderLock()
{
    // Closing a descriptor of the database also drops SQLite's own locks on it in this
    // process; the program only lets go of the folder once its connection is closed.
    if (m_databaseFd >= 0)
        ::close(m_databaseFd);
}

DataFolderLockAttempt lockDataDirectory()
{
    const QString dir = dataDirectory();
    // The first cause, where the folder cannot be made, rather than what follows from it.
    QString problem;
    if (!QFileInfo(dir).isDir() && !makePrivateDirectory(dir, &problem)) {
        DataFolderLockAttempt attempt;
        attempt.refusal = DataFolderLockAttempt::Refusal::NoFolder;
        attempt.problem = problem;
        return attempt;
    }
    return lockDataDirectory(dir + QStringLiteral("/calendar.lock"),
                             dir + QStringLiteral("/calendar.db"));
}

DataFolderLockAttempt lockDataDirectory(const QString &lockPath, const QString &databasePath)
{
    using Refusal = DataFolderLockAttempt::Refusal;
    DataFolderLockAttempt attempt;
    attempt.lockPath = lockPath;

    // A link could lead the lock, the database or its journals anywhere the user may write;
    // SQLite and the lock file would follow it. Each of them is this program's own file.
    const QStringList ownFiles {lockPath, databasePath, databasePath + QStringLiteral("-wal"),
                                databasePath + QStringLiteral("-shm"),
                                databasePath + QStringLiteral("-journal")};
    const QString link = firstLink(ownFiles);
    if (!link.isEmpty()) {
        attempt.refusal = Refusal::Link;
        attempt.lockPath = link;
        return attempt;
    }

    auto file = std::make_unique<QLockFile>(lockPath);
    // Held as long as the program runs, however long that is: only a holder that is gone
    // makes the lock stale, never its age.
    file->setStaleLockTime(0);
    if (!file->tryLock(0)) {
        if (file->error() == QLockFile::LockFailedError) {
            QString host;
            QString app;
            if (file->getLockInfo(&attempt.holderPid, &host, &app)) {
                attempt.refusal = Refusal::Running;
            } else {
                // Nobody can ever take a lock that cannot be read, and its holder is unknown.
                attempt.holderPid = 0;
                attempt.refusal = Refusal::UnreadableLock;
                attempt.lockIsFolder = QFileInfo(lockPath).isDir();
            }
            return attempt;
        }
        qWarning("[DataPaths] cannot make the lock file %s: error %d; locking the database "
                 "file instead",
                 qUtf8Printable(lockPath), int(file->error()));
        file.reset();
    }

    // The database file is locked as well: that also holds where no lock file can be made,
    // and against a program that could make one where this one could not. A lock of its own
    // kind (flock), which SQLite's record locks on the same file do not meet.
    int fd = ::open(QFile::encodeName(databasePath).constData(),
                    O_RDONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW, S_IRUSR | S_IWUSR);
    int error = fd < 0 ? errno : 0;
    if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        error = errno;
        ::close(fd);
        fd = -1;
        if (error == EWOULDBLOCK) {
            attempt.refusal = Refusal::Running;
            return attempt;
        }
    }
    // Without either lock nothing keeps a second program out.
    if (fd < 0 && !file) {
        attempt.refusal = Refusal::CannotLock;
        attempt.problem = QString::fromLocal8Bit(std::strerror(error));
        return attempt;
    }
    attempt.lock = std::make_unique<DataFolderLock>(std::move(file), fd);
    return attempt;
}

QString instanceName()
{
    return environmentText("CALENDAR_INSTANCE");
}

bool isDevInstance()
{
    return instanceName() == QLatin1String("dev");
}

QString applicationIdentifier()
{
    const QString base = QStringLiteral("com.larkspindle.calendar");
    const QString instance = instanceName();
    return instance.isEmpty() ? base : base + QLatin1Char('.') + instance;
}

QString launchAtLoginValueName()
{
    const QString base = QStringLiteral("LarkspindleCalendar");
    const QString instance = instanceName();
    return instance.isEmpty() ? base : base + QLatin1Char('-') + instance;
}

QString launchAtLoginEntryPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/autostart/") + launchAtLoginValueName() + QStringLiteral(".desktop");
}

bool isLaunchAtLoginEnabled()
{
    const auto keys = DesktopEntry::read(launchAtLoginEntryPath());
    if (!keys)
        return false;
    // Session managers honour these two switches, so an entry carrying them does not start us.
    const bool hidden = keys->value(QStringLiteral("Hidden")) == QLatin1String("true");
    const bool gnomeOff
        = keys->value(QStringLiteral("X-GNOME-Autostart-enabled")) == QLatin1String("false");
    return !keys->value(QStringLiteral("Exec")).trimmed().isEmpty() && !hidden && !gnomeOff;
}

bool setLaunchAtLogin(bool enabled)
{
    return setLaunchAtLogin(enabled, QCoreApplication::applicationFilePath());
}

bool setLaunchAtLogin(bool enabled, const QString &programPath)
{
    const QString path = launchAtLoginEntryPath();
    if (!enabled) {
        QFile::remove(path);
        return !QFile::exists(path);
    }
    return DesktopEntry::write(
        path,
        {{QStringLiteral("Type"), QStringLiteral("Application")},
         {QStringLiteral("Name"), kProductName},
         {QStringLiteral("Exec"), programCommand(programPath, QStringLiteral("--background"))}});
}

QString icsDesktopEntryPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QStringLiteral("/applications/") + kIcsDesktopId;
}

QString mimeAppsListPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/mimeapps.list");
}

bool registerIcsFileAssociation()
{
    return registerIcsFileAssociation(QCoreApplication::applicationFilePath());
}

bool registerIcsFileAssociation(const QString &programPath)
{
    // "%f" is the launcher's placeholder for the opened file; it must stay outside quotes.
    const bool entryWritten = DesktopEntry::write(
        icsDesktopEntryPath(),
        {{QStringLiteral("Type"), QStringLiteral("Application")},
         {QStringLiteral("Name"), kProductName},
         {QStringLiteral("Exec"), programCommand(programPath, QStringLiteral("--ics %f"))},
         {QStringLiteral("MimeType"), QStringLiteral("text/calendar;")},
         {QStringLiteral("NoDisplay"), QStringLiteral("true")}});
    return entryWritten
        && DesktopEntry::setDefaultApplicationIfUnset(
               mimeAppsListPath(), QStringLiteral("text/calendar"), kIcsDesktopId);
}
