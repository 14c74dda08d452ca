#pragma once

#include "model/Records.h"
#include "storage/SqlHelpers.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QStringList>

#include <optional>

class Database;
class QSqlQuery;

// The one reader and writer of events and their attendee, reminder and attachment rows. Keeps
// the event half of the outbox: local changes are "pending" until a sync marks them "synced",
// and a local deletion is a pending tombstone.
class EventRepository : public QObject
{
    Q_OBJECT
public:
    explicit EventRepository(Database *db, QObject *parent = nullptr);

    // Active events of the calendar by start, with reminders and attendees.
    QList<Event> listByCalendar(const QString &calendarId) const;
    // Active events that start before `to` and have no end, end after `from`, or repeat.
    // An empty calendar list means every calendar. With reminders and attendees.
    QList<Event> listInRange(const QDateTime &from, const QDateTime &to,
                             const QStringList &calendarIds = {}) const;
    // The outbox of a calendar, tombstones included, without child rows.
    QList<Event> listPending(const QString &calendarId) const;
    QList<Event> listRelatedTo(const QString &taskUid) const;
    QList<Event> search(const QString &text, int limit) const;

    // These three return tombstones too.
    std::optional<Event> byId(const QString &id) const;
    std::optional<Event> byUidInCalendar(const QString &uid, const QString &calendarId) const;
    std::optional<Event> byUidAndRecurrenceId(const QString &uid, const QString &calendarId,
                                              const QString &recurrenceId) const;
    // The row that mirrors an item of a remote source, without child rows.
    std::optional<Event> byProviderId(const QString &calendarId,
                                      const QString &providerEventId) const;

    bool insert(const Event &event);
    bool update(const Event &event);
    bool remove(const QString &id);
    bool hardDelete(const QString &id);
    bool markSynced(const QString &id, const QString &href, const QString &etag);
    // Undoes a deletion: clears the tombstone, or inserts the row again as a new event.
    bool restore(const Event &event);

    // Announces a change of the calendar after 150 ms of quiet; the last id given wins.
    void notifyChanged(const QString &calendarId);

signals:
    void eventsChanged(const QString &calendarId);

private:
    QList<Event> list(const QString &sql, const QStringList &values, const char *logName) const;
    std::optional<Event> one(const QString &sql, const QStringList &values,
                             const char *logName) const;
    // Reminders and attendees of the events.
    void loadChildrenFor(QList<Event> &events) const;
    bool writeReminderRows(const Event &event, bool replace);
    bool writeAttendeeRows(const Event &event, bool replace);
    bool deleteChildRows(const QString &table, const QString &eventId);
    QString calendarOf(const QString &id) const;
    bool writeEvent(const Event &event, bool isInsert);
    bool refreshLongRows() const;

    // Row ids of the events a start-time index range cannot find: recurring masters, events
    // without an end and events longer than a week. Rebuilt whenever the database changed in
    // any way since it was built, so it never serves stale results.
    struct LongRows
    {
        qint64 dataVersion = -1;
        qint64 totalChanges = -1;
        QString rowIds; // JSON array
    };
    mutable LongRows m_longRows;

    Database *m_db;
    Sql::StatementCache m_statements;
    Sql::ChangeCoalescer m_changes;
};
