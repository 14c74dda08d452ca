#pragma once

// A stateful stand-in for the calendar part of Microsoft Graph v1.0, on FakeHttpServer, behaving
// as the service's public documentation describes it:
//  - GET /me/calendars; GET, POST, PATCH, DELETE of /me/calendars/{id}/events[/{id}];
//    GET /me/events/{id} and /me/events/{id}/instances?startDateTime&endDateTime;
//  - GET /me/calendars/{id}/calendarView/delta with startDateTime and endDateTime on the first
//    request: the view holds single events, and the occurrences and exceptions of series (never
//    the series masters), pages of "Prefer: odata.maxpagesize" items, "@odata.nextLink" pages
//    and a final "@odata.deltaLink" whose token remembers what the client has seen; a later
//    round sends what changed since, and "@removed" for what left the view (deleted events,
//    cancelled occurrences);
//  - series expanded from their patterns; an absolute monthly or yearly day that a month lacks
//    falls on that month's last day;
//  - a create with a "transactionId" already used answers the event that transaction made;
//  - times in the zone "Prefer: outlook.timezone" names (UTC by default), "@odata.etag" as
//    W/"<changeKey>" and If-Match checked on writes (412), ids with "/" and "=" in them, 401
//    without the bearer token, 410 "syncStateNotFound" for expired delta tokens.
// Faults are injected per request. Ids of occurrences are stable: the series id and the date.

#include "support/FakeHttpServer.h"

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QJsonObject>
#include <QList>
#include <QSet>
#include <QString>

#include <functional>
#include <optional>

namespace LarkTest {

class FakeGraph
{
public:
    FakeGraph();

    [[nodiscard]] bool listen();
    // ".../v1.0": the service root clients are pointed at.
    QUrl root() const;
    FakeHttpServer &server() { return m_server; }

    // Requests must carry "Authorization: Bearer <accessToken>".
    QString accessToken = QStringLiteral("graph-access-token");

    QString addCalendar(const QString &name, const QString &color = QStringLiteral("auto"));
    // The calendar and its events are gone from the service.
    void removeCalendar(const QString &calendarId);

    // Someone else's changes. The event is a Graph event body: subject, start and end
    // ({dateTime, timeZone}), isAllDay, recurrence... A series master has "recurrence".
    QString addEvent(const QString &calendarId, const QJsonObject &event);
    bool editEvent(const QString &id, const std::function<void(QJsonObject &)> &edit);
    bool removeEvent(const QString &id);
    // One occurrence of a series, by its original date in the series' zone.
    bool moveOccurrence(const QString &masterId, const QDate &date, const QDateTime &newStart,
                        const QDateTime &newEnd);
    bool cancelOccurrence(const QString &masterId, const QDate &date);
    static QString occurrenceId(const QString &masterId, const QDate &date);

    // The stored event (a single event or a series master) as the service shows it; empty when
    // there is none.
    QJsonObject event(const QString &id) const;
    // Single events and series masters of a calendar, in creation order.
    QList<QJsonObject> events(const QString &calendarId) const;
    // What a calendar view over [start, end) shows, times in UTC.
    QList<QJsonObject> calendarView(const QString &calendarId, const QDateTime &start,
                                    const QDateTime &end) const;

    // The next `times` requests whose method matches ("*": any) and whose raw target contains
    // `targetPart` get this reply instead.
    void failNext(const QByteArray &method, const QString &targetPart, const FakeReply &reply,
                  int times = 1);
    // The next `times` such requests are carried out, and their connection dropped instead of
    // an answer.
    void dropAnswers(const QByteArray &method, const QString &targetPart, int times = 1);
    void clearFailures() { m_failures.clear(); }
    // Every delta token handed out so far answers 410 "syncStateNotFound" from now on.
    void expireDeltaTokens();

    // The most items the service puts on a page, whatever the client prefers.
    int pageLimit = 100;
    // How long every answer takes to arrive.
    int answerDelayMs = 0;

    // Written into createdDateTime and lastModifiedDateTime; each write adds a second.
    QDateTime clock = QDateTime(QDate(2026, 3, 2), QTime(8, 0), Qt::UTC);

private:
    struct Stored
    {
        QString calendarId;
        QJsonObject json; // the event's own members, times as they were sent
        // Series only: the members changed on single occurrences, and the dates taken out.
        QHash<QDate, QJsonObject> exceptions;
        QSet<QDate> cancelled;
    };
    struct Listing
    {
        QList<QJsonObject> items;
        QString basePath; // encoded, below the root
        QString deltaToken; // handed out with the last page; empty for instance listings
    };
    struct Snapshot
    {
        QString calendarId;
        QDateTime start;
        QDateTime end;
        QHash<QString, QString> changeKeys; // id -> changeKey of what the client has seen
        bool expired = false;
    };
    struct Failure
    {
        QByteArray method;
        QString targetPart;
        FakeReply reply;
        int times;
        bool applied; // the request is carried out before the reply replaces its answer
    };
    struct Instance
    {
        QString id;
        QString changeKey;
        QJsonObject json;
    };

    FakeReply dispatch(const RecordedRequest &request);
    FakeReply answer(const RecordedRequest &request);
    FakeReply calendarView(const RecordedRequest &request, const QString &calendarId);
    FakeReply instances(const RecordedRequest &request, const QString &masterId);
    FakeReply create(const RecordedRequest &request, const QString &calendarId);
    FakeReply patch(const RecordedRequest &request, const QString &id);
    FakeReply remove(const RecordedRequest &request, const QString &id);
    FakeReply page(const RecordedRequest &request, const QString &listingId, int offset);

    QString touch(QJsonObject &json);
    QString newId();
    // The view of a calendar over [start, end): single events, occurrences and exceptions.
    QList<Instance> view(const QString &calendarId, const QDateTime &start,
                         const QDateTime &end) const;
    std::optional<Instance> instanceAt(const QString &id, const QDate &date) const;
    QList<Instance> seriesInstances(const QString &id, const QDateTime &start,
                                    const QDateTime &end) const;
    // Every original date of a series (in its zone) up to `last`.
    QList<QDate> seriesDates(const QJsonObject &master, const QDate &last) const;
    QJsonObject shownEvent(const QString &id, const QJsonObject &json) const;
    std::optional<std::pair<QString, QDate>> occurrenceOf(const QString &id) const;
    QString preferredZone(const RecordedRequest &request) const;
    int pageSizeOf(const RecordedRequest &request) const;
    QString newListing(Listing listing);

    FakeHttpServer m_server;
    QList<std::pair<QString, QString>> m_calendars; // id, name + colour kept in m_calendarColors
    QHash<QString, QString> m_calendarColors;
    QHash<QString, Stored> m_events;
    QStringList m_order;
    QHash<QString, Listing> m_listings;
    QHash<QString, Snapshot> m_snapshots;
    QList<Failure> m_failures;
    int m_nextId = 0;
    // The zone outlook.timezone asked for, while one request is being answered.
    mutable QString m_zone;
};

} // namespace LarkTest
