// Feeds arbitrary bytes, read as one record of a configuration pull, to the readers of groups,
// rules and templates and to the date and tombstone readers. Nothing may crash, and a record
// read, written and read again must come out the same.
#include "services/sync/cloud/ConfigRecords.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <cstdint>
#include <cstdlib>

namespace {

template<typename Row, typename From, typename To>
void roundTrip(const QJsonObject &record, const QList<Calendar> &calendars, const QDateTime &now,
               From from, To to)
{
    const QJsonObject once = to(from(record, calendars, now), calendars, now);
    const QJsonObject twice = to(from(once, calendars, now), calendars, now);
    if (once != twice)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QJsonObject record = QJsonDocument::fromJson(bytes).object();

    using namespace Larkspindle::ConfigRecords;
    const QDateTime now(QDate(2026, 3, 2), QTime(9, 0), Qt::UTC);
    Calendar known;
    known.id = QStringLiteral("cal-1");
    known.canonical_key = QString(64, QLatin1Char('a'));
    const QList<Calendar> calendars {known};

    roundTrip<FilterRule>(record, calendars, now, &filterRuleFrom, &filterRuleRecord);
    roundTrip<CalendarView>(record, calendars, now, &calendarViewFrom, &calendarViewRecord);
    roundTrip<EventTemplate>(record, calendars, now, &eventTemplateFrom, &eventTemplateRecord);
    (void)isTombstone(record);
    for (auto it = record.constBegin(); it != record.constEnd(); ++it) {
        if (!jsonDateTime(it.value(), now).isValid())
            std::abort();
    }
    return 0;
}
