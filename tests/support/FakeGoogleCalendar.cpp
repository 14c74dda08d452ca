#include "support/FakeGoogleCalendar.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>

namespace LarkTest {

namespace {

const QString kApi = QStringLiteral("/calendar/v3");

FakeReply apiError(int status, const QString &message, const QString &reason = QString())
{
    QJsonObject error {{QStringLiteral("code"), status}, {QStringLiteral("message"), message}};
    if (!reason.isEmpty())
        error.insert(QStringLiteral("errors"),
                     QJsonArray {QJsonObject {{QStringLiteral("reason"), reason}}});
    return FakeReply::json(status, QJsonObject {{QStringLiteral("error"), error}});
}

QString stamp(const QDateTime &t)
{
    return t.toString(Qt::ISODate);
}

QJsonObject timeObject(const QDateTime &t, const QString &zone)
{
    QJsonObject o {{QStringLiteral("dateTime"), stamp(t)}};
    if (!zone.isEmpty())
        o.insert(QStringLiteral("timeZone"), zone);
    return o;
}

} // namespace

FakeGoogleCalendar::FakeGoogleCalendar(FakeHttpServer *server)
    : m_server(server)
{
    server->route("*", kApi + QStringLiteral("/*"),
                  [this](const RecordedRequest &r) { return handleApi(r); });
    server->route("POST", QStringLiteral("/token"),
                  [this](const RecordedRequest &r) { return handleToken(r); });
}

QString FakeGoogleCalendar::apiRoot() const
{
    return m_server->url(kApi).toString();
}

QString FakeGoogleCalendar::tokenUrl() const
{
    return m_server->url(QStringLiteral("/token")).toString();
}

void FakeGoogleCalendar::addCalendar(const QString &id, const QString &summary,
                                     const QString &accessRole)
{
    m_calendars.append(QJsonObject {{QStringLiteral("id"), id},
                                    {QStringLiteral("summary"), summary},
                                    {QStringLiteral("backgroundColor"), QStringLiteral("#9fe1e7")},
                                    {QStringLiteral("accessRole"), accessRole},
                                    {QStringLiteral("primary"), m_calendars.isEmpty()}});
}

void FakeGoogleCalendar::removeCalendar(const QString &id)
{
    m_calendars.erase(std::remove_if(m_calendars.begin(), m_calendars.end(),
                                     [&](const QJsonObject &c) {
                                         return c.value(QLatin1String("id")).toString() == id;
                                     }),
                      m_calendars.end());
}

void FakeGoogleCalendar::touch(Item &item)
{
    item.changed = ++m_seq;
    item.resource.insert(QStringLiteral("etag"), QStringLiteral("\"%1\"").arg(m_seq));
    item.resource.insert(QStringLiteral("updated"),
                         QDateTime(QDate(2026, 3, 1), QTime(8, 0), Qt::UTC)
                             .addSecs(m_seq)
                             .toString(Qt::ISODateWithMs));
}

QString FakeGoogleCalendar::store(const QString &calendarId, QJsonObject resource)
{
    QString id = resource.value(QLatin1String("id")).toString();
    if (id.isEmpty()) {
        id = QStringLiteral("gev%1").arg(++m_nextId);
        resource.insert(QStringLiteral("id"), id);
    }
    if (!resource.contains(QLatin1String("status")))
        resource.insert(QStringLiteral("status"), QStringLiteral("confirmed"));
    // The UID is given once, by the creator or by Google, and stays.
    Item *existing = find(calendarId, id);
    const QString uid = existing ? existing->resource.value(QLatin1String("iCalUID")).toString()
                                 : resource.value(QLatin1String("iCalUID")).toString();
    resource.insert(QStringLiteral("iCalUID"),
                    uid.isEmpty() ? QString(id + QStringLiteral("@google.com")) : uid);
    resource.insert(QStringLiteral("htmlLink"),
                    QString(QStringLiteral("https://calendar.invalid/event?eid=") + id));
    if (existing) {
        existing->resource = resource;
        touch(*existing);
        return id;
    }
    Item item {calendarId, id, resource, 0};
    touch(item);
    m_index.insert(calendarId + QLatin1Char('\n') + id, m_items.size());
    m_items.append(item);
    return id;
}

QString FakeGoogleCalendar::putEvent(const QString &calendarId, QJsonObject resource)
{
    return store(calendarId, std::move(resource));
}

bool FakeGoogleCalendar::editEvent(const QString &calendarId, const QString &eventId,
                                   const std::function<void(QJsonObject &)> &edit)
{
    Item *item = find(calendarId, eventId);
    if (!item)
        return false;
    edit(item->resource);
    touch(*item);
    return true;
}

bool FakeGoogleCalendar::cancelEvent(const QString &calendarId, const QString &eventId)
{
    return editEvent(calendarId, eventId, [](QJsonObject &o) {
        o.insert(QStringLiteral("status"), QStringLiteral("cancelled"));
    });
}

QString FakeGoogleCalendar::moveInstance(const QString &calendarId, const QString &masterId,
                                         const QDateTime &originalStart, const QDateTime &start,
                                         const QDateTime &end)
{
    const Item *master = find(calendarId, masterId);
    if (!master)
        return QString();
    const QString zone = master->resource.value(QLatin1String("start"))
                             .toObject()
                             .value(QLatin1String("timeZone"))
                             .toString();
    QJsonObject o = master->resource;
    o.remove(QStringLiteral("recurrence"));
    const QString id = masterId + QLatin1Char('_')
        + originalStart.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    o.insert(QStringLiteral("id"), id);
    o.insert(QStringLiteral("recurringEventId"), masterId);
    o.insert(QStringLiteral("originalStartTime"), timeObject(originalStart, zone));
    o.insert(QStringLiteral("start"), timeObject(start, zone));
    o.insert(QStringLiteral("end"), timeObject(end, zone));
    return store(calendarId, o);
}

QString FakeGoogleCalendar::cancelInstance(const QString &calendarId, const QString &masterId,
                                           const QDateTime &originalStart)
{
    const QString id
        = moveInstance(calendarId, masterId, originalStart, originalStart, originalStart);
    if (id.isEmpty())
        return id;
    // A cancelled instance carries only what names its slot.
    Item *item = find(calendarId, id);
    QJsonObject o;
    for (const char *key : {"id", "recurringEventId", "originalStartTime"})
        o.insert(QLatin1String(key), item->resource.value(QLatin1String(key)));
    o.insert(QStringLiteral("status"), QStringLiteral("cancelled"));
    item->resource = o;
    touch(*item);
    return id;
}

QList<QJsonObject> FakeGoogleCalendar::events(const QString &calendarId) const
{
    QList<QJsonObject> out;
    for (const Item &item : m_items) {
        if (item.calendarId == calendarId
            && item.resource.value(QLatin1String("status")).toString()
                != QLatin1String("cancelled"))
            out.append(item.resource);
    }
    return out;
}

std::optional<QJsonObject> FakeGoogleCalendar::event(const QString &calendarId,
                                                     const QString &eventId) const
{
    const Item *item = find(calendarId, eventId);
    return item ? std::optional<QJsonObject>(item->resource) : std::nullopt;
}

FakeGoogleCalendar::Item *FakeGoogleCalendar::find(const QString &calendarId,
                                                   const QString &eventId)
{
    const auto it = m_index.constFind(calendarId + QLatin1Char('\n') + eventId);
    return it == m_index.constEnd() ? nullptr : &m_items[*it];
}

const FakeGoogleCalendar::Item *FakeGoogleCalendar::find(const QString &calendarId,
                                                         const QString &eventId) const
{
    return const_cast<FakeGoogleCalendar *>(this)->find(calendarId, eventId);
}

void FakeGoogleCalendar::failNext(const QByteArray &method, int status, int skip, int times)
{
    m_faults.append({method, status, skip, times});
}

std::optional<FakeReply> FakeGoogleCalendar::injected(const QByteArray &method, bool &dropAnswer)
{
    for (int i = 0; i < m_faults.size(); ++i) {
        Fault &f = m_faults[i];
        if (f.method != method)
            continue;
        if (f.skip > 0) {
            --f.skip;
            return std::nullopt;
        }
        const int status = f.status;
        if (--f.times <= 0)
            m_faults.removeAt(i);
        if (status == 0)
            return FakeReply::dropped();
        dropAnswer = status == appliedThenDropped;
        if (dropAnswer)
            return std::nullopt;
        if (status < 0)
            return apiError(503, QStringLiteral("held")).held();
        return apiError(status, QStringLiteral("Injected failure"));
    }
    return std::nullopt;
}

QString FakeGoogleCalendar::tokenFor(qint64 seq) const
{
    // Characters a query must escape, as real tokens carry them.
    return QStringLiteral("tok+%1.%2/=").arg(m_tokenEpoch).arg(seq);
}

QString FakeGoogleCalendar::currentSyncToken() const
{
    return tokenFor(m_seq);
}

FakeReply FakeGoogleCalendar::handleToken(const RecordedRequest &request)
{
    if (request.formValue(QStringLiteral("grant_type")) != QLatin1String("refresh_token")
        || request.formValue(QStringLiteral("refresh_token")) != refreshToken)
        return FakeReply::json(
            400, QJsonObject {{QStringLiteral("error"), QStringLiteral("invalid_grant")}});
    ++refreshes;
    accessToken = QStringLiteral("access-r%1").arg(refreshes);
    return FakeReply::json(200,
                           QJsonObject {{QStringLiteral("access_token"), accessToken},
                                        {QStringLiteral("expires_in"), 3600},
                                        {QStringLiteral("token_type"), QStringLiteral("Bearer")}});
}

FakeReply FakeGoogleCalendar::handleApi(const RecordedRequest &request)
{
    bool dropAnswer = false;
    if (std::optional<FakeReply> fault = injected(request.method, dropAnswer))
        return *fault;
    const FakeReply reply = answerApi(request);
    return dropAnswer ? FakeReply::dropped() : reply;
}

FakeReply FakeGoogleCalendar::answerApi(const RecordedRequest &request)
{
    if (request.header("Authorization") != "Bearer " + accessToken.toUtf8())
        return apiError(401, QStringLiteral("Invalid Credentials"));

    // Ids are escaped whole, so the raw target is split before decoding.
    QByteArray path = request.target;
    if (const qsizetype q = path.indexOf('?'); q >= 0)
        path.truncate(q);
    QStringList parts;
    for (const QByteArray &part : path.mid(kApi.size() + 1).split('/'))
        parts.append(QUrl::fromPercentEncoding(part));

    if (parts
            == QStringList {QStringLiteral("users"), QStringLiteral("me"),
                            QStringLiteral("calendarList")}
        && request.method == "GET") {
        QJsonArray items;
        for (const QJsonObject &c : std::as_const(m_calendars))
            items.append(c);
        return FakeReply::json(200, QJsonObject {{QStringLiteral("items"), items}});
    }
    if (parts.size() < 3 || parts[0] != QLatin1String("calendars")
        || parts[2] != QLatin1String("events"))
        return apiError(404, QStringLiteral("Not Found"));
    const QString calendarId = parts[1];
    const bool known = std::any_of(m_calendars.cbegin(), m_calendars.cend(), [&](const auto &c) {
        return c.value(QLatin1String("id")).toString() == calendarId;
    });
    if (!known)
        return apiError(404, QStringLiteral("Not Found"));
    if (parts.size() == 3 && request.method == "GET")
        return list(calendarId, request);
    return write(calendarId, parts.size() > 3 ? parts[3] : QString(), request);
}

FakeReply FakeGoogleCalendar::list(const QString &calendarId, const RecordedRequest &request)
{
    const QString syncToken
        = request.query.queryItemValue(QStringLiteral("syncToken"), QUrl::FullyDecoded);
    const QString pageToken
        = request.query.queryItemValue(QStringLiteral("pageToken"), QUrl::FullyDecoded);
    qint64 since = 0;
    if (!syncToken.isEmpty()) {
        // "tok+<epoch>.<seq>/="
        const QStringList p = syncToken.mid(4).chopped(2).split(QLatin1Char('.'));
        bool ok = syncToken.startsWith(QLatin1String("tok+"))
            && syncToken.endsWith(QLatin1String("/=")) && p.size() == 2
            && p[0].toInt() == m_tokenEpoch;
        if (ok)
            since = p[1].toLongLong(&ok);
        if (!ok)
            return apiError(410,
                            QStringLiteral("Sync token is no longer valid, a full sync is "
                                           "required."));
    }
    // The page token holds where the listing stands and the state it started from, so that
    // changes made between pages wait for the next sync token.
    int offset = 0;
    qint64 snapshot = m_seq;
    if (!pageToken.isEmpty()) {
        const QStringList p = pageToken.split(QLatin1Char('-'));
        if (p.size() != 3 || p[0] != QLatin1String("page"))
            return apiError(400, QStringLiteral("Invalid page token"));
        offset = p[1].toInt();
        snapshot = p[2].toLongLong();
    }
    const QString uid = request.query.queryItemValue(QStringLiteral("iCalUID"), QUrl::FullyDecoded);
    QList<const Item *> matching;
    for (const Item &item : m_items) {
        if (item.calendarId == calendarId && item.changed > since
            && (uid.isEmpty() || item.resource.value(QLatin1String("iCalUID")).toString() == uid))
            matching.append(&item);
    }
    const QString maxResults = request.query.queryItemValue(QStringLiteral("maxResults"));
    const int size = maxResults.isEmpty() ? pageSize : qMin(pageSize, maxResults.toInt());
    QJsonArray items;
    for (int i = offset; i < matching.size() && i < offset + size; ++i)
        items.append(matching[i]->resource);
    QJsonObject body {{QStringLiteral("kind"), QStringLiteral("calendar#events")},
                      {QStringLiteral("items"), items}};
    if (offset + size < matching.size())
        body.insert(QStringLiteral("nextPageToken"),
                    QStringLiteral("page-%1-%2").arg(offset + size).arg(snapshot));
    else
        body.insert(QStringLiteral("nextSyncToken"), tokenFor(snapshot));
    return FakeReply::json(200, body);
}

FakeReply FakeGoogleCalendar::write(const QString &calendarId, const QString &eventId,
                                    const RecordedRequest &request)
{
    const QByteArray ifMatch = request.header("If-Match");
    FakeReply reply;
    if (request.method == "POST" && eventId.isEmpty()) {
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(request.body, &error);
        if (!doc.isObject())
            return apiError(400, QStringLiteral("Parse Error"));
        QJsonObject resource = doc.object();
        resource.remove(QStringLiteral("id"));
        const QString uid = resource.value(QLatin1String("iCalUID")).toString();
        const bool taken = !uid.isEmpty()
            && std::any_of(m_items.cbegin(), m_items.cend(), [&](const Item &item) {
                   return item.calendarId == calendarId
                       && item.resource.value(QLatin1String("iCalUID")).toString() == uid
                       && !item.resource.contains(QLatin1String("recurringEventId"));
               });
        if (taken)
            return apiError(409, QStringLiteral("The requested identifier already exists."),
                            QStringLiteral("duplicate"));
        const QString id = store(calendarId, resource);
        reply = FakeReply::json(200, find(calendarId, id)->resource);
    } else if (request.method == "PUT" && !find(calendarId, eventId)) {
        // The first change of one occurrence: the instance id names the series and the slot,
        // and the body must name the same.
        const QJsonObject resource = QJsonDocument::fromJson(request.body).object();
        const QString master = eventId.section(QLatin1Char('_'), 0, -2);
        const Item *series = find(calendarId, master);
        if (!series || !series->resource.contains(QLatin1String("recurrence")))
            return apiError(404, QStringLiteral("Not Found"));
        const QJsonObject original = resource.value(QLatin1String("originalStartTime")).toObject();
        const QString slot = original.contains(QLatin1String("date"))
            ? original.value(QLatin1String("date")).toString().remove(QLatin1Char('-'))
            : QDateTime::fromString(original.value(QLatin1String("dateTime")).toString(),
                                    Qt::ISODateWithMs)
                  .toUTC()
                  .toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
        if (resource.value(QLatin1String("recurringEventId")).toString() != master
            || master + QLatin1Char('_') + slot != eventId)
            return apiError(400, QStringLiteral("Invalid instance"));
        QJsonObject stored = resource;
        stored.insert(QStringLiteral("id"), eventId);
        store(calendarId, stored);
        reply = FakeReply::json(200, find(calendarId, eventId)->resource);
    } else if (request.method == "PUT" || request.method == "DELETE") {
        Item *item = find(calendarId, eventId);
        if (!item)
            return apiError(404, QStringLiteral("Not Found"));
        const bool cancelled = item->resource.value(QLatin1String("status")).toString()
            == QLatin1String("cancelled");
        if (!ifMatch.isEmpty()
            && ifMatch != item->resource.value(QLatin1String("etag")).toString().toUtf8())
            return apiError(412, QStringLiteral("Precondition Failed"));
        if (request.method == "DELETE") {
            if (cancelled)
                return apiError(410, QStringLiteral("Resource has been deleted"));
            item->resource.insert(QStringLiteral("status"), QStringLiteral("cancelled"));
            touch(*item);
            reply = FakeReply::empty(204);
        } else {
            const QJsonDocument doc = QJsonDocument::fromJson(request.body);
            if (!doc.isObject())
                return apiError(400, QStringLiteral("Parse Error"));
            QJsonObject resource = doc.object();
            resource.insert(QStringLiteral("id"), eventId);
            store(calendarId, resource);
            reply = FakeReply::json(200, find(calendarId, eventId)->resource);
        }
    } else {
        return apiError(405, QStringLiteral("Method Not Allowed"));
    }
    return reply;
}

} // namespace LarkTest
