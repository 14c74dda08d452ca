#pragma once

// The only component that talks to Microsoft Graph about calendars: the calendar list, pages of
// a calendar view's delta query, series masters and their instances, and single-event writes.
// It holds the access token its owner puts in; it never refreshes one and never retries. Every
// request has a transfer timeout and ends in its callback exactly once, from the event loop; a
// request still running when the client goes is dropped without its callback.
//
// The conversions between Graph event JSON and the Event record are static members too; they
// live in EventMapping.cpp and RecurrenceMapping.cpp.

#include "core/sync/PageChain.h"
#include "model/Records.h"
#include "services/net/RequestPolicy.h"

#include <QDateTime>
#include <QJsonObject>
#include <QList>
#include <QLoggingCategory>
#include <QObject>
#include <QString>
#include <QTimeZone>
#include <QUrl>

#include <functional>
#include <optional>

Q_DECLARE_LOGGING_CATEGORY(lcGraph)

class QNetworkAccessManager;
class QNetworkReply;
class QNetworkRequest;

namespace Microsoft {

struct DiscoveredCalendar
{
    QString id;
    QString name;
    QString color;
    bool canEdit = true;
    bool isDefault = false;
};

// What Graph answered to one request.
struct GraphReply
{
    enum class Failure {
        None,
        NoToken,
        Network, // no answer: refused, dropped or timed out
        Http, // an answer outside 2xx: see status and errorCode
        Malformed, // a 2xx answer that is not the JSON object it should be
        ForeignLink, // a next or delta link to another server
    };
    Failure failure = Failure::None;
    int status = 0;
    QJsonObject body;
    QString errorCode; // "code" of the answer's "error" object
    Net::RetryAfter retryAfter; // when the answer asked to wait
    QString reason; // readable; never a token or a body

    bool ok() const { return failure == Failure::None; }
};

// One Graph date-time object as read.
struct GraphDateTime
{
    QDateTime dateTime;
    bool dateOnly = false;
    QString timeZone;
};

class CalendarClient : public QObject
{
    Q_OBJECT
public:
    using Done = std::function<void(const GraphReply &)>;

    // One page of a listing: the items, and where it goes on (exactly one of the links is set
    // on a well-formed page).
    struct EventListPage
    {
        QList<QJsonObject> items;
        QString nextLink;
        QString deltaLink;
    };

    explicit CalendarClient(QObject *parent = nullptr);

    QString accessToken;

    // The Graph root, ".../v1.0"; by default the configured address.
    void setServiceRoot(const QUrl &root) { m_root = root; }
    QUrl serviceRoot() const { return m_root; }
    // Asked at most once per request when Graph refuses the token: renews it (setting
    // accessToken) and answers with an empty text, or with why it could not. Unset, a refusal
    // is final.
    using Renewed = std::function<void(const QString &failure)>;
    std::function<void(Renewed)> renewToken;

    // Every calendar of the signed-in user, all pages.
    void
    listCalendars(std::function<void(const QList<DiscoveredCalendar> &, const GraphReply &)> done);

    // The first request of a calendar view's delta query over [start, end).
    QUrl calendarViewDeltaUrl(const QString &calendarId, const QDateTime &start,
                              const QDateTime &end) const;
    // The delta query that resumes from a stored delta token.
    QUrl deltaTokenUrl(const QString &calendarId, const QString &deltaToken) const;
    // The occurrences and exceptions of a series master over [start, end).
    QUrl instancesUrl(const QString &masterId, const QDateTime &start, const QDateTime &end) const;
    // One page of a listing; next and delta links are fetched exactly as the server sent them,
    // and only from the server this client talks to.
    void fetchPage(const QUrl &url, Done done);

    void getEvent(const QString &eventId, Done done);
    void insertEvent(const QString &calendarId, const QJsonObject &event, Done done);
    // Only the members the event carries are changed; etag is sent as If-Match when not empty.
    void updateEvent(const QString &calendarId, const QString &eventId, const QJsonObject &event,
                     const QString &etag, Done done);
    void deleteEvent(const QString &calendarId, const QString &eventId, const QString &etag,
                     Done done);

    // Whether a link points at this client's server (scheme, host and port).
    bool isServiceLink(const QUrl &url) const;

