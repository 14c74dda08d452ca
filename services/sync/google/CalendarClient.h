#pragma once

// The request layer over the Google Calendar API: the account's calendar list, the events of one
// calendar (a page at a time, or every page gathered), and creating, replacing and deleting single
// events. Every operation sends its request and reports the outcome through a signal; the client
// keeps nothing about calendars or events, only the bearer token its owner gives it. The JSON
// conversion of events lives here too (EventMapping.cpp).
//
// Requests may overlap: each reply handler carries its own arguments, and every write's signal
// names the caller's key of the row (localId), which the client never interprets. Destroying the
// client drops its open requests without a signal.

#include "core/sync/PageChain.h"
#include "model/Records.h"
#include "services/net/RequestPolicy.h"

#include <QDateTime>
#include <QJsonObject>
#include <QList>
#include <QMetaType>
#include <QObject>
#include <QString>
#include <QUrl>

#include <functional>
#include <optional>

class QNetworkAccessManager;
class QNetworkReply;

namespace Google {

// One entry of the account's calendar list.
struct DiscoveredCalendar
{
    QString id;
    QString summary;
    QString description;
    QString backgroundColor;
    QString accessRole;
    bool primary = false;
};

class CalendarClient : public QObject
{
    Q_OBJECT
public:
    static constexpr int maxResults = 2500;

    // Every page of one listing, in the order received.
    struct EventListPage
    {
        QList<QJsonObject> items; // cancelled items included
        QString nextSyncToken; // of the last page
    };

    // A start or end as the API writes it.
    struct EventTime
    {
        QDateTime dateTime; // invalid when the object has neither member
        bool isDate = false; // an all-day boundary
        QString timeZone; // empty for a date
    };

    explicit CalendarClient(QObject *parent = nullptr);
    // Sends through a network manager its owner keeps, so that short-lived clients share
    // connections. Open requests still end with the client.
    CalendarClient(QNetworkAccessManager *network, QObject *parent);

    // Given by the owner before the first request; an empty token fails every request at once.
    QString accessToken;

    // Whether the last refusal asked to come back later (429, or a 403 for a rate limit), and
    // when it said to.
    bool rateLimited() const { return m_rateLimited; }
    Net::RetryAfter retryAfter() const { return m_retryAfter; }
    // The API root; by default the configured Google Calendar address.
    void setApiRoot(const QString &root) { m_root = root; }

    // Follows the list's pages; ends in calendarsListed or requestFailed.
    void listCalendars();
    // Every page of the calendar's events; ends in exactly one of eventsListed, syncTokenExpired
    // and requestFailed. The time bounds count only without a sync token, and only when valid.
    void listEvents(const QString &calendarId, const QString &syncToken, const QDateTime &timeMin,
                    const QDateTime &timeMax);
    // One page; ends in exactly one of eventsPageListed, syncTokenExpired and requestFailed.
    void listEventsPage(const QString &calendarId, const QString &syncToken,
                        const QString &pageToken);
    // The calendar's events under one iCalendar UID, deleted ones included; ends in
    // eventsPageListed (without page or sync token) or requestFailed.
    void findByICalUid(const QString &calendarId, const QString &iCalUid);
    void insertEvent(const QString &localId, const QString &calendarId, const QJsonObject &event);
    // Replaces the whole resource; If-Match when the etag is not empty.
    void updateEvent(const QString &localId, const QString &calendarId, const QString &eventId,
                     const QJsonObject &event, const QString &etag);
    // 404 and 410 count as deleted: the server no longer has it.
    void deleteEvent(const QString &localId, const QString &calendarId, const QString &eventId,
                     const QString &etag);

    static DiscoveredCalendar calendarFromJson(const QJsonObject &item);
    // The events collection of the calendar, or one event of it when eventId is not empty; both
    // ids are percent-encoded whole ("@" as %40, "/" as %2F).
    QUrl eventsUrl(const QString &calendarId, const QString &eventId) const;

