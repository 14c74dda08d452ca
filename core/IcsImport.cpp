#include "core/IcsImport.h"

#include "core/AppState.h"
#include "model/ICalendar.h"
#include "storage/CalendarRepository.h"
#include "storage/Database.h"
#include "storage/EventRepository.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// The import's messages as one translation context.
struct IcsImport
{
    Q_DECLARE_TR_FUNCTIONS(IcsImport)
};

IcsImportResult failure(const QString &message)
{
    IcsImportResult result;
    result.message = message;
    return result;
}
} // namespace

IcsFileContents readIcsFile(const QString &path)
{
    IcsFileContents contents;
    const auto unreadable = [&](const QString &reason) {
        contents.error
            = IcsImport::tr("Import failed: the file %1 could not be read (%2).").arg(path, reason);
        return contents;
    };
    const QFileInfo info(path);
    if (!info.exists()) {
        contents.error = IcsImport::tr("Import failed: the file %1 does not exist.").arg(path);
        return contents;
    }
    const QString notRegular = IcsImport::tr("Import failed: %1 is not a regular file.").arg(path);
    const QString tooLarge = IcsImport::tr("Import failed: the file %1 is larger than %2 MB.")
                                 .arg(path)
                                 .arg(kMaxIcsFileBytes / (1024 * 1024));
    // Looked at before opening, and again on what was opened in case the path changed between:
    // opening a pipe would wait for a writer.
    if (!info.isFile()) {
        contents.error = notRegular;
        return contents;
    }
    const int fd
        = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return unreadable(QString::fromLocal8Bit(std::strerror(errno)));
    struct stat opened = {};
    if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
        ::close(fd);
        contents.error = notRegular;
        return contents;
    }
    if (opened.st_size > kMaxIcsFileBytes) {
        ::close(fd);
        contents.error = tooLarge;
        return contents;
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return unreadable(file.errorString());
    }
    // Read in pieces up to the limit: the file may still be growing.
    QByteArray bytes;
    bytes.reserve(qsizetype(opened.st_size));
    QByteArray chunk(64 * 1024, Qt::Uninitialized);
    for (;;) {
        const qint64 got = file.read(chunk.data(), chunk.size());
        if (got < 0)
            return unreadable(file.errorString());
        if (got == 0)
            break;
        if (bytes.size() + got > kMaxIcsFileBytes) {
            contents.error = tooLarge;
            return contents;
        }
        bytes.append(chunk.constData(), qsizetype(got));
    }
    contents.events = parseICalendarEvents(QString::fromUtf8(bytes));
    if (contents.events.isEmpty())
        contents.error = IcsImport::tr("Import failed: no events found in %1.")
                             .arg(QFileInfo(path).fileName());
    return contents;
}

IcsImportResult importIcsFile(AppState *state, const QString &path, const QString &calendarId)
{
    IcsFileContents contents = readIcsFile(path);
    if (!contents.error.isEmpty())
        return failure(contents.error);
    return storeImportedEvents(state, std::move(contents.events), calendarId,
                               QFileInfo(path).fileName());
}

IcsImportResult storeImportedEvents(AppState *state, QList<Event> events, const QString &calendarId,
                                    const QString &name)
{
    const std::optional<Calendar> calendar = state->calendars()->byId(calendarId);
    if (!calendar)
        return failure(IcsImport::tr("Import failed: the chosen calendar does not exist."));
    if (calendar->is_read_only)
        return failure(
            IcsImport::tr("Import failed: the calendar \"%1\" is read-only.").arg(calendar->name));
    if (events.isEmpty())
        return failure(IcsImport::tr("Import failed: no events found in %1.").arg(name));

    const QDateTime now = state->database()->currentDateTimeUtc();
    for (Event &event : events) {
        event.calendar_id = calendarId;
        event.sync_status = QStringLiteral("pending");
        event.deleted_at.reset();
        event.etag.clear();
        event.href.clear();
        if (!event.created.isValid())
            event.created = now;
        if (!event.last_modified.isValid())
            event.last_modified = now;
    }
    // The same event imported again replaces the earlier copy instead of doubling it.
    QString error;
    if (!state->events()->replaceByUid(events, &error)) {
        if (!error.isEmpty())
            return failure(
                IcsImport::tr("Import failed: the events could not be stored (%1).").arg(error));
        return failure(
            IcsImport::tr("Import failed: the events of %1 could not be stored; nothing was "
                          "imported.")
                .arg(name));
    }

    IcsImportResult result;
    result.ok = true;
    result.imported = int(events.size());
    result.message
        = IcsImport::tr("Imported %n event(s) from %1.", nullptr, result.imported).arg(name);
    return result;
}
