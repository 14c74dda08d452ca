#include "platform/FileAccess.h"

#include <QDebug>
#include <QFile>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr mode_t kPrivateFileMode = S_IRUSR | S_IWUSR;

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

RegularFileOpen openRegularFile(QFile &file, const QString &path, qint64 *size, QString *error)
{
    const int fd
        = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
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
