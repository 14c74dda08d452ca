#include "services/sync/google/CalendarClient.h"

#include "platform/Endpoints.h"
#include "services/net/RequestPolicy.h"
#include "services/oauth/LoopbackAuthService.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

#include <optional>

namespace Google {

namespace {

// Long enough for any reason the API gives, short enough for a status line.
constexpr int kMaxDetailChars = 300;

std::optional<QJsonObject> objectOf(const QByteArray &body)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(body, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return std::nullopt;
    return doc.object();
}

QString isoWithMs(const QDateTime &time)
{
    return time.toUTC().toString(Qt::ISODateWithMs);
}

QString encodedId(const QString &id)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(id));
}

} // namespace

CalendarClient::CalendarClient(QObject *parent)
    : CalendarClient(nullptr, parent)
{ }

CalendarClient::CalendarClient(QNetworkAccessManager *network, QObject *parent)
    : QObject(parent)
    , m_network(network ? network : new QNetworkAccessManager(this))
    , m_root(Endpoints::googleCalendarApiUrl())
{
    qRegisterMetaType<Google::DiscoveredCalendar>();
    qRegisterMetaType<Google::CalendarClient::EventListPage>();
}

QUrl CalendarClient::apiUrl(const QString &path) const
{
    QString root = m_root;
    while (root.endsWith(QLatin1Char('/')))
        root.chop(1);
    return QUrl(root + path, QUrl::TolerantMode);
}

QUrl CalendarClient::eventsUrl(const QString &calendarId, const QString &eventId) const
{
    QString path
        = QStringLiteral("/calendars/") + encodedId(calendarId) + QStringLiteral("/events");
    if (!eventId.isEmpty())
        path += QLatin1Char('/') + encodedId(eventId);
    return apiUrl(path);
}

DiscoveredCalendar CalendarClient::calendarFromJson(const QJsonObject &item)
{
    DiscoveredCalendar c;
    c.id = item.value(QLatin1String("id")).toString();
    c.summary = item.value(QLatin1String("summary")).toString();
    c.description = item.value(QLatin1String("description")).toString();
    c.backgroundColor = item.value(QLatin1String("backgroundColor")).toString();
    c.accessRole = item.value(QLatin1String("accessRole")).toString();
    c.primary = item.value(QLatin1String("primary")).toBool(false);
    return c;
}

void CalendarClient::send(const QByteArray &method, const QUrl &url, const QJsonObject *body,
                          const QString &etag, Handler handler)
{
    QNetworkRequest request = Net::request(url);
    request.setRawHeader("Authorization", "Bearer " + accessToken.toUtf8());
    if (method != "DELETE")
        request.setRawHeader("Accept", "application/json");
    if (!etag.isEmpty())
        request.setRawHeader("If-Match", etag.toUtf8());
    QByteArray payload;
    if (body) {
        request.setHeader(QNetworkRequest::ContentTypeHeader,
                          QByteArrayLiteral("application/json"));
        payload = QJsonDocument(*body).toJson(QJsonDocument::Compact);
    }
    QNetworkReply *reply = method == "GET" ? m_network->get(request)
        : method == "DELETE"               ? m_network->deleteResource(request)
        : method == "POST"                 ? m_network->post(request, payload)
                                           : m_network->put(request, payload);
    // Destroying the client aborts what it still waits for, whoever owns the network manager.
    reply->setParent(this);
    Net::watch(reply, Net::ReplyKind::Api);
    connect(reply, &QNetworkReply::finished, this, [this, reply, handler = std::move(handler)] {
        Answer answer;
        answer.policyFailure = Net::failureOf(reply);
        answer.status = Net::statusOf(reply);
        // Only a whole reply is read: a part of a listing would be taken for all of it.
        answer.body = answer.status == 0 ? QByteArray() : Net::body(reply);
        answer.reasonPhrase = QString::fromUtf8(
            reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toByteArray());
        if (answer.status == 0 && answer.policyFailure.isEmpty())
            answer.transportError = reply->errorString();
        noteRateLimit(answer, reply);
        reply->deleteLater();
        if (answer.status != 0)
            emit answered();
        handler(answer);
    });
}

