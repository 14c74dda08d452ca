#pragma once

#include "model/Records.h"
#include "model/SeriesReminders.h"
#include "storage/ChangeCoalescer.h"
#include "storage/ChildRows.h"
#include "storage/RowCache.h"
#include "storage/StatementCache.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QSqlQuery>
#include <QStringList>

#include <QVarLengthArray>

#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <vector>

class Database;
class ImportUndoLog;

// The most reminder rows one poll reads; a backlog is worked off over the following polls.
inline constexpr int kReminderPollBatch = 200;

// An unacknowledged reminder whose trigger time has come, with its event (without child rows;
// deleted events' too, so that the reminder poll can settle their reminders).
struct EventReminderAlert
{
    QString reminderId;
    int minutesBefore = 0;
    QDateTime trigger;
    // Of a repeating event: up to when its occurrences have been reminded of.
    std::optional<QDateTime> handledUntil;
    Event event;
};

// How a reminder of a repeating event goes on: looked at again at nextTrigger, its occurrences
// reminded of up to handledUntil.
struct ReminderSchedule
{
    QString reminderId;
    QDateTime nextTrigger;
    QDateTime handledUntil;
};

// The one reader and writer of events and their attendee, reminder and attachment rows. Keeps
// the event half of the outbox: local changes are "pending" until a sync marks them "synced",
// and a local deletion is a pending tombstone.
// Its sources go by subject: EventRepository.cpp (construction, change notices, lookups),
// EventRangeRead.cpp (range reads with their child rows), EventSeriesEnd.cpp (the series-end
// bound's SQL), EventReminders.cpp (the reminder poll's queries and writes), EventWrite.cpp
// (inserts, updates, replaceByUid, restore) and EventRemoval.cpp (tombstones, purges).
class EventRepository : public QObject
{
    Q_OBJECT
public:
    explicit EventRepository(Database *db, QObject *parent = nullptr);

    // Whether a read brings the events' reminders and attendees.
    enum class WithChildRows : bool { No, Yes };

    // Active events of the calendar by start, with reminders and attendees unless told
    // otherwise.
    QList<Event> listByCalendar(const QString &calendarId,
                                WithChildRows children = WithChildRows::Yes) const;
    // Active events that start before `to` and have no end, end after `from`, or repeat.
    // An empty calendar list means every calendar. With reminders and attendees.
    QList<Event> listInRange(const QDateTime &from, const QDateTime &to,
                             const QStringList &calendarIds = {}) const;
    // The same events as the records the repository keeps for range reads, for callers that
    // only read them: no event is copied.
    QList<std::shared_ptr<const Event>> sharedInRange(const QDateTime &from, const QDateTime &to,
                                                      const QStringList &calendarIds = {}) const;
    // The outbox of a calendar, tombstones included, without child rows.
    QList<Event> listPending(const QString &calendarId) const;
    QList<Event> listRelatedTo(const QString &taskUid) const;
    QList<Event> search(const QString &text, int limit) const;

    // These three return tombstones too. The lookups load reminders and attendees unless told
    // otherwise: their callers write the record back.
    std::optional<Event> byId(const QString &id) const;
    std::optional<Event> byUidInCalendar(const QString &uid, const QString &calendarId) const;
    std::optional<Event> byUidAndRecurrenceId(const QString &uid, const QString &calendarId,
                                              const QString &recurrenceId,
                                              WithChildRows children = WithChildRows::Yes) const;
    // The row that mirrors an item of a remote source.
    std::optional<Event> byProviderId(const QString &calendarId, const QString &providerEventId,
                                      WithChildRows children = WithChildRows::Yes) const;
    // Gives a record looked up without them its reminders and attendees.
    void loadChildRows(Event &event) const;

    // While one lives, insert, update and replaceByUid open no savepoint of their own, which
    // costs a copy of every page they touch: for a caller that makes many writes as one step and
    // undoes all of it when any of them fails.
    class WholeStep
    {
    public:
        explicit WholeStep(EventRepository *events)
            : m_events(events)
        {
            ++m_events->m_wholeSteps;
        }
        ~WholeStep() { --m_events->m_wholeSteps; }
        WholeStep(const WholeStep &) = delete;
        WholeStep &operator=(const WholeStep &) = delete;

