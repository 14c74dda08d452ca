// Feeds arbitrary rule text, exception and extra-date lists through parsing and expansion over a
// bounded range. A crash, sanitizer report or a run that does not end is a bug.
#include "model/Recurrence.h"

#include <QTimeZone>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 4)
        return 0;
    // The first bytes pick the start, zone and range; the rest is text split on newlines.
    const int startDays = (data[0] << 8 | data[1]) % 40000; // about 110 years back
    const int spanDays = data[2] % 400 + 1;
    const int zone = data[3] % 4;
    const QString text
        = QString::fromUtf8(reinterpret_cast<const char *>(data + 4), qsizetype(size - 4));
    const QStringList parts = text.split(QLatin1Char('\n'));

    const QDate base(2026, 3, 2);
    const QDate startDate = base.addDays(-startDays);
    const QTime startTime(data[1] % 24, data[0] % 60);
    QDateTime start;
    switch (zone) {
    case 0:
        start = QDateTime(startDate, startTime, Qt::UTC);
        break;
    case 1:
        start = QDateTime(startDate, startTime, QTimeZone("Europe/Berlin"));
        break;
    case 2:
        start = QDateTime(startDate, startTime, Qt::OffsetFromUTC, -5 * 3600);
        break;
    default:
        start = QDateTime(startDate, startTime, Qt::LocalTime);
        break;
    }

    Event master;
    master.uid = QStringLiteral("fuzz");
    master.recurrence_rule = parts.value(0);
    master.exception_dates = parts.value(1);
    master.recurrence_dates = parts.value(2);
    master.is_all_day = data[2] & 1;
    master.start_time = start;
    master.end_time = start.addSecs(qint64(data[3]) * 600);

    Event moved = master;
    moved.recurrence_rule.clear();
    moved.master_event_uid = master.uid;
    moved.recurrence_id = parts.value(3);

    const QDateTime from(base, QTime(0, 0), Qt::UTC);
    const QDateTime to = from.addDays(spanDays);
    (void)parseRRule(master.recurrence_rule);
    (void)parseExceptionInstants(master.exception_dates);
    (void)expandOccurrences({master, moved}, from, to);
    const QList<QDateTime> starts = recurrenceStarts(parseRRule(master.recurrence_rule), start, to);

    // Skipping to the range must give the starts that walking from the series' start gives.
    Event plain = master;
    plain.exception_dates.clear();
    plain.recurrence_dates.clear();
    // A walk that reached its bound of starts still gives the first of them in the range: a
    // dense series must show those, counting its bound from the range.
    const bool walkedAll = starts.size() < 100000;
    if (!plain.recurrence_rule.isEmpty() && (walkedAll || starts.last() >= from)) {
        const qint64 length = start.msecsTo(*master.end_time);
        QList<qint64> walked;
        for (const QDateTime &s : starts) {
            if (s.addMSecs(length) > from && s < to)
                walked.append(s.toMSecsSinceEpoch());
        }
        QList<qint64> skipped;
        for (const Event &occurrence : expandRecurringMaster(plain, from, to))
            skipped.append(occurrence.start_time.toMSecsSinceEpoch());
        if (walkedAll ? walked != skipped : skipped.mid(0, walked.size()) != walked)
            abort();
    }
    return 0;
}