QString CalendarClient::failureText(const QString &operation, const Answer &answer) const
{
    if (!answer.policyFailure.isEmpty())
        return answer.policyFailure;
    if (answer.status == 0)
        return tr("Google could not be reached: %1").arg(answer.transportError);
    if (m_rateLimited)
        return tr("Google asks to wait before the next request.");
    // The API explains a refusal in error.message; anything else in the body is not for users.
    QString detail = answer.reasonPhrase;
    if (const std::optional<QJsonObject> o = objectOf(answer.body)) {
        const QString message = o->value(QLatin1String("error"))
                                    .toObject()
                                    .value(QLatin1String("message"))
                                    .toString();
        if (!message.isEmpty())
            detail = message.left(kMaxDetailChars);
    }
    if (operation == QLatin1String("calendarList.list"))
        return tr("Google rejected calendarList.list (HTTP %1): %2").arg(answer.status).arg(detail);
    if (operation == QLatin1String("events.list"))
        return tr("Google rejected events.list (HTTP %1): %2").arg(answer.status).arg(detail);
    if (operation == QLatin1String("events.insert"))
        return tr("Google rejected events.insert: %1").arg(detail);
    if (operation == QLatin1String("events.update"))
        return tr("Google rejected events.update: %1").arg(detail);
    return tr("Google rejected events.delete: %1").arg(detail);
}

void CalendarClient::noteRateLimit(const Answer &answer, const QNetworkReply *reply)
{
    if (answer.status != 429 && answer.status != 403)
        return;
    bool limited = answer.status == 429;
    // A 403 is a rate limit only when the error says so; otherwise it is a refusal.
    const QJsonArray errors = objectOf(answer.body)
                                  .value_or(QJsonObject())
                                  .value(QLatin1String("error"))
                                  .toObject()
                                  .value(QLatin1String("errors"))
                                  .toArray();
    for (const QJsonValue &e : errors) {
        const QString reason = e.toObject().value(QLatin1String("reason")).toString();
        limited = limited || reason == QLatin1String("rateLimitExceeded")
            || reason == QLatin1String("userRateLimitExceeded");
    }
    if (!limited)
        return;
    m_rateLimited = true;
    m_retryAfter = Net::readRetryAfter(reply->rawHeader("Retry-After"));
}

std::optional<QJsonObject> CalendarClient::listingBody(const QString &operation,
                                                       const Answer &answer)
{
    if (!answer.ok()) {
        emit requestFailed(failureText(operation, answer), answer.status);
        return std::nullopt;
    }
    std::optional<QJsonObject> body = objectOf(answer.body);
    // A listing names its items even when there are none: one without that list would read as
    // an empty account or calendar.
    if (!body || !body->value(QLatin1String("items")).isArray()) {
        emit requestFailed(tr("Google sent a reply that cannot be read."), answer.status);
        return std::nullopt;
    }
    return body;
}

void CalendarClient::listCalendars()
{
    requestCalendarPage(QString(), {}, {});
}

void CalendarClient::requestCalendarPage(const QString &pageToken, QList<DiscoveredCalendar> found,
                                         Sync::PageChain pages)
{
    if (accessToken.isEmpty()) {
        emit requestFailed(tr("No Google access token available."), 401);
        return;
    }
    QUrl url = apiUrl(QStringLiteral("/users/me/calendarList"));
    if (!pageToken.isEmpty())
        url.setQuery(
            QString::fromLatin1(OAuth::encodeForm({{QStringLiteral("pageToken"), pageToken}})),
            QUrl::StrictMode);
    send("GET", url, nullptr, QString(),
         [this, found = std::move(found), pages = std::move(pages)](const Answer &answer) mutable {
             const std::optional<QJsonObject> body
                 = listingBody(QStringLiteral("calendarList.list"), answer);
             if (!body)
                 return;
             const QJsonArray items = body->value(QLatin1String("items")).toArray();
             for (const QJsonValue &item : items)
                 found.append(calendarFromJson(item.toObject()));
             // Every page counts: an account with many calendars must not lose the later ones.
             const QString next = body->value(QLatin1String("nextPageToken")).toString();
             if (next.isEmpty())
                 emit calendarsListed(found);
             else if (follow(pages, next))
                 requestCalendarPage(next, std::move(found), std::move(pages));
         });
}