    private:
        EventRepository *m_events;
    };

    bool insert(const Event &event);
    // Writes only the columns whose stored values differ, and the reminder and attendee rows only
    // when they differ from the stored ones: a sync that writes back thousands of slightly changed
    // rows leaves untouched indexes and child rows alone.
    bool update(const Event &event);
    bool remove(const QString &id);
    bool hardDelete(const QString &id);
    bool markSynced(const QString &id, const QString &href, const QString &etag);
    // Undoes a deletion: clears the tombstone, or inserts the row again as a new event.
    bool restore(const Event &event);

    // Stores the events as one write: each replaces the stored event with its uid and recurrence
    // id in its calendar (keeping that row's id) or comes in as a new row with a new id. A
    // reminder or attendee list an event leaves empty keeps the stored rows: a file that says
    // nothing of them must not erase what was added here. All or nothing (inside a whole step,
    // through its owner); new rows get ids that sort by time. Announces the last event's
    // calendar once. False on failure, with *error set to the store's reason when the write
    // could not even begin.
    // With a log, each row is noted there before it is written, so the write can be taken back
    // after it was committed.
    [[nodiscard]] bool replaceByUid(const QList<Event> &events, QString *error = nullptr,
                                    ImportUndoLog *log = nullptr);

    // Deletes for good, without tombstones, the events whose id begins with prefix (compared as
    // SQL's LIKE does, ignoring ASCII case) with their reminder, attendee and attachment rows.
    // Returns how many events went; a failing statement counts nothing and the next still runs.
    int purgeByIdPrefix(const QString &prefix);
    // Deletes for good every event of the calendar, tombstones too, with their reminder,
    // attendee and attachment rows; all or nothing. False (with the driver's text) on failure.
    [[nodiscard]] bool purgeCalendar(const QString &calendarId, QString *error = nullptr);

    // The unacknowledged reminders whose trigger time is not after `until`, earliest first, at
    // most kReminderPollBatch of them; no value when the read failed (*error then holds the
    // driver's text). Reminders that fired or were settled are acknowledged, and those that
    // could never fire are settled as they are written, so this reads only the few still to
    // come, however long the history. Triggers are kept in UTC, so they are read from their index.
    // Reminders named in `skip` (already on their way to the user) are left out.
    std::optional<QList<EventReminderAlert>>
    unacknowledgedReminders(const QDateTime &until, QString *error = nullptr,
                            const QStringList &skip = {}) const;
    // Marks the reminders acknowledged so that they fire once. False (with the driver's text)
    // when a statement failed; the reminders before it stay acknowledged.
    bool acknowledgeReminders(const QStringList &reminderIds, QString *error = nullptr);
    // Moves reminders of repeating events on to their next occurrence. False (with the driver's
    // text) when a statement failed.
    bool rescheduleReminders(const QList<ReminderSchedule> &schedules, QString *error = nullptr);
    // The live overrides of a repeating event, with their child rows.
    QList<Event> overridesOf(const Event &master) const;

    // Announces a change of the calendar after 150 ms of quiet; the last id given wins.
    void notifyChanged(const QString &calendarId);

signals:
    void eventsChanged(const QString &calendarId);

private:
    QList<Event> list(const QString &sql, const QStringList &values, const char *logName) const;
    std::optional<Event> one(const QString &sql, const QStringList &values,
                             const char *logName) const;
    std::optional<Event> oneWithChildren(const QString &sql, const QStringList &values,
                                         const char *logName,
                                         WithChildRows children = WithChildRows::Yes) const;
    // A range read's record of an event with its reminders and attendees, the rows those came
    // from (as of the count of child-row writes then), and what its own row weighed.
    struct RangeEvent
    {
        Event event;
        // The start and the end as instants (ms), as reads compare them; an invalid time is
        // earlier than any other.
        qint64 startMs = 0;
        qint64 endMs = 0;
        QVarLengthArray<qint64, 2> reminderRows;
        QVarLengthArray<qint64, 2> attendeeRows;
        quint64 childrenAt = 0;
        qint64 bytes = 0;

