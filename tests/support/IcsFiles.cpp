#include "support/IcsFiles.h"

#include "core/IcsImport.h"

#include <QFile>

#include <sys/stat.h>

namespace LarkTest {

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
