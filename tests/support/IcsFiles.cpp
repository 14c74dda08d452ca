#include "support/IcsFiles.h"

#include "core/IcsImport.h"

#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTimer>

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

IcsImportResult runImport(IcsImportJob &job)
{
    QEventLoop loop;
    QObject::connect(&job, &IcsImportJob::finished, &loop, &QEventLoop::quit);
    job.start();
    if (!job.isFinished())
        loop.exec();
    return job.result();
}

IcsImportResult importFile(const Store &store, const QString &path, const QString &calendarId)
{
    IcsFileContents contents = readIcsFile(path);
    IcsImportResult result;
    result.message = contents.error;
    if (!contents.error.isEmpty())
        return result;
    IcsImportJob job(store, std::move(contents.text), calendarId, QFileInfo(path).fileName());
    return runImport(job);
}

bool holdWriteLock(const QString &databasePath, int ms)
{
    static int holds = 0;
    const QString name = QStringLiteral("other-program-%1").arg(++holds);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(databasePath);
        if (!db.open() || !QSqlQuery(db).exec(QStringLiteral("BEGIN IMMEDIATE")))
            return false;
    }
    QTimer::singleShot(ms, [name] {
        QSqlQuery(QSqlDatabase::database(name)).exec(QStringLiteral("COMMIT"));
        QSqlDatabase::removeDatabase(name);
    });
    return true;
}

} // namespace LarkTest
