// Feeds arbitrary bytes, read as a page of a calendar view, to the Graph event reader. Nothing may
// crash, and an event measured against the very object it was read from has nothing to send.
#include "services/sync/microsoft/CalendarClient.h"

#include <QJsonDocument>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    using Microsoft::CalendarClient;
    const CalendarClient::EventListPage page
        = CalendarClient::pageFromJson(QJsonDocument::fromJson(bytes).object());
    (void)CalendarClient::deltaTokenOf(page.deltaLink);
    for (const QJsonObject &item : page.items) {
        const Event e = CalendarClient::eventFromJson(item, QStringLiteral("calendar"));
        // Without an id there is no copy to measure against: the whole event is sent.
        if (!e.provider_event_id.isEmpty() && !CalendarClient::eventPatch(e, item).isEmpty())
            std::abort();
        if (!e.recurrence_rule.isEmpty())
            (void)CalendarClient::rruleToGraphRecurrence(e.recurrence_rule, e.start_time,
                                                         e.is_all_day);
    }
    return 0;
}
