#include "support/FakeCloudService.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QUrl>
#include <QUuid>

namespace LarkTest {

namespace {

FakeReply error(int status, const QString &text)
{
    return FakeReply::json(status, QJsonObject {{QStringLiteral("error"), text}});
}

QJsonObject parsedBody(const RecordedRequest &request)
{
    return QJsonDocument::fromJson(request.body).object();
}

} // namespace

FakeCloudService::FakeCloudService(const QString &basePath)
    : m_basePath(basePath)
{
    m_server.route("*", m_basePath + QStringLiteral("/*"),
                   [this](const RecordedRequest &request) { return handle(request); });
}

bool FakeCloudService::listen()
{
    return m_server.listen();
}

QUrl FakeCloudService::baseUrl() const
{
    return m_server.url(m_basePath);
}

void FakeCloudService::addCalendar(const QString &id, const QString &name)
{
    if (!m_calendars.contains(id))
        m_calendarOrder.append(id);
    CloudCalendar &calendar = m_calendars[id];
    calendar.object = QJsonObject {
        {QStringLiteral("id"), id},
        {QStringLiteral("name"), name.isEmpty() ? id : name},
    };
}

bool FakeCloudService::hasCalendar(const QString &id) const
{
    return m_calendars.contains(id);
}

QStringList FakeCloudService::calendarIds() const
{
    return m_calendarOrder;
}

QJsonObject FakeCloudService::calendar(const QString &id) const
{
    return m_calendars.value(id).object;
}

QList<QJsonObject> FakeCloudService::live(const Collection &items)
{
    QList<QJsonObject> out;
    for (const QString &id : items.order) {
        const Item &item = items.items.value(id);
        if (item.deletedAt.isEmpty()) {
            QJsonObject object = item.object;
            object.insert(QStringLiteral("etag"), item.etag);
            out.append(object);
        }
    }
    return out;
}

QList<QJsonObject> FakeCloudService::events(const QString &calendarId) const
{
    return live(m_calendars.value(calendarId).events);
}

QList<QJsonObject> FakeCloudService::tasks(const QString &calendarId) const
{
    return live(m_calendars.value(calendarId).tasks);
}

std::optional<QJsonObject> FakeCloudService::event(const QString &calendarId,
                                                   const QString &id) const
{
    const Collection &events = m_calendars.value(calendarId).events;
    if (!events.items.contains(id))
        return std::nullopt;
    return wireObject(events.items.value(id));
}

std::optional<QJsonObject> FakeCloudService::task(const QString &calendarId,
                                                  const QString &id) const
{
    const Collection &tasks = m_calendars.value(calendarId).tasks;
    if (!tasks.items.contains(id))
        return std::nullopt;
    return wireObject(tasks.items.value(id));
}

QString FakeCloudService::storeEvent(const QString &calendarId, const QJsonObject &object)
{
    if (!m_calendars.contains(calendarId))
        return QString();
    return write(m_calendars[calendarId].events, object);
}

QString FakeCloudService::storeTask(const QString &calendarId, const QJsonObject &object)
{
    return m_calendars.contains(calendarId) ? write(m_calendars[calendarId].tasks, object)
                                            : QString();
}

QString FakeCloudService::removeEvent(const QString &calendarId, const QString &id)
{
    if (!m_calendars.contains(calendarId))
        return QString();
    return tombstone(m_calendars[calendarId].events, id);
}

QString FakeCloudService::tombstone(Collection &items, const QString &id)
{
    if (!items.items.contains(id) || !items.items[id].deletedAt.isEmpty())
        return QString();
    Item &item = items.items[id];
    item.changed = ++m_cursor;
    item.etag = QStringLiteral("etag-%1").arg(item.changed);
    item.deletedAt = QStringLiteral("2026-03-02T09:00:00Z");
    return item.etag;
}

void FakeCloudService::addUser(const QString &userId, const QString &email,
                               const QString &displayName)
{
    m_users.insert(userId, {email, displayName});
}

QList<QJsonObject> FakeCloudService::members(const QString &calendarId) const
{
    return m_calendars.value(calendarId).members;
}

void FakeCloudService::failRequests(const QByteArray &method, const QString &pathPrefix,
                                    const FakeReply &reply, int skip, int times)
{
    m_failures.append({method, pathPrefix, reply, skip, times});
}

std::optional<FakeReply> FakeCloudService::injectedFailure(const QByteArray &method,
                                                           const QString &path)
{
    for (Failure &failure : m_failures) {
        if (failure.times <= 0 || failure.method != method || !path.startsWith(failure.prefix))
            continue;
        if (failure.skip > 0) {
            --failure.skip;
            continue;
        }
        --failure.times;
        return failure.reply;
    }
    return std::nullopt;
}

QJsonObject FakeCloudService::wireObject(const Item &item) const
{
    QJsonObject object = item.object;
    object.insert(QStringLiteral("etag"), item.etag);
    if (!item.deletedAt.isEmpty())
        object.insert(QStringLiteral("deleted_at"), item.deletedAt);
    else if (m_liveDeletedAt.isUndefined())
        object.remove(QStringLiteral("deleted_at"));
    else
        object.insert(QStringLiteral("deleted_at"), m_liveDeletedAt);
    return object;
}

QString FakeCloudService::write(Collection &items, const QJsonObject &object, QString *writtenId)
{
    QString id = object.value(QLatin1String("id")).toString();
    if (id.isEmpty())
        id = QUuid::createUuid().toString(QUuid::WithoutBraces);
    if (!items.items.contains(id))
        items.order.append(id);
    Item &item = items.items[id];
    item.object = object;
    item.object.insert(QStringLiteral("id"), id);
    item.object.remove(QStringLiteral("etag"));
    item.object.remove(QStringLiteral("deleted_at"));
    item.deletedAt.clear();
    item.changed = ++m_cursor;
    item.etag = QStringLiteral("etag-%1").arg(item.changed);
    if (writtenId)
        *writtenId = id;
    return item.etag;
}

FakeReply FakeCloudService::handle(const RecordedRequest &request)
{
    // Segments of the raw path, each decoded on its own so that an escaped "/" stays inside.
    QString raw = QString::fromUtf8(request.target);
    raw = raw.left(raw.indexOf(QLatin1Char('?')) < 0 ? raw.size() : raw.indexOf(QLatin1Char('?')));
    raw = raw.mid(m_basePath.size());
    QStringList segments;
    for (const QString &part : raw.split(QLatin1Char('/'), Qt::SkipEmptyParts))
        segments.append(QUrl::fromPercentEncoding(part.toUtf8()));

    const QString below = QLatin1Char('/') + segments.join(QLatin1Char('/'));
    if (const std::optional<FakeReply> failure = injectedFailure(request.method, below))
        return *failure;

    if (segments.value(0) == QLatin1String("sync") && segments.size() == 2)
        return handleConfig(request, segments.at(1));
    if (segments.value(0) != QLatin1String("calendars"))
        return error(404, QStringLiteral("no such resource"));

    if (segments.size() == 1) {
        if (request.method == "GET") {
            QJsonArray list;
            for (const QString &id : std::as_const(m_calendarOrder))
                list.append(m_calendars.value(id).object);
            return FakeReply::json(200, QJsonObject {{QStringLiteral("calendars"), list}});
        }
        if (request.method == "POST") {
            const QJsonObject body = parsedBody(request);
            const QString id = body.value(QLatin1String("id")).toString();
            if (id.isEmpty())
                return error(400, QStringLiteral("id is required"));
            addCalendar(id);
            m_calendars[id].object = body;
            return FakeReply::json(201, body);
        }
        return error(405, QStringLiteral("method not allowed"));
    }

    const QString calendarId = segments.at(1);
    if (!m_calendars.contains(calendarId))
        return error(404, QStringLiteral("no such calendar"));
    CloudCalendar &calendar = m_calendars[calendarId];
    if (segments.size() == 2) {
        if (request.method != "DELETE")
            return error(405, QStringLiteral("method not allowed"));
        m_calendars.remove(calendarId);
        m_calendarOrder.removeAll(calendarId);
        return FakeReply::empty(204);
    }
    const QString kind = segments.at(2);
    if (kind == QLatin1String("events"))
        return handleItems(calendar.events, "events", request, segments);
    if (kind == QLatin1String("tasks"))
        return handleItems(calendar.tasks, "tasks", request, segments);
    return handleShares(calendar, request, segments);
}

FakeReply FakeCloudService::handleItems(Collection &items, const char *listName,
                                        const RecordedRequest &request, const QStringList &segments)
{
    if (segments.size() == 3 && request.method == "GET") {
        bool hasCursor = false;
        const qint64 since
            = request.query.queryItemValue(QStringLiteral("since")).toLongLong(&hasCursor);
        QJsonArray list;
        for (const QString &id : std::as_const(items.order)) {
            const Item &item = items.items.value(id);
            // A first listing needs no tombstones: the client has nothing to remove yet.
            if (hasCursor ? item.changed > since : item.deletedAt.isEmpty())
                list.append(wireObject(item));
        }
        return FakeReply::json(
            200,
            QJsonObject {{QLatin1String(listName), list},
                         {QStringLiteral("timestamp"), QString::number(m_cursor)}});
    }
    if (segments.size() == 3 && request.method == "POST") {
        const QJsonObject body = parsedBody(request);
        const bool known = items.items.contains(body.value(QLatin1String("id")).toString());
        QString id;
        const QString etag = write(items, body, &id);
        return FakeReply::json(
            known ? 200 : 201,
            QJsonObject {{QStringLiteral("id"), id}, {QStringLiteral("etag"), etag}});
    }
    if (segments.size() != 4)
        return error(405, QStringLiteral("method not allowed"));
    const QString id = segments.at(3);
    const bool isLive = items.items.contains(id) && items.items.value(id).deletedAt.isEmpty();
    if (!isLive)
        return error(404, QStringLiteral("no such item"));
    if (request.method == "PUT") {
        QJsonObject body = parsedBody(request);
        // An edit of a version that is no longer the latest is refused, as the service does.
        const QString sentTag = body.value(QLatin1String("etag")).toString();
        if (!sentTag.isEmpty() && sentTag != items.items.value(id).etag)
            return error(412, QStringLiteral("the item changed since that version"));
        body.insert(QStringLiteral("id"), id);
        const QString etag = write(items, body);
        return FakeReply::json(
            200, QJsonObject {{QStringLiteral("id"), id}, {QStringLiteral("etag"), etag}});
    }
    if (request.method == "DELETE") {
        const QByteArray ifMatch = request.header("If-Match");
        if (!ifMatch.isEmpty() && QString::fromUtf8(ifMatch) != items.items.value(id).etag)
            return error(412, QStringLiteral("the item changed since that version"));
        tombstone(items, id);
        return FakeReply::empty(204);
    }
    return error(405, QStringLiteral("method not allowed"));
}

QList<QJsonObject> FakeCloudService::configRecords(const QString &type) const
{
    QList<QJsonObject> out;
    for (const QString &key : m_configOrder) {
        if (m_config.value(key).type == type)
            out.append(m_config.value(key).data);
    }
    return out;
}

FakeReply FakeCloudService::handleConfig(const RecordedRequest &request, const QString &what)
{
    if (what == QLatin1String("push") && request.method == "POST") {
        ++m_configPushes;
        const QJsonArray changes = parsedBody(request).value(QLatin1String("changes")).toArray();
        for (const QJsonValue &value : changes) {
            const QString type = value[QLatin1String("type")].toString();
            const QJsonObject data = value[QLatin1String("data")].toObject();
            const QString identity = type == QLatin1String("calendar_preferences")
                ? data.value(QLatin1String("canonical_key")).toString()
                : type == QLatin1String("initial_settings")
                ? data.value(QLatin1String("key")).toString()
                : data.value(QLatin1String("id")).toString();
            if (identity.isEmpty())
                continue;
            const QString key = type + QLatin1Char('/') + identity;
            const auto stored = m_config.constFind(key);
            if (stored != m_config.constEnd()
                && (stored->data == data
                    || stored->data.value(QLatin1String("updated_at")).toDouble()
                        > data.value(QLatin1String("updated_at")).toDouble()))
                continue;
            if (stored == m_config.constEnd())
                m_configOrder.append(key);
            m_config.insert(key, {type, data, ++m_cursor});
        }
        return FakeReply::json(200, QJsonObject {{QStringLiteral("accepted"), changes.size()}});
    }
    if (what == QLatin1String("pull") && request.method == "GET") {
        const qint64 since = request.query.queryItemValue(QStringLiteral("since")).toLongLong();
        QJsonArray changes;
        for (const QString &key : std::as_const(m_configOrder)) {
            const ConfigRecord &record = m_config[key];
            if (record.changed > since)
                changes.append(QJsonObject {{QStringLiteral("type"), record.type},
                                            {QStringLiteral("data"), record.data}});
        }
        return FakeReply::json(200,
                               QJsonObject {{QStringLiteral("changes"), changes},
                                            {QStringLiteral("timestamp"), double(m_cursor)}});
    }
    return error(405, QStringLiteral("method not allowed"));
}

FakeReply FakeCloudService::handleShares(CloudCalendar &calendar, const RecordedRequest &request,
                                         const QStringList &segments)
{
    const QString kind = segments.at(2);
    if (kind == QLatin1String("members") && segments.size() == 3 && request.method == "GET") {
        QJsonArray list;
        for (const QJsonObject &member : std::as_const(calendar.members))
            list.append(member);
        return FakeReply::json(200, QJsonObject {{QStringLiteral("members"), list}});
    }
    if (kind != QLatin1String("share"))
        return error(404, QStringLiteral("no such resource"));
    if (segments.size() == 3 && request.method == "POST") {
        const QJsonObject body = parsedBody(request);
        const QString userId = body.value(QLatin1String("user_id")).toString();
        if (userId.isEmpty())
            return error(400, QStringLiteral("user_id is required"));
        calendar.members.removeIf([&](const QJsonObject &m) {
            return m.value(QLatin1String("user_id")).toString() == userId;
        });
        calendar.members.append(QJsonObject {
            {QStringLiteral("user_id"), userId},
            {QStringLiteral("email"), m_users.value(userId).first},
            {QStringLiteral("display_name"), m_users.value(userId).second},
            {QStringLiteral("role"), body.value(QLatin1String("role"))},
            {QStringLiteral("joined_at"), QStringLiteral("2026-03-02T09:00:00Z")},
        });
        return FakeReply::json(201, QJsonObject {{QStringLiteral("user_id"), userId}});
    }
    if (segments.size() == 4 && request.method == "DELETE") {
        const QString userId = segments.at(3);
        const qsizetype removed = calendar.members.removeIf([&](const QJsonObject &m) {
            return m.value(QLatin1String("user_id")).toString() == userId;
        });
        return removed > 0 ? FakeReply::empty(204) : error(404, QStringLiteral("no such share"));
    }
    return error(405, QStringLiteral("method not allowed"));
}

} // namespace LarkTest
