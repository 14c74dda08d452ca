#include "support/TestFiles.h"

#include "core/IcsImport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace LarkTest {

QByteArray readFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

int fileMode(const QString &path)
{
    struct stat info = {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 07777)
                                                                    : -1;
}

QString unusualIcsFile(const QString &kind, const QString &folder)
{
    if (kind == QLatin1String("pipe")) {
        const QString path = folder + QStringLiteral("/waiting.ics");
        return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0 ? path : QString();
    }
    if (kind == QLatin1String("large")) {
        // Sparse: takes no room on disk.
        const QString path = folder + QStringLiteral("/huge.ics");
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.resize(kMaxIcsFileBytes + 1) ? path
                                                                                    : QString();
    }
    return kind;
}

} // namespace LarkTest
