#pragma once

#include <QDateTime>
#include <QString>

// Brings the stored iCalendar text of an event in line with a new start and end by editing the
// first VEVENT's own DTSTART, DTEND and DURATION lines; every other line survives unchanged.
// A time that carried a zone the system knows keeps that zone, an all-day date stays a date;
// other times become UTC. Empty text, text without a VEVENT or an invalid start come back as
// they are.
[[nodiscard]] QString rewriteEventTimes(const QString &raw, const QDateTime &start,
                                        const QDateTime &end);
