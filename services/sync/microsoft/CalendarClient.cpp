#include "services/sync/microsoft/CalendarClient.h"

#include "platform/Endpoints.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QUrlQuery>

Q_LOGGING_CATEGORY(lcGraph, "calendar.graph", QtWarningMsg)

namespace Microsoft {

namespace {

const QByteArray kJson = QByteArrayLiteral("application/json");
// Times come back in UTC whatever zone an event was made in; the zone itself is read from
// originalStartTimeZone. Large pages save round trips; the service may send smaller ones.
const QByteArray kPrefer = QByteArrayLiteral("odata.maxpagesize=500, outlook.timezone=\"UTC\"");

QString encodedSegment(const QString &id)
{
    // Graph ids carry "/", "+" and "=": every byte but the unreserved ones is encoded.
    return QString::fromLatin1(QUrl::toPercentEncoding(id));
}

QString isoUtc(const QDateTime &value)
{
    return value.toUTC().toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss.zzz'Z'"));
}

// The path and no query: delta and skip tokens stay out of the log.
QString shown(const QUrl &url)
{
    return url.path(QUrl::FullyEncoded);
}

QString graphMessage(const QJsonObject &body)
{
    QString message = body.value(QStringLiteral("error"))
                          .toObject()
                          .value(QStringLiteral("message"))
                          .toString()
                          .simplified();
    if (message.size() > 200)
        message = message.left(200) + QStringLiteral("…");
    return message;
}

} // namespace

CalendarClient::CalendarClient(QObject *parent)
    : QObject(parent)
    , m_network(new QNetworkAccessManager(this))
    , m_root(QUrl(Endpoints::microsoftGraphApiUrl()))
{ }

QUrl CalendarClient::at(const QString &encodedPath) const
{
    QString root = m_root.toString(QUrl::FullyEncoded);
    while (root.endsWith(QLatin1Char('/')))
        root.chop(1);
    return QUrl::fromEncoded((root + encodedPath).toUtf8(), QUrl::StrictMode);
}

bool CalendarClient::isServiceLink(const QUrl &url) const
{
    return url.isValid() && Net::sameOrigin(url, m_root);
}

namespace {

QUrl withWindow(QUrl url, const QDateTime &start, const QDateTime &end)
{
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("startDateTime"), isoUtc(start));
    query.addQueryItem(QStringLiteral("endDateTime"), isoUtc(end));
    url.setQuery(query);
    return url;
}

QString viewDeltaPath(const QString &calendarId)
{
    return QStringLiteral("/me/calendars/") + encodedSegment(calendarId)
        + QStringLiteral("/calendarView/delta");
}

} // namespace

QUrl CalendarClient::calendarViewDeltaUrl(const QString &calendarId, const QDateTime &start,
                                          const QDateTime &end) const
{
    return withWindow(at(viewDeltaPath(calendarId)), start, end);
}

QUrl CalendarClient::deltaTokenUrl(const QString &calendarId, const QString &deltaToken) const
{
    QUrl url = at(viewDeltaPath(calendarId));
    url.setQuery(QStringLiteral("$deltatoken=") + encodedSegment(deltaToken), QUrl::StrictMode);
    return url;
}

QUrl CalendarClient::instancesUrl(const QString &masterId, const QDateTime &start,
                                  const QDateTime &end) const
{
    return withWindow(
        at(QStringLiteral("/me/events/") + encodedSegment(masterId) + QStringLiteral("/instances")),
        start, end);
}

QNetworkRequest CalendarClient::request(const QUrl &url) const
{
    QNetworkRequest request = Net::request(url);
    request.setRawHeader("Authorization", "Bearer " + accessToken.toUtf8());
    request.setRawHeader("Accept", kJson);
    request.setRawHeader("Prefer", kPrefer);
    return request;
}

void CalendarClient::failLater(GraphReply reply, Done done)
{
    QMetaObject::invokeMethod(
        this, [reply = std::move(reply), done = std::move(done)] { done(reply); },
        Qt::QueuedConnection);
}