        void setInstants()
        {
            const auto instant = [](const QDateTime &t) {
                return t.isValid() ? t.toMSecsSinceEpoch() : std::numeric_limits<qint64>::min();
            };
            startMs = instant(event.start_time);
            if (event.end_time)
                endMs = instant(*event.end_time);
        }
    };
    // Where a range read's child rows go: the events in the order of their ids, which the
    // statements walk, as JSON lists of 500 ids.
    struct ChildLookup;
    // An event a range read found: the record known for its row, or one built now.
    struct Found;
    // One pass of sharedInRange, begun at data version `at`.
    QList<std::shared_ptr<const Event>> readRange(const QDateTime &from, const QDateTime &to,
                                                  const QStringList &calendarIds,
                                                  const Sql::DataVersion &at) const;
    // Gives the events their reminders and attendees, reusing the records whose rows are all
    // as they were.
    QList<std::shared_ptr<const Event>> withRangeChildren(std::vector<Found> &found,
                                                          const Sql::DataVersion &at) const;
    // Reminders and attendees of the events.
    void loadChildrenFor(QList<Event> &events) const;
    // What is stored of an event about to be updated: which of the values to write differ, what
    // its reminders were timed from, and how far they got.
    struct StoredEvent;
    StoredEvent storedEvent(const QString &eventId, const Sql::RowValues &values) const;
    // Reminders keep their trigger and acknowledgement while their event's times and their
    // offsets stay as stored; otherwise they count from the start anew.
    bool writeReminderRows(const Event &event, bool isInsert, StoredEvent &stored);
    // Settles a reminder being written anew that can never fire (its event is over), or moves
    // one of a series on to the first occurrence still to come.
    void settleOverdue(const Event &event, Reminder &reminder) const;
    // Makes the reminders of the series an override belongs to look at their occurrences again
    // at the next poll: the override may have moved one before their next trigger.
    bool wakeSeriesReminders(const QString &overrideId);
    bool writeAttendeeRows(const Event &event, bool replace);
    bool deleteChildRows(const QString &table, const QString &eventId);
    QString calendarOf(const QString &id) const;
    bool writeEvent(const Event &event, bool isInsert);
    // The update of these columns (bits in the order the writes bind them); oneOff holds it
    // when it is not one kept prepared.
    QSqlQuery &updateStatement(quint32 columns, std::optional<QSqlQuery> &oneOff);
    void addMastersOfOverrides(const std::vector<Found> &found, const QString &toBound,
                               const std::function<void(Event &&)> &keep) const;
    Database *m_db;
    mutable Sql::StatementCache m_statements;
    // The sets of changed columns whose updates are kept prepared.
    QSet<quint32> m_updateShapes;
    int m_wholeSteps = 0;
    // The records range reads built lately, and the zone they were read under (TZ): rows
    // without an offset read as local time. The budget keeps the weeks around the one on screen
    // (five weeks of 3,600 events at a million events) within 80 MB.
    struct RangeRows
    {
        Sql::RowCache<RangeEvent> events {qint64(80) << 20};
        // Reminder and attendee rows written on this connection, with the count of child-row
        // writes each was written at: a record read before that holds it stale.
        QHash<qint64, quint64> reminderWrites;
        QHash<qint64, quint64> attendeeWrites;
        quint64 childWrites = 0;
        // The child-row lookups of the last few reads, by the event ids they were made for.
        QList<std::pair<QStringList, std::shared_ptr<const ChildLookup>>> lookups;
        QByteArray zone;
    };
    // Notes a written reminder or attendee row.
    void noteChildWrite(QHash<qint64, quint64> &writes, qint64 rowid);
    mutable RangeRows m_range;
    ChangeCoalescer m_changes;
};