    static DiscoveredCalendar calendarFromJson(const QJsonObject &calendar);
    static EventListPage pageFromJson(const QJsonObject &body);
    // A 2xx answer that is not what the request asks for: a failure that says so.
    static GraphReply unreadable(GraphReply reply);
    // A listing page whose next link the chain refused: a failure that says so.
    static GraphReply endless(GraphReply reply);
    // The value of the query item "$deltatoken" of a delta link; empty when it has none.
    static QString deltaTokenOf(const QString &deltaLink);
    // The entity tag of a written or read event: "@odata.etag", else W/"<changeKey>".
    static QString etagOf(const QJsonObject &event);
    // A stored tag in the form If-Match needs: a bare change key is quoted as a weak tag.
    static QString ifMatchValue(const QString &etag);

    // --- Mapping (EventMapping.cpp) ---

    // The local row for one Graph event; uid and provider_event_id are its id. An occurrence's
    // or exception's recurrence_id is its original start in UTC form, master_event_uid the
    // series master's id.
    static Event eventFromJson(const QJsonObject &event, const QString &calendarId);
    // The full body of a new event. An error text instead when the event cannot be expressed in
    // Graph (a repeat rule Graph has no pattern for).
    static QJsonObject eventToJson(const Event &event, QString *error = nullptr);
    // The members of an update: those whose value differs from what `base` (the Graph event the
    // row was read from) maps to. Without a base, the full body.
    static QJsonObject eventPatch(const Event &event, const QJsonObject &base,
                                  QString *error = nullptr);
    static QJsonObject toGraphDateTime(const QDateTime &value, bool allDay);
    static GraphDateTime fromGraphDateTime(const QJsonObject &value, bool allDay);
    // The zone a Graph zone name stands for (Windows names and IANA ids); nullopt when unknown.
    static std::optional<QTimeZone> zoneFromGraph(const QString &name);
    // The name Graph is sent for a zone: its Windows name where it has one, else its IANA id.
    static QString zoneToGraph(const QTimeZone &zone);

    // --- Recurrence (RecurrenceMapping.cpp) ---

    // The recurrence object for a rule, with the series starting at `start` (whose zone the
    // series keeps). Empty with a reason in `error` for a rule Graph has no pattern for. A rule
    // on a day 29 to 31 that shorter months lack goes with an end date (the rule's last date, for
    // a counted rule too), so that the dates Graph adds can be cancelled after the write; without
    // an end (or with too many such dates to cancel) it has no exact form and is refused.
    static QJsonObject rruleToGraphRecurrence(const QString &rule, const QDateTime &start,
                                              bool allDay, QString *error = nullptr);
    // The dates (in the series' zone) Graph gives the recurrence object of a rule that the rule
    // does not have: an absolute day 29 to 31 moved to the last day of shorter months. They are
    // cancelled once the series is written; empty when there are none.
    static QList<QDate> graphOnlyDates(const QString &rule, const QDateTime &start, bool allDay);
    // The rule of a recurrence object; empty when the pattern is missing or unknown. The rule
    // says what Graph means: an absolute day 29 to 31 falls on the last day of months without it.
    static QString graphRecurrenceToRrule(const QJsonObject &recurrence, const QDateTime &start,
                                          bool allDay);

signals:
    // Graph answered a request, whatever its status; before the request's callback runs.
    void answered();

private:
    QNetworkRequest request(const QUrl &url) const;
    void send(const QByteArray &verb, const QUrl &url, const QByteArray &body, const QString &etag,
              Done done, bool renewed = false);
    void onFinished(QNetworkReply *reply, const Done &done);
    // A refusal of the token renews it and sends the request once more.
    bool renewAndResend(const GraphReply &reply, const QByteArray &verb, const QUrl &url,
                        const QByteArray &body, const QString &etag, const Done &done);
    void listCalendarsFrom(
        const QUrl &url, QList<DiscoveredCalendar> found, Sync::PageChain pages,
        std::function<void(const QList<DiscoveredCalendar> &, const GraphReply &)> done);
    QUrl at(const QString &encodedPath) const;
    void failLater(GraphReply reply, Done done);

    QNetworkAccessManager *m_network;
    QUrl m_root;
};

} // namespace Microsoft
