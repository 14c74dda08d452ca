#pragma once

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>

// Brings the stored iCalendar text of an event in line with a new start and end by editing the
// first VEVENT's own DTSTART, DTEND and DURATION lines; every other line survives unchanged.
// A time that carried a zone the system knows keeps that zone, an all-day date stays a date;
// other times become UTC. Empty text, text without a VEVENT or an invalid start come back as
// they are.
[[nodiscard]] QString rewriteEventTimes(const QString &raw, const QDateTime &start,
                                        const QDateTime &end);

// Replaces the first VEVENT's own lines of each named property (folded continuations included;
// lines of nested components such as alarms stay) by the given lines, written where the first
// of them stood, or before END:VEVENT when the event had none. Text without a VEVENT comes back
// as it is.
[[nodiscard]] QString rewriteEventProperties(const QString &raw,
                                             const QHash<QString, QStringList> &replacements);
