#include "platform/FileAccess.h"

#include "model/Clock.h"

#include <QDateTime>
#include <QDebug>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr mode_t kPrivateFileMode = S_IRUSR | S_IWUSR;

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Every byte, or false with errno set.
bool writeAll(int fd, const char *bytes, qint64 size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, bytes, size_t(size));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            if (written == 0)
                errno = ENOSPC;
            return false;
        }
        bytes += written;
        size -= written;
    }
    return true;
}

} // namespace

bool makeFilePrivate(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    const int fd
        = ::open(native.constData(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, kPrivateFileMode);
    if (fd < 0)
        return false;
    struct stat info = {};
    bool narrowed = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    if (narrowed && (info.st_mode & 07777) != kPrivateFileMode)
        narrowed = ::fchmod(fd, kPrivateFileMode) == 0;
    ::close(fd);
    if (!narrowed)
        qWarning() << "[FileAccess] cannot make" << path << "private";
    return narrowed;
}

void makeDatabaseSideFilesPrivate(const QString &databasePath)
{
    const QByteArray native = QFile::encodeName(databasePath);
    for (const char *suffix : {"-wal", "-shm", "-journal"}) {
        const QByteArray side = native + suffix;
        struct stat info = {};
        if (::lstat(side.constData(), &info) == 0 && S_ISREG(info.st_mode)
            && (info.st_mode & 07777) != kPrivateFileMode)
            ::chmod(side.constData(), kPrivateFileMode);
    }
}

RegularFileOpen openRegularFile(QFile &file, const QString &path, qint64 *size, QString *error,
                                FileLinks links)
{
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC
                              | (links == FileLinks::Refuse ? O_NOFOLLOW : 0));
    if (fd < 0) {
        *error = QString::fromLocal8Bit(std::strerror(errno));
        return RegularFileOpen::Failed;
    }
    // Looked at on what was opened, in case the path changed after the caller looked.
    struct stat opened = {};
    if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
        ::close(fd);
        return RegularFileOpen::NotRegular;
    }
    *size = qint64(opened.st_size);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        *error = file.errorString();
        return RegularFileOpen::Failed;
    }
    return RegularFileOpen::Opened;
}

QString firstLink(const QStringList &paths)
{
    for (const QString &path : paths) {
        if (QFileInfo(path).isSymLink())
            return path;
    }
    return {};
}

bool replaceFileWhole(const QString &path, const QByteArray &bytes, QString *error)
{
    const QByteArray native = QFile::encodeName(path);
    QByteArray temporary = native + ".XXXXXX";
    // Made 0600, before any byte is in it.
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        *error = systemError(errno);
        return false;
    }
    bool whole = writeAll(fd, bytes.constData(), bytes.size()) && ::fsync(fd) == 0;
    int failure = whole ? 0 : errno;
    if (::close(fd) != 0 && whole) {
        whole = false;
        failure = errno;
    }
    if (whole && ::rename(temporary.constData(), native.constData()) != 0) {
        whole = false;
        failure = errno;
    }
    if (!whole) {
        ::unlink(temporary.constData());
        *error = systemError(failure);
    }
    return whole;
}

QString keepFileAside(const QString &path, QString *error)
{
    const QString stem = path + QStringLiteral(".damaged-")
        + Clock::nowUtc().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    // An earlier file kept aside in the same second is not written over either.
    int failure = EEXIST;
    for (int n = 1; n <= 100 && failure == EEXIST; ++n) {
        const QString aside = n == 1 ? stem : stem + QLatin1Char('-') + QString::number(n);
        const QByteArray from = QFile::encodeName(path);
        const QByteArray to = QFile::encodeName(aside);
        int moved
            = ::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE);
        // A file system without the no-replace rename: looked at first, then renamed.
        if (moved != 0 && errno == EINVAL) {
            struct stat info = {};
            if (::lstat(to.constData(), &info) == 0)
                errno = EEXIST;
            else
                moved = ::rename(from.constData(), to.constData());
        }
        if (moved == 0)
            return aside;
        failure = errno;
    }
    *error = systemError(failure);
    return {};
}
