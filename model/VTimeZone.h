#pragma once

// Time zones that an iCalendar text defines itself (VTIMEZONE components), for the TZIDs that
// name no zone the system knows: custom and localized names, labels such as "(UTC+01:00) ...".

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTime>
#include <QTimeZone>

#include <limits>
#include <optional>
#include <utility>
#include <vector>

// One zone: its STANDARD and DAYLIGHT observances, turned into a sorted list of offset changes
// that is worked out lazily up to the latest year asked for.
class VTimeZone
{
public:
    // Reads one VTIMEZONE component from its unfolded lines; nothing when it has no TZID or no
    // usable observance.
    [[nodiscard]] static std::optional<VTimeZone> parse(const QStringList &lines);

    [[nodiscard]] const QString &id() const { return m_id; }

    // The instant of a wall-clock time in this zone, carrying the offset in force there. A time
    // that occurs twice reads as the first one; a time skipped by a change takes the offset from
    // before it, so it lands after the change.
    [[nodiscard]] QDateTime at(const QDate &date, const QTime &time);

    // The same zone as the system's zone code can work with, when its rules are that simple: one
    // fixed offset, or one yearly change each way on an n-th or last weekday of a month (what
    // calendar programs write for their own zones). Times read in it keep their wall-clock time
    // across daylight-saving changes, as a series in this zone must. Nothing otherwise.
    [[nodiscard]] std::optional<QTimeZone> systemZone();

private:
    // Wall-clock times are kept as seconds since the epoch as if they were UTC.
    struct Observance
    {
        qint64 start = 0; // DTSTART, a wall-clock time in offsetFrom
        bool startIsUtc = false;
        int offsetFrom = 0; // seconds east of UTC
        int offsetTo = 0;
        QString rule; // RRULE value, empty when none
        QList<std::pair<qint64, bool>> extraOnsets; // RDATE: wall-clock time, or UTC when true
    };

    struct Change
    {
        qint64 utc;
        int offsetBefore;
        int offsetAfter;
    };

    void cover(int year);
    int offsetOfInterval(qsizetype index) const;

    QString m_id;
    QList<Observance> m_observances;
    QList<Change> m_changes;
    std::optional<std::optional<QTimeZone>> m_systemZone; // worked out on first use
    int m_coveredYear = std::numeric_limits<int>::min();
};

// The zone a stored event's TZID names: a zone the system knows, else the one the event's own
// text defines (as far as systemZone can say it). Nothing when neither.
[[nodiscard]] std::optional<QTimeZone> eventTimeZone(const QString &tzid, const QString &text);

// The VTIMEZONE components of one iCalendar text, read on first use: most texts never name a
// zone the system does not know, and then the definitions are not even looked for.
class VTimeZoneSet
{
public:
    // The text must outlive the set.
    explicit VTimeZoneSet(const QString &text);
    VTimeZoneSet(const VTimeZoneSet &) = delete;
    VTimeZoneSet &operator=(const VTimeZoneSet &) = delete;

    // The zone the text defines under this TZID (quotes around it ignored), or null.
    [[nodiscard]] VTimeZone *find(const QString &tzid);

    // The VTIMEZONE components (CR LF lines) of the zones found since the last reset, so that a
    // component kept on its own still says what its TZIDs mean.
    [[nodiscard]] QString usedDefinitions() const;
    void resetUse() { m_used.clear(); }

private:
    void load();

    const QString &m_text;
    bool m_loaded = false;
    std::vector<VTimeZone> m_zones;
    std::vector<QString> m_definitions; // the component text of each zone
    QHash<QString, size_t> m_index;
    QList<size_t> m_used;
};
