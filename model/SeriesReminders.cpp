#include "model/SeriesReminders.h"

#include "model/Recurrence.h"

#include <QLatin1String>

#include <algorithm>

namespace Reminders {

SeriesReminders seriesReminders(const Event &master, const QList<Event> &overrides,
                                int minutesBefore, const std::optional<QDateTime> &handledUntil,
                                const QDateTime &now)
{
    const qint64 offset = qint64(minutesBefore) * 60;
    // Occurrences starting after `after` are still owed their reminder; those starting up to
    // dueEnd are owed it now.
    QDateTime after = now.addSecs(-kReminderLateSecs);
    if (handledUntil && handledUntil->isValid() && handledUntil->addSecs(offset) > after)
        after = handledUntil->addSecs(offset);
    const QDateTime dueEnd = now.addSecs(offset);

    QList<Event> series {master};
    series += overrides;
    SeriesReminders out;
    std::optional<QDateTime> next;
    QDateTime from = after;
    // The next occurrence is looked for a day ahead, then a month, then a year: a daily series
    // never expands a year, and one without an occurrence for a year is looked at yearly.
    for (const int days : {1, 32, 366}) {
        const QDateTime to = dueEnd.addDays(days);
        const QList<Event> occurrences = expandOccurrences(series, from, to);
        for (const Event &occ : occurrences) {
            const bool remindsItself = occ.id != master.id && !occ.reminders.isEmpty();
            if (remindsItself || occ.status == QLatin1String("cancelled")
                || !(occ.start_time > after) || occ.start_time < from)
                continue;
            if (occ.start_time <= dueEnd)
                out.due.append(occ);
            else if (!next || occ.start_time < *next)
                next = occ.start_time;
        }
        from = to;
        if (next)
            break;
    }
    std::stable_sort(out.due.begin(), out.due.end(),
                     [](const Event &a, const Event &b) { return a.start_time < b.start_time; });
    out.nextTrigger = (next ? *next : from).addSecs(-offset);
    out.firstTrigger
        = out.due.isEmpty() ? out.nextTrigger : out.due.first().start_time.addSecs(-offset);
    return out;
}

} // namespace Reminders
