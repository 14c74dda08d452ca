#pragma once

// Which reminders are due, which are done with and which series go on, decided from the store and
// the time. What to show comes back as plain data; the tray's notification service shows it and
// settles each reminder once it was shown.

#include "model/Records.h"
#include "model/SeriesReminders.h"
#include "storage/EventRepository.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class Store;

// The rules of a reminder pass, free of the database so tests can call them.
namespace Reminders {

// How long after an item's start (or due time) its reminder may still fire.
constexpr qint64 kLateCutoffSecs = kReminderLateSecs;

// An event reminder fires once its trigger time has come, until 30 minutes after the start.
// An invalid trigger or start never fires.
[[nodiscard]] bool eventReminderFires(const QDateTime &trigger, const QDateTime &start,
                                      const QDateTime &now);
// A task reminder fires from minutesBefore ahead of the due time until 30 minutes after it.
[[nodiscard]] bool taskReminderFires(const QDateTime &due, int minutesBefore, const QDateTime &now);

// Whether the filter rules hide the event or silence its reminders.
[[nodiscard]] bool suppressed(const Event &event, const QList<FilterRule> &rules);

// The balloon text of an event reminder; timeText is the start's time of day. It says the time
// left from now, or when the event started; a day or more ahead, the start's day is named as
// seen from now.
[[nodiscard]] QString eventBody(const QDateTime &start, const QDateTime &now,
                                const QString &timeText, const QString &location);
// The balloon text of a task reminder; timeText is the due time of day (unused for date-only).
[[nodiscard]] QString taskBody(bool dateOnly, int minutesBefore, const QString &timeText);
// The item's title, or "Reminder" for an untitled one.
[[nodiscard]] QString balloonTitle(const QString &title);

} // namespace Reminders

// A reminder to show, and what showing it settles.
struct ReminderNotice
{
    QString title;
    QString body;
    QString eventId; // empty for task reminders and the test balloon
    QDate date; // invalid for the test balloon
    // What showing it settles: none for the test balloon.
    QString reminderId;
    bool task = false;
    std::optional<ReminderSchedule> moveOn; // a series' reminder goes on instead
    // Of an event reminder, what its body is said from, so that it can be said again later.
    QDateTime start;
    QString timeText;
    QString location;
};

namespace Reminders {
// The notice's body as read at now: an event reminder's says the time left then.
[[nodiscard]] QString bodyAt(const ReminderNotice &notice, const QDateTime &now);
} // namespace Reminders

// One pass over the store's reminders at a time.
class ReminderRound
{
public:
    // What the event reminders due at a time come to.
    struct EventReminders
    {
        QList<ReminderNotice> notices; // by trigger time
        QStringList settled; // done with without a notice: over, deleted or silenced
        QList<ReminderSchedule> movedOn; // series going on with no occurrence shown now
    };

    explicit ReminderRound(const Store &store)
        : m_store(store)
    { }

    // Whether the store is open with the repositories a round reads and writes.
    [[nodiscard]] bool isReady() const;

    // The event reminders due at now, leaving out those in skip (on their way to the user
    // already); no value when they could not be read (*error then says why).
    [[nodiscard]] std::optional<EventReminders>
    dueEvents(const QDateTime &now, const QStringList &skip, QString *error = nullptr) const;
    // The task reminders due at now, leaving out those in skip, by due time.
    [[nodiscard]] std::optional<QList<ReminderNotice>>
    dueTasks(const QDateTime &now, const QStringList &skip, QString *error = nullptr) const;

    // Writes what dueEvents settled without a notice: the acknowledgements, then the series that
    // go on. The store's text of each write that failed; such reminders are read again.
    [[nodiscard]] QStringList settleUnshown(const EventReminders &events) const;
    // Marks what a shown notice reminded of as done: its reminder acknowledged, or its series
    // moved on. False (with *error) when the write failed; the reminder is read again then.
    [[nodiscard]] bool settleShown(const ReminderNotice &notice, QString *error = nullptr) const;

private:
    QString timeText(const QDateTime &dateTime) const;

    const Store &m_store;
};