void CalendarClient::send(const QByteArray &verb, const QUrl &url, const QByteArray &body,
                          const QString &etag, Done done, bool renewed)
{
    if (accessToken.isEmpty()) {
        GraphReply refused;
        refused.failure = GraphReply::Failure::NoToken;
        refused.reason = tr("No Microsoft access token available.");
        failLater(std::move(refused), std::move(done));
        return;
    }
    QNetworkRequest req = request(url);
    if (!body.isEmpty())
        req.setHeader(QNetworkRequest::ContentTypeHeader, kJson);
    if (!etag.isEmpty())
        req.setRawHeader("If-Match", ifMatchValue(etag).toUtf8());
    qCDebug(lcGraph).noquote() << "[Microsoft]" << verb << shown(url);
    QNetworkReply *reply = Net::send(m_network, req, verb, body);
    Net::watch(reply, Net::ReplyKind::Api);
    connect(reply, &QNetworkReply::finished, this, [=, done = std::move(done)] {
        onFinished(reply, [=](const GraphReply &answer) {
            if (renewed || !renewAndResend(answer, verb, url, body, etag, done))
                done(answer);
        });
    });
}

bool CalendarClient::renewAndResend(const GraphReply &reply, const QByteArray &verb,
                                    const QUrl &url, const QByteArray &body, const QString &etag,
                                    const Done &done)
{
    if (reply.status != 401 || !renewToken)
        return false;
    qCInfo(lcGraph).noquote() << "[Microsoft] access token refused: renewing it";
    QPointer<CalendarClient> self(this);
    renewToken([=](const QString &failure) {
        if (!self)
            return;
        if (failure.isEmpty()) {
            send(verb, url, body, etag, done, true);
            return;
        }
        GraphReply refused = reply;
        refused.reason = failure;
        done(refused);
    });
    return true;
}

void CalendarClient::onFinished(QNetworkReply *reply, const Done &done)
{
    reply->deleteLater();
    GraphReply result;
    const QString refused = Net::failureOf(reply);
    result.status = Net::statusOf(reply);
    // Only a whole reply is read: a part of a page would be taken for all of it.
    const QByteArray bytes
        = reply->isOpen() && result.status != 0 ? Net::body(reply) : QByteArray();
    const QString path = shown(reply->url());
    if (result.status == 0) {
        result.failure = GraphReply::Failure::Network;
        const QNetworkReply::NetworkError code = reply->error();
        result.reason = !refused.isEmpty() ? refused : tr("Microsoft Graph could not be reached.");
        qCWarning(lcGraph).noquote()
            << "[Microsoft]" << path << "no answer, network error" << int(code);
        done(result);
        return;
    }
    emit answered();
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &parseError);
    const bool isObject = parseError.error == QJsonParseError::NoError && doc.isObject();
    if (isObject)
        result.body = doc.object();
    if (result.status >= 200 && result.status < 300) {
        // A DELETE answers 204 without a body; everything else must be an object.
        if (!isObject && !bytes.trimmed().isEmpty()) {
            qCWarning(lcGraph).noquote() << "[Microsoft]" << path << "unreadable reply";
            return done(unreadable(result));
        }
        done(result);
        return;
    }
    result.failure = GraphReply::Failure::Http;
    result.errorCode = result.body.value(QStringLiteral("error"))
                           .toObject()
                           .value(QStringLiteral("code"))
                           .toString();
    result.retryAfter = Net::readRetryAfter(reply->rawHeader("Retry-After"));
    const QString message = graphMessage(result.body);
    switch (result.status) {
    case 401:
        result.reason = tr("Microsoft Graph did not accept the sign-in. Sign in again.");
        break;
    case 403:
        result.reason = tr("Microsoft Graph does not allow this change (HTTP 403): %1")
                            .arg(message.isEmpty() ? result.errorCode : message);
        break;
    case 412:
        result.reason = tr("The event was changed in the Microsoft calendar since it was last "
                           "synced; it was not overwritten.");
        break;
    case 429:
        result.reason = tr("Microsoft Graph asks to wait before the next request.");
        break;
    default:
        result.reason = tr("Microsoft Graph refused the request (HTTP %1): %2")
                            .arg(result.status)
                            .arg(message.isEmpty() ? result.errorCode : message);
    }
    qCWarning(lcGraph).noquote() << "[Microsoft]" << path << "HTTP" << result.status
                                 << result.errorCode;
    done(result);
}