    // Mapping between an event resource and a stored event.
    static Event eventFromJson(const QJsonObject &item, const QString &calendarId);
    // The body that creates the event.
    static QJsonObject eventToJson(const Event &event);
    // The body that replaces the resource as last read: our fields written over it, so that
    // what this program does not keep (colour, conference data, attendee details) survives.
    static QJsonObject eventToJson(const Event &event, const QJsonObject &stored);
    static EventTime readEventTime(const QJsonObject &time);
    // timeZone names the zone a timed value is expanded in; empty means UTC.
    static QJsonObject writeEventTime(const QDateTime &time, bool allDay, const QString &timeZone);
    static QString recurrenceRuleOf(const QJsonObject &item);
    static QString normalizeStatus(const QString &status);
    // The IANA zone a timed event is written in: its own when known, else the zone its start
    // carries, else UTC.
    static QString zoneNameOf(const Event &event);

signals:
    void calendarsListed(const QList<Google::DiscoveredCalendar> &calendars);
    void eventsListed(const QString &calendarId, const Google::CalendarClient::EventListPage &page);
    void eventsPageListed(const QString &calendarId, const QList<QJsonObject> &items,
                          const QString &nextPageToken, const QString &nextSyncToken);
    void syncTokenExpired(const QString &calendarId);
    // statusCode 0: no answer; a 2xx status: an answer that cannot be read.
    void requestFailed(const QString &reason, int statusCode);
    void eventWritten(const QString &localId, const QString &providerEventId, const QString &etag);
    void eventDeleted(const QString &localId);
    void eventWriteFailed(const QString &localId, const QString &reason, int statusCode);
    // Google answered a request, whatever its status; before the request's outcome is signalled.
    void answered();

private:
    struct Answer
    {
        int status = 0;
        QByteArray body;
        QString transportError; // when status is 0
        QString policyFailure; // when the request policy ended the request
        QString reasonPhrase;
        bool ok() const { return status >= 200 && status <= 299; }
    };
    using Handler = std::function<void(const Answer &)>;
    struct PageResult
    {
        QList<QJsonObject> items;
        QString nextPageToken;
        QString nextSyncToken;
    };
    using PageHandler = std::function<void(const PageResult &)>;

    QUrl apiUrl(const QString &path) const;
    void send(const QByteArray &method, const QUrl &url, const QJsonObject *body,
              const QString &etag, Handler handler);
    void requestCalendarPage(const QString &pageToken, QList<DiscoveredCalendar> found,
                             Sync::PageChain pages);
    void requestEventsPage(const QString &calendarId, const QString &syncToken,
                           const QString &pageToken, const QDateTime &timeMin,
                           const QDateTime &timeMax, PageHandler handler);
    void collectPages(const QString &calendarId, const QString &syncToken, const QString &pageToken,
                      const QDateTime &timeMin, const QDateTime &timeMax,
                      QList<QJsonObject> gathered, Sync::PageChain pages);
    // False, with requestFailed, when the chain refuses the next page token.
    bool follow(Sync::PageChain &pages, const QString &next);
    void write(const QByteArray &method, const QString &localId, const QUrl &url,
               const QJsonObject &event, const QString &etag, const QString &rejected);
    // The object a successful listing answered, with its items; otherwise requestFailed, and
    // nothing.
    std::optional<QJsonObject> listingBody(const QString &operation, const Answer &answer);
    // "Google rejected ..." with what the answer says about why, or why no answer came.
    QString failureText(const QString &operation, const Answer &answer) const;
    void noteRateLimit(const Answer &answer, const QNetworkReply *reply);

    QNetworkAccessManager *m_network;
    QString m_root;
    bool m_rateLimited = false;
    Net::RetryAfter m_retryAfter;
};

} // namespace Google

Q_DECLARE_METATYPE(Google::DiscoveredCalendar)
Q_DECLARE_METATYPE(Google::CalendarClient::EventListPage)
