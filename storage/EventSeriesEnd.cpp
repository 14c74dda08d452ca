// The latest end of a row's occurrences as SQL: the key of idx_events_series_end, by which a range
// read finds series and long rows.

#include "storage/EventRepositoryDetail.h"

namespace EventRepositoryDetail {

// The rows the start-time range cannot find: series, rows without an end or with ends SQLite
// cannot read, and rows longer than six days (the margin covers texts with and without offsets).
// Written as idx_events_series_end has it, which SQLite needs to use that index.
const QString kLongRow = QStringLiteral(
    "deleted_at IS NULL AND ((recurrence_rule IS NOT NULL AND recurrence_rule != '') OR "
    "end_time IS NULL OR julianday(end_time) IS NULL OR julianday(start_time) IS NULL OR "
    "julianday(end_time) - julianday(start_time) > 6)");

// The latest moment, in Julian days, at which an occurrence of the row can end: a single event's
// end; for a series, what its UNTIL or COUNT allows where the rule is simple enough to tell in
// SQL (COUNT periods of the longest length, and a week for a first week without a start), plus
// three days for zones and a date-only UNTIL, plus one occurrence's length; 1e7 where
// nothing bounds it. Anything the reader of rules would not take (a repeated key, a number with
// other characters, a date that does not exist) counts as no bound. This is the key of
// idx_events_series_end, composed exactly as in its migration.
const QString &seriesEndSql()
{
    static const QString sql = [] {
        const QString r = QStringLiteral("(';' || upper(recurrence_rule) || ';')");
        const auto at = [&r](const char *key) {
            return QStringLiteral("instr(%1, ';%2=')").arg(r, QLatin1String(key));
        };
        const auto single = [&](const char *key) {
            return QStringLiteral("instr(substr(%1, %2 + 1), ';%3=') = 0")
                .arg(r, at(key), QLatin1String(key));
        };
        const auto window = [&](const char *key, int n) {
            return QStringLiteral("substr(%1, %2 + %3, %4)")
                .arg(r, at(key))
                .arg(qstrlen(key) + 2)
                .arg(n);
        };
        const QString digits8 = QStringLiteral("[0-9]").repeated(8);
        const QString digits6 = QStringLiteral("[0-9]").repeated(6);
        const QString u = window("UNTIL", 17);
        const QString date
            = QStringLiteral("(substr(%1, 1, 4) || '-' || substr(%1, 5, 2) || '-' || "
                             "substr(%1, 7, 2))")
                  .arg(u);
        const QString until
            = QStringLiteral("CASE WHEN %1 > 0 AND %2 AND date(%3, '+0 days') = %3 AND %3 >= "
                             "'0001' AND (%4 GLOB '%5;*' OR ((%4 GLOB '%5T%6;*' OR %4 GLOB "
                             "'%5T%6Z;*') AND substr(%4, 10, 2) < '24' AND substr(%4, 12, 2) < "
                             "'60' AND substr(%4, 14, 2) < '60')) THEN julianday(%3) + 1 ELSE "
                             "1e7 END")
                  .arg(at("UNTIL"), single("UNTIL"), date, u, digits8, digits6);
        const auto numberOk = [&](const char *key) {
            const QString w = window(key, 10);
            return QStringLiteral("%1 > 0 AND %2 AND %3 GLOB '[1-9]*' AND substr(%3, "
                                  "length(CAST(CAST(%3 AS INTEGER) AS TEXT)) + 1, 1) = ';'")
                .arg(at(key), single(key), w);
        };
        const QString withoutTimes
            = QStringLiteral("replace(replace(replace(%1, ';BYHOUR=', ';'), ';BYMINUTE=', ';'), "
                             "';BYSECOND=', ';')")
                  .arg(r);
        const QString daysOnly
            = QStringLiteral("instr(replace(%1, ';BYDAY=', ';'), ';BY') = 0").arg(withoutTimes);
        const QString noBy = QStringLiteral("instr(%1, ';BY') = 0").arg(withoutTimes);
        const QString period
            = QStringLiteral(
                  "CASE WHEN instr(%1, ';FREQ=DAILY;') > 0 AND %2 THEN CASE WHEN instr(%1, "
                  "';BYDAY=') > 0 THEN 7 ELSE 1 END WHEN instr(%1, ';FREQ=WEEKLY;') > 0 AND %2 "
                  "THEN 7 WHEN instr(%1, ';FREQ=MONTHLY;') > 0 AND %3 THEN 31 WHEN instr(%1, "
                  "';FREQ=YEARLY;') > 0 AND %3 THEN 366 END")
                  .arg(r, daysOnly, noBy);
        const QString count
            = QStringLiteral(
                  "CASE WHEN %1 AND %2 AND (%3 = 0 OR %4) THEN COALESCE(julianday(start_time) + "
                  "7 + CAST(%5 AS INTEGER) * CASE WHEN %3 = 0 THEN 1 ELSE CAST(%6 AS INTEGER) END "
                  "* (%7), 1e7) ELSE 1e7 END")
                  .arg(numberOk("COUNT"), single("FREQ"), at("INTERVAL"), numberOk("INTERVAL"),
                       window("COUNT", 10), window("INTERVAL", 10), period);
        return QStringLiteral(
                   "CASE WHEN recurrence_rule IS NULL OR recurrence_rule = '' THEN "
                   "COALESCE(julianday(end_time), 1e7) WHEN recurrence_dates IS NOT NULL AND "
                   "recurrence_dates NOT IN ('', '[]') THEN 1e7 ELSE "
                   "COALESCE(max(julianday(start_time), min(%1, %2)) + 3 + CASE WHEN end_time IS "
                   "NULL THEN 1.0 / 24 ELSE max(0, julianday(end_time) - julianday(start_time)) "
                   "END, 1e7) END")
            .arg(until, count);
    }();
    return sql;
}

} // namespace EventRepositoryDetail
