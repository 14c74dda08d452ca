#pragma once

// Reads the VEVENTs of one iCalendar text a few at a time, so that a large file can be stored
// piece by piece instead of holding every record at once.

#include "model/ICalendar.h"
#include "model/Records.h"
#include "model/VTimeZone.h"

#include <QList>
#include <QString>
#include <QStringList>

class ICalendarEventReader
{
public:
    // Whether an event's lines are kept as long as they come, or cut where they are longer than
    // an event needs (an import: one damaged file must not make every later read of its
    // calendar slow).
    enum class Lines { Whole, Bounded };
    // Longest value kept of a SUMMARY or LOCATION line, and of any other line, when bounded; in
    // UTF-16 units.
    static constexpr qsizetype kMaxShortText = 4096;
    static constexpr qsizetype kMaxText = 1024 * 1024;

    // The text must outlive the reader.
    explicit ICalendarEventReader(const QString &text, Lines lines = Lines::Whole);
    ICalendarEventReader(const ICalendarEventReader &) = delete;
    ICalendarEventReader &operator=(const ICalendarEventReader &) = delete;

    // Up to max further events, in text order; fewer only at the end of the text.
    [[nodiscard]] QList<Event> next(qsizetype max);
    [[nodiscard]] bool atEnd() const { return m_atEnd; }
    // VEVENTs read so far that make no event: no UID, or left unfinished.
    [[nodiscard]] int skipped() const { return m_skipped; }
    // Events read so far with a line cut short.
    [[nodiscard]] int shortened() const { return m_shortened; }

private:
    void begin(QStringView line);
    bool finish(QList<Event> &out);
    void readProperty(QStringView line);

    UnfoldedLineCursor m_lines;
    VTimeZoneSet m_zones;
    Lines m_lineBound;
    bool m_atEnd = false;
    int m_skipped = 0;
    int m_shortened = 0;

    // The event being read.
    Event m_event;
    bool m_inEvent = false;
    QString m_raw;
    qint64 m_duration = 0;
    bool m_sawEnd = false;
    int m_depth = 0; // components nested in the event (alarms and the like)
    bool m_cut = false; // a line of the event was cut short
    QStringList m_exceptionDates;
    QStringList m_recurrenceDates;
};

// How many VEVENT components a text holds, without reading them.
[[nodiscard]] int countICalendarEvents(const QString &text);