void CalendarClient::requestEventsPage(const QString &calendarId, const QString &syncToken,
                                       const QString &pageToken, const QDateTime &timeMin,
                                       const QDateTime &timeMax, PageHandler handler)
{
    if (accessToken.isEmpty()) {
        emit requestFailed(tr("No Google access token available."), 401);
        return;
    }
    OAuth::FormItems query;
    if (syncToken.isEmpty()) {
        query.append({QStringLiteral("singleEvents"), QStringLiteral("false")});
        query.append({QStringLiteral("showDeleted"), QStringLiteral("true")});
        if (timeMin.isValid())
            query.append({QStringLiteral("timeMin"), isoWithMs(timeMin)});
        if (timeMax.isValid())
            query.append({QStringLiteral("timeMax"), isoWithMs(timeMax)});
    } else {
        query.append({QStringLiteral("syncToken"), syncToken});
        query.append({QStringLiteral("showDeleted"), QStringLiteral("true")});
    }
    if (!pageToken.isEmpty())
        query.append({QStringLiteral("pageToken"), pageToken});
    query.append({QStringLiteral("maxResults"), QString::number(maxResults)});
    QUrl url = eventsUrl(calendarId, QString());
    // Every key and value is escaped on its own: tokens carry "+", "/" and "=".
    url.setQuery(QString::fromLatin1(OAuth::encodeForm(query)), QUrl::StrictMode);

    send("GET", url, nullptr, QString(),
         [this, calendarId, handler = std::move(handler)](const Answer &answer) {
             if (answer.status == 410) {
                 emit syncTokenExpired(calendarId);
                 return;
             }
             const std::optional<QJsonObject> body
                 = listingBody(QStringLiteral("events.list"), answer);
             if (!body)
                 return;
             PageResult page;
             const QJsonArray items = body->value(QLatin1String("items")).toArray();
             page.items.reserve(items.size());
             for (const QJsonValue &item : items)
                 page.items.append(item.toObject());
             page.nextPageToken = body->value(QLatin1String("nextPageToken")).toString();
             page.nextSyncToken = body->value(QLatin1String("nextSyncToken")).toString();
             handler(page);
         });
}

void CalendarClient::listEventsPage(const QString &calendarId, const QString &syncToken,
                                    const QString &pageToken)
{
    requestEventsPage(calendarId, syncToken, pageToken, QDateTime(), QDateTime(),
                      [this, calendarId](const PageResult &page) {
                          emit eventsPageListed(calendarId, page.items, page.nextPageToken,
                                                page.nextSyncToken);
                      });
}

void CalendarClient::listEvents(const QString &calendarId, const QString &syncToken,
                                const QDateTime &timeMin, const QDateTime &timeMax)
{
    collectPages(calendarId, syncToken, QString(), timeMin, timeMax, {}, {});
}

void CalendarClient::collectPages(const QString &calendarId, const QString &syncToken,
                                  const QString &pageToken, const QDateTime &timeMin,
                                  const QDateTime &timeMax, QList<QJsonObject> gathered,
                                  Sync::PageChain pages)
{
    requestEventsPage(
        calendarId, syncToken, pageToken, timeMin, timeMax,
        [=, gathered = std::move(gathered),
         pages = std::move(pages)](const PageResult &page) mutable {
            gathered.append(page.items);
            if (!page.nextPageToken.isEmpty()) {
                if (follow(pages, page.nextPageToken))
                    collectPages(calendarId, syncToken, page.nextPageToken, timeMin, timeMax,
                                 std::move(gathered), std::move(pages));
                return;
            }
            emit eventsListed(calendarId, EventListPage {std::move(gathered), page.nextSyncToken});
        });
}

