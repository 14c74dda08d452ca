// Feeds arbitrary bytes, read as a page of a Google event listing, to the page reader and the
// mapping both ways. Nothing may crash; every change names its item, every row read has a start,
// and writing a row back over its own resource gives an object with a start and an end.
#include "services/sync/google/CalendarClient.h"
#include "services/sync/google/GoogleSyncProvider.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QJsonObject page = QJsonDocument::fromJson(bytes).object();
    QList<QJsonObject> items;
    for (const QJsonValue &v : page.value(QLatin1String("items")).toArray())
        items.append(v.toObject());
    const Sync::ChangePage changes = Google::GoogleSyncProvider::changePage(
        items, page.value(QLatin1String("nextPageToken")).toString(),
        page.value(QLatin1String("nextSyncToken")).toString());
    for (const Sync::RemoteEvent &change : changes.events) {
        if (change.remoteId.isEmpty())
            std::abort();
        if (change.deleted || !change.unreadable.isEmpty())
            continue;
        if (!change.row.start_time.isValid())
            std::abort();
        const QJsonObject stored = QJsonDocument::fromJson(change.row.raw_icalendar.toUtf8()).object();
        const QJsonObject written = Google::CalendarClient::eventToJson(change.row, stored);
        if (!written.contains(QLatin1String("start")) || !written.contains(QLatin1String("end")))
            std::abort();
    }
    return 0;
}