void CalendarClient::listCalendars(
    std::function<void(const QList<DiscoveredCalendar> &, const GraphReply &)> done)
{
    listCalendarsFrom(at(QStringLiteral("/me/calendars")), {}, {}, std::move(done));
}

void CalendarClient::listCalendarsFrom(
    const QUrl &url, QList<DiscoveredCalendar> found, Sync::PageChain pages,
    std::function<void(const QList<DiscoveredCalendar> &, const GraphReply &)> done)
{
    fetchPage(url, [this, found = std::move(found), pages, done](const GraphReply &reply) mutable {
        if (!reply.ok()) {
            done({}, reply);
            return;
        }
        const QJsonArray values = reply.body.value(QStringLiteral("value")).toArray();
        for (const QJsonValue &v : values)
            found.append(calendarFromJson(v.toObject()));
        const QString next = reply.body.value(QStringLiteral("@odata.nextLink")).toString();
        if (next.isEmpty()) {
            done(found, reply);
            return;
        }
        if (!pages.follow(next)) {
            done({}, endless(reply));
            return;
        }
        listCalendarsFrom(QUrl::fromEncoded(next.toUtf8()), std::move(found), std::move(pages),
                          std::move(done));
    });
}

void CalendarClient::fetchPage(const QUrl &url, Done done)
{
    if (!isServiceLink(url)) {
        GraphReply refused;
        refused.failure = GraphReply::Failure::ForeignLink;
        refused.reason = tr("Microsoft Graph sent a link to another server; it was not followed.");
        qCWarning(lcGraph).noquote() << "[Microsoft] not following a link to" << url.host();
        failLater(std::move(refused), std::move(done));
        return;
    }
    send(QByteArrayLiteral("GET"), url, QByteArray(), QString(),
         [done = std::move(done)](const GraphReply &reply) {
             // A listing names its items in "value", even when there are none: an answer without
             // that list is no listing, and would read as an empty calendar or account.
             if (!reply.ok() || reply.body.value(QStringLiteral("value")).isArray())
                 return done(reply);
             qCWarning(lcGraph).noquote() << "[Microsoft] a listing without its value list";
             done(unreadable(reply));
         });
}

void CalendarClient::getEvent(const QString &eventId, Done done)
{
    send(QByteArrayLiteral("GET"), at(QStringLiteral("/me/events/") + encodedSegment(eventId)),
         QByteArray(), QString(), std::move(done));
}

namespace {

QString eventsPath(const QString &calendarId, const QString &eventId)
{
    QString path
        = QStringLiteral("/me/calendars/") + encodedSegment(calendarId) + QStringLiteral("/events");
    if (!eventId.isEmpty())
        path += QLatin1Char('/') + encodedSegment(eventId);
    return path;
}

} // namespace

void CalendarClient::insertEvent(const QString &calendarId, const QJsonObject &event, Done done)
{
    send(QByteArrayLiteral("POST"), at(eventsPath(calendarId, QString())),
         QJsonDocument(event).toJson(QJsonDocument::Compact), QString(), std::move(done));
}

void CalendarClient::updateEvent(const QString &calendarId, const QString &eventId,
                                 const QJsonObject &event, const QString &etag, Done done)
{
    send(QByteArrayLiteral("PATCH"), at(eventsPath(calendarId, eventId)),
         QJsonDocument(event).toJson(QJsonDocument::Compact), etag, std::move(done));
}

