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

QByteArray manyEvents(int count, const char *title, int withoutStartEvery)
{
    QByteArray text = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\n";
    for (int i = 0; i < count; ++i)
        text += "BEGIN:VEVENT\r\nUID:many-" + QByteArray::number(i) + "\r\nSUMMARY:" + title
            + (withoutStartEvery > 0 && i % withoutStartEvery == 0
                   ? QByteArray()
                   : QByteArray("\r\nDTSTART:20240301T090000Z\r\nDTEND:20240301T100000Z"))
            + "\r\nEND:VEVENT\r\n";
    return text + "END:VCALENDAR\r\n";
}

} // namespace LarkTest
