#include "core/IcsImport.h"

#include "core/AppState.h"
#include "model/ICalendar.h"
#include "storage/CalendarRepository.h"
#include "storage/Database.h"
#include "storage/EventRepository.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

namespace {
QString tr(const char *text, int n = -1)
{
    return QCoreApplication::translate("IcsImport", text, nullptr, n);
}

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
    QFile file(path);
    if (!QFileInfo::exists(path)) {
        contents.error = tr("Import failed: the file %1 does not exist.").arg(path);
        return contents;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        contents.error = tr("Import failed: the file %1 could not be read (%2).")
                             .arg(path, file.errorString());
        return contents;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        contents.error = tr("Import failed: the file %1 could not be read (%2).")
                             .arg(path, file.errorString());
        return contents;
    }
    contents.events = parseICalendarEvents(QString::fromUtf8(bytes));
    if (contents.events.isEmpty())
        contents.error
            = tr("Import failed: no events found in %1.").arg(QFileInfo(path).fileName());
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
        return failure(tr("Import failed: the chosen calendar does not exist."));
    if (calendar->is_read_only)
        return failure(tr("Import failed: the calendar \"%1\" is read-only.").arg(calendar->name));
    if (events.isEmpty())
        return failure(tr("Import failed: no events found in %1.").arg(name));

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
            return failure(tr("Import failed: the events could not be stored (%1).").arg(error));
        return failure(tr("Import failed: the events of %1 could not be stored; nothing was "
                          "imported.")
                           .arg(name));
    }

    IcsImportResult result;
    result.ok = true;
    result.imported = int(events.size());
    result.message = tr("Imported %n event(s) from %1.", result.imported).arg(name);
    return result;
}