void CalendarClient::deleteEvent(const QString &calendarId, const QString &eventId,
                                 const QString &etag, Done done)
{
    send(QByteArrayLiteral("DELETE"), at(eventsPath(calendarId, eventId)), QByteArray(), etag,
         std::move(done));
}

DiscoveredCalendar CalendarClient::calendarFromJson(const QJsonObject &calendar)
{
    static const QHash<QString, QString> colours = {
        {QStringLiteral("lightBlue"), QStringLiteral("#5BA3E0")},
        {QStringLiteral("lightGreen"), QStringLiteral("#7FBA00")},
        {QStringLiteral("lightOrange"), QStringLiteral("#FFA500")},
        {QStringLiteral("lightGray"), QStringLiteral("#999999")},
        {QStringLiteral("lightYellow"), QStringLiteral("#FFC107")},
        {QStringLiteral("lightTeal"), QStringLiteral("#1FAA8E")},
        {QStringLiteral("lightPink"), QStringLiteral("#E81123")},
        {QStringLiteral("lightBrown"), QStringLiteral("#8E562E")},
        {QStringLiteral("lightRed"), QStringLiteral("#D13438")},
        {QStringLiteral("maxColor"), QStringLiteral("#4285F4")},
        {QStringLiteral("auto"), QStringLiteral("#0078D4")},
    };
    DiscoveredCalendar c;
    c.id = calendar.value(QStringLiteral("id")).toString();
    c.name = calendar.value(QStringLiteral("name")).toString();
    c.color = calendar.value(QStringLiteral("hexColor")).toString();
    if (c.color.isEmpty())
        c.color = colours.value(calendar.value(QStringLiteral("color")).toString(),
                                QStringLiteral("#0078D4"));
    c.canEdit = calendar.value(QStringLiteral("canEdit")).toBool(false);
    c.isDefault = calendar.value(QStringLiteral("isDefaultCalendar")).toBool(false);
    return c;
}

CalendarClient::EventListPage CalendarClient::pageFromJson(const QJsonObject &body)
{
    EventListPage page;
    const QJsonArray values = body.value(QStringLiteral("value")).toArray();
    page.items.reserve(values.size());
    for (const QJsonValue &v : values)
        page.items.append(v.toObject());
    page.nextLink = body.value(QStringLiteral("@odata.nextLink")).toString();
    page.deltaLink = body.value(QStringLiteral("@odata.deltaLink")).toString();
    return page;
}

GraphReply CalendarClient::unreadable(GraphReply reply)
{
    reply.failure = GraphReply::Failure::Malformed;
    reply.reason = tr("Microsoft Graph sent a reply that cannot be read.");
    return reply;
}

GraphReply CalendarClient::endless(GraphReply reply)
{
    reply.failure = GraphReply::Failure::Malformed;
    reply.reason = Sync::PageChain::endlessText(QStringLiteral("Microsoft Graph"));
    qCWarning(lcGraph).noquote() << "[Microsoft] a listing whose pages never end, stopped";
    return reply;
}

QString CalendarClient::deltaTokenOf(const QString &deltaLink)
{
    const QUrlQuery query(QUrl::fromEncoded(deltaLink.toUtf8()));
    return query.queryItemValue(QStringLiteral("$deltatoken"), QUrl::FullyDecoded);
}

QString CalendarClient::etagOf(const QJsonObject &event)
{
    const QString etag = event.value(QStringLiteral("@odata.etag")).toString();
    if (!etag.isEmpty())
        return etag;
    const QString changeKey = event.value(QStringLiteral("changeKey")).toString();
    return changeKey.isEmpty() ? QString() : ifMatchValue(changeKey);
}

QString CalendarClient::ifMatchValue(const QString &etag)
{
    if (etag.startsWith(QLatin1String("W/\"")) || etag.startsWith(QLatin1Char('"')))
        return etag;
    return QStringLiteral("W/\"") + etag + QLatin1Char('"');
}

} // namespace Microsoft