bool CalendarClient::follow(Sync::PageChain &pages, const QString &next)
{
    if (pages.follow(next))
        return true;
    qWarning().noquote() << "[Google] a listing whose pages never end, stopped";
    // An answer that came, but not one that can be used.
    emit requestFailed(Sync::PageChain::endlessText(QStringLiteral("Google")), 200);
    return false;
}

void CalendarClient::findByICalUid(const QString &calendarId, const QString &iCalUid)
{
    if (accessToken.isEmpty()) {
        emit requestFailed(tr("No Google access token available."), 401);
        return;
    }
    const OAuth::FormItems query {{QStringLiteral("iCalUID"), iCalUid},
                                  {QStringLiteral("showDeleted"), QStringLiteral("true")}};
    QUrl url = eventsUrl(calendarId, QString());
    url.setQuery(QString::fromLatin1(OAuth::encodeForm(query)), QUrl::StrictMode);
    send("GET", url, nullptr, QString(), [this, calendarId](const Answer &answer) {
        const std::optional<QJsonObject> body = listingBody(QStringLiteral("events.list"), answer);
        if (!body)
            return;
        QList<QJsonObject> items;
        for (const QJsonValue &item : body->value(QLatin1String("items")).toArray())
            items.append(item.toObject());
        emit eventsPageListed(calendarId, items, QString(), QString());
    });
}

void CalendarClient::insertEvent(const QString &localId, const QString &calendarId,
                                 const QJsonObject &event)
{
    write("POST", localId, eventsUrl(calendarId, QString()), event, QString(),
          QStringLiteral("events.insert"));
}

void CalendarClient::updateEvent(const QString &localId, const QString &calendarId,
                                 const QString &eventId, const QJsonObject &event,
                                 const QString &etag)
{
    write("PUT", localId, eventsUrl(calendarId, eventId), event, etag,
          QStringLiteral("events.update"));
}

void CalendarClient::write(const QByteArray &method, const QString &localId, const QUrl &url,
                           const QJsonObject &event, const QString &etag, const QString &operation)
{
    if (accessToken.isEmpty()) {
        emit eventWriteFailed(localId, tr("No Google access token."), 401);
        return;
    }
    const bool creates = method == "POST";
    send(method, url, &event, etag, [=](const Answer &answer) {
        if (!answer.ok()) {
            emit eventWriteFailed(localId, failureText(operation, answer), answer.status);
            return;
        }
        const QJsonObject body = objectOf(answer.body).value_or(QJsonObject());
        const QString id = body.value(QLatin1String("id")).toString();
        if (creates && id.isEmpty()) {
            // Marking the row synced without an id would make the next pull bring it twice.
            emit eventWriteFailed(localId, tr("Google sent a reply that cannot be read."),
                                  answer.status);
            return;
        }
        emit eventWritten(localId, id, body.value(QLatin1String("etag")).toString());
    });
}

void CalendarClient::deleteEvent(const QString &localId, const QString &calendarId,
                                 const QString &eventId, const QString &etag)
{
    if (accessToken.isEmpty()) {
        emit eventWriteFailed(localId, tr("No Google access token."), 401);
        return;
    }
    send("DELETE", eventsUrl(calendarId, eventId), nullptr, etag,
         [this, localId](const Answer &answer) {
             if (answer.ok() || answer.status == 404 || answer.status == 410) {
                 emit eventDeleted(localId);
                 return;
             }
             emit eventWriteFailed(localId, failureText(QStringLiteral("events.delete"), answer),
                                   answer.status);
         });
}

} // namespace Google
