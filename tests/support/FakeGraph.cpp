#include "support/FakeGraph.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTimeZone>
#include <QUrlQuery>

#include <algorithm>

namespace LarkTest {

namespace {

const QString kWall = QStringLiteral("yyyy-MM-dd'T'HH:mm:ss'.0000000'");
const QString kUtc = QStringLiteral("yyyy-MM-dd'T'HH:mm:ss'Z'");

QString str(const QJsonObject &o, const char *key)
{
    return o.value(QLatin1String(key)).toString();
}

QJsonObject obj(const QJsonObject &o, const char *key)
{
    return o.value(QLatin1String(key)).toObject();
}

FakeReply graphError(int status, const QString &code, const QString &message)
{
    QJsonObject error;
    error.insert(QStringLiteral("code"), code);
    error.insert(QStringLiteral("message"), message);
    return FakeReply::json(status, QJsonObject {{QStringLiteral("error"), error}});
}

QTimeZone zoneNamed(const QString &name)
{
    if (name.isEmpty() || name.compare(QLatin1String("UTC"), Qt::CaseInsensitive) == 0)
        return QTimeZone::utc();
    const QByteArray iana = QTimeZone::windowsIdToDefaultIanaId(name.toUtf8());
    const QTimeZone zone(iana.isEmpty() ? name.toUtf8() : iana);
    return zone.isValid() ? zone : QTimeZone::utc();
}

// A {dateTime, timeZone} object as an instant.
QDateTime instantOf(const QJsonObject &value)
{
    QString t = str(value, "dateTime");
    const int dot = t.indexOf(QLatin1Char('.'));
    if (dot > 0)
        t.truncate(dot);
    const QDateTime read = QDateTime::fromString(t, Qt::ISODate);
    if (!read.isValid())
        return {};
    return QDateTime(read.date(), read.time(), zoneNamed(str(value, "timeZone")));
}

QJsonObject wallIn(const QDateTime &instant, const QString &zoneName)
{
    return {{QStringLiteral("dateTime"), instant.toTimeZone(zoneNamed(zoneName)).toString(kWall)},
            {QStringLiteral("timeZone"), zoneName}};
}

bool overlaps(const QDateTime &s, const QDateTime &e, const QDateTime &from, const QDateTime &to)
{
    return s < to && e > from;
}

int dayIndex(const QString &name)
{
    static const QStringList names
        = {QStringLiteral("monday"),   QStringLiteral("tuesday"), QStringLiteral("wednesday"),
           QStringLiteral("thursday"), QStringLiteral("friday"),  QStringLiteral("saturday"),
           QStringLiteral("sunday")};
    return int(names.indexOf(name.toLower())) + 1; // ISO weekday, 0 when unknown
}

QList<int> daysOf(const QJsonObject &pattern)
{
    QList<int> days;
    for (const QJsonValue &v : pattern.value(QStringLiteral("daysOfWeek")).toArray())
        days << dayIndex(v.toString());
    return days;
}

// The index-th date of the month among the given weekdays ("last" counts from the end).
QDate relativeDay(int year, int month, const QList<int> &days, const QString &index)
{
    QList<QDate> matches;
    for (QDate d(year, month, 1); d.month() == month; d = d.addDays(1)) {
        if (days.contains(d.dayOfWeek()))
            matches << d;
    }
    static const QStringList order = {QStringLiteral("first"), QStringLiteral("second"),
                                      QStringLiteral("third"), QStringLiteral("fourth")};
    if (matches.isEmpty())
        return {};
    if (index == QLatin1String("last"))
        return matches.last();
    const int i = int(order.indexOf(index.isEmpty() ? QStringLiteral("first") : index));
    return i >= 0 && i < matches.size() ? matches.at(i) : QDate();
}

bool knownPattern(const QJsonObject &recurrence)
{
    static const QStringList patterns
        = {QStringLiteral("daily"),           QStringLiteral("weekly"),
           QStringLiteral("absoluteMonthly"), QStringLiteral("relativeMonthly"),
           QStringLiteral("absoluteYearly"),  QStringLiteral("relativeYearly")};
    static const QStringList ranges
        = {QStringLiteral("noEnd"), QStringLiteral("endDate"), QStringLiteral("numbered")};
    const QJsonObject pattern = obj(recurrence, "pattern");
    return patterns.contains(str(pattern, "type"))
        && ranges.contains(str(obj(recurrence, "range"), "type"))
        && pattern.value(QStringLiteral("interval")).toInt(1) >= 1;
}

QStringList segmentsOf(const QByteArray &target)
{
    const int q = target.indexOf('?');
    const QByteArray path = q < 0 ? target : target.left(q);
    QStringList out;
    for (const QByteArray &part : path.split('/')) {
        if (!part.isEmpty())
            out << QUrl::fromPercentEncoding(part);
    }
    return out;
}

QString enc(const QString &id)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(id));
}

} // namespace

FakeGraph::FakeGraph()
{
    m_server.route("*", QStringLiteral("/v1.0/*"), [this](const RecordedRequest &request) {
        FakeReply reply = dispatch(request);
        if (reply.delayMs == 0)
            reply.delayMs = answerDelayMs;
        return reply;
    });
}

bool FakeGraph::listen()
{
    return m_server.listen();
}

QUrl FakeGraph::root() const
{
    return m_server.url(QStringLiteral("/v1.0"));
}

QString FakeGraph::newId()
{
    // Real ids are base64 text: "/", "+" and "=" must survive every path they travel in.
    return QStringLiteral("AAMk/%1+Q=").arg(++m_nextId);
}

QString FakeGraph::touch(QJsonObject &json)
{
    clock = clock.addSecs(1);
    const QString changeKey = QStringLiteral("ck%1").arg(++m_nextId);
    json.insert(QStringLiteral("changeKey"), changeKey);
    json.insert(QStringLiteral("lastModifiedDateTime"), clock.toString(kUtc));
    return changeKey;
}

QString FakeGraph::addCalendar(const QString &name, const QString &color)
{
    const QString id = newId();
    m_calendars.append({id, name});
    m_calendarColors.insert(id, color);
    return id;
}

void FakeGraph::removeCalendar(const QString &calendarId)
{
    m_calendars.removeIf([&](const auto &c) { return c.first == calendarId; });
    m_order.removeIf(
        [&](const QString &id) { return m_events.value(id).calendarId == calendarId; });
    m_events.removeIf([&](const auto &e) { return e.value().calendarId == calendarId; });
}

QString FakeGraph::addEvent(const QString &calendarId, const QJsonObject &event)
{
    Stored stored;
    stored.calendarId = calendarId;
    stored.json = event;
    const QString id = newId();
    stored.json.insert(QStringLiteral("id"), id);
    stored.json.insert(QStringLiteral("createdDateTime"), clock.toString(kUtc));
    touch(stored.json);
    m_events.insert(id, stored);
    m_order << id;
    return id;
}

bool FakeGraph::editEvent(const QString &id, const std::function<void(QJsonObject &)> &edit)
{
    auto it = m_events.find(id);
    if (it == m_events.end())
        return false;
    edit(it->json);
    touch(it->json);
    return true;
}

bool FakeGraph::removeEvent(const QString &id)
{
    m_order.removeAll(id);
    return m_events.remove(id) > 0;
}

bool FakeGraph::moveOccurrence(const QString &masterId, const QDate &date,
                               const QDateTime &newStart, const QDateTime &newEnd)
{
    auto it = m_events.find(masterId);
    if (it == m_events.end())
        return false;
    const QString zone = str(obj(it->json, "start"), "timeZone");
    QJsonObject exception = it->exceptions.value(date);
    exception.insert(QStringLiteral("start"), wallIn(newStart, zone));
    exception.insert(QStringLiteral("end"), wallIn(newEnd, zone));
    touch(exception);
    it->exceptions.insert(date, exception);
    // The series item holds its exceptions: it changes with them.
    touch(it->json);
    return true;
}

bool FakeGraph::cancelOccurrence(const QString &masterId, const QDate &date)
{
    auto it = m_events.find(masterId);
    if (it == m_events.end())
        return false;
    it->exceptions.remove(date);
    it->cancelled.insert(date);
    touch(it->json);
    return true;
}

QString FakeGraph::occurrenceId(const QString &masterId, const QDate &date)
{
    return masterId + QLatin1Char('_') + date.toString(QStringLiteral("yyyyMMdd"));
}

std::optional<std::pair<QString, QDate>> FakeGraph::occurrenceOf(const QString &id) const
{
    const int cut = id.lastIndexOf(QLatin1Char('_'));
    if (cut < 0)
        return std::nullopt;
    const QString master = id.left(cut);
    const QDate date = QDate::fromString(id.mid(cut + 1), QStringLiteral("yyyyMMdd"));
    const auto it = m_events.constFind(master);
    if (!date.isValid() || it == m_events.constEnd()
        || !it->json.contains(QStringLiteral("recurrence")))
        return std::nullopt;
    return std::make_pair(master, date);
}

QJsonObject FakeGraph::event(const QString &id) const
{
    const auto it = m_events.constFind(id);
    return it == m_events.constEnd() ? QJsonObject() : shownEvent(id, it->json);
}

QList<QJsonObject> FakeGraph::events(const QString &calendarId) const
{
    QList<QJsonObject> out;
    for (const QString &id : m_order) {
        if (m_events.value(id).calendarId == calendarId)
            out << event(id);
    }
    return out;
}

QList<QJsonObject> FakeGraph::calendarView(const QString &calendarId, const QDateTime &start,
                                           const QDateTime &end) const
{
    m_zone.clear();
    QList<QJsonObject> out;
    for (const Instance &i : view(calendarId, start, end))
        out << shownEvent(i.id, i.json);
    return out;
}

void FakeGraph::failNext(const QByteArray &method, const QString &targetPart,
                         const FakeReply &reply, int times)
{
    m_failures.append({method, targetPart, reply, times, false});
}

void FakeGraph::dropAnswers(const QByteArray &method, const QString &targetPart, int times)
{
    m_failures.append({method, targetPart, FakeReply::dropped(), times, true});
}

void FakeGraph::expireDeltaTokens()
{
    for (Snapshot &s : m_snapshots)
        s.expired = true;
}

// --- Series ---

QList<QDate> FakeGraph::seriesDates(const QJsonObject &master, const QDate &last) const
{
    const QJsonObject recurrence = obj(master, "recurrence");
    const QJsonObject pattern = obj(recurrence, "pattern");
    const QJsonObject range = obj(recurrence, "range");
    const QString type = str(pattern, "type");
    const int interval = qMax(1, pattern.value(QStringLiteral("interval")).toInt(1));
    QDate first = QDate::fromString(str(range, "startDate"), Qt::ISODate);
    if (!first.isValid())
        first = instantOf(obj(master, "start")).date();
    const QString rangeType = str(range, "type");
    const QDate endDate = rangeType == QLatin1String("endDate")
        ? QDate::fromString(str(range, "endDate"), Qt::ISODate)
        : QDate();
    const int count = rangeType == QLatin1String("numbered")
        ? range.value(QStringLiteral("numberOfOccurrences")).toInt()
        : -1;
    const QDate stop = endDate.isValid() ? std::min(endDate, last) : last;
    const QList<int> days = daysOf(pattern);
    const QString index = str(pattern, "index");
    const int month = pattern.value(QStringLiteral("month")).toInt();
    const int dayOfMonth = pattern.value(QStringLiteral("dayOfMonth")).toInt();

    QList<QDate> out;
    auto take = [&](const QDate &d) {
        if (!d.isValid() || d < first)
            return true;
        if (d > stop || (count >= 0 && out.size() >= count))
            return false;
        out << d;
        return true;
    };
    if (type == QLatin1String("daily")) {
        for (QDate d = first; take(d); d = d.addDays(interval)) { }
    } else if (type == QLatin1String("weekly")) {
        const int weekStart = qMax(1,
                                   dayIndex(str(pattern, "firstDayOfWeek").isEmpty()
                                                ? QStringLiteral("sunday")
                                                : str(pattern, "firstDayOfWeek")));
        QDate week = first.addDays(-((first.dayOfWeek() - weekStart + 7) % 7));
        for (bool more = true; more; week = week.addDays(7 * interval)) {
            for (int i = 0; i < 7 && more; ++i) {
                const QDate d = week.addDays(i);
                if (days.contains(d.dayOfWeek()))
                    more = take(d);
            }
            more = more && week <= stop;
        }
    } else if (type.endsWith(QLatin1String("Monthly")) || type.endsWith(QLatin1String("Yearly"))) {
        const bool yearly = type.endsWith(QLatin1String("Yearly"));
        const bool relative = type.startsWith(QLatin1String("relative"));
        const int stepMonths = yearly ? 12 * interval : interval;
        QDate cursor(first.year(), yearly && month > 0 ? month : first.month(), 1);
        if (yearly && cursor < QDate(first.year(), first.month(), 1))
            cursor = cursor.addYears(1);
        for (bool more = true; more && cursor <= stop; cursor = cursor.addMonths(stepMonths)) {
            // An absolute day the month lacks falls on its last day.
            const QDate d = relative
                ? relativeDay(cursor.year(), cursor.month(), days, index)
                : QDate(cursor.year(), cursor.month(), qMin(dayOfMonth, cursor.daysInMonth()));
            more = take(d);
        }
    }
    return out;
}

std::optional<FakeGraph::Instance> FakeGraph::instanceAt(const QString &id, const QDate &date) const
{
    const auto found = m_events.constFind(id);
    if (found == m_events.constEnd() || found->cancelled.contains(date))
        return std::nullopt;
    const Stored &stored = *found;
    const QJsonObject &master = stored.json;
    const QJsonObject startObject = obj(master, "start");
    const QString zoneName = str(startObject, "timeZone");
    const QTimeZone zone = zoneNamed(zoneName);
    const QDateTime start = instantOf(startObject).toTimeZone(zone);
    const qint64 duration = start.secsTo(instantOf(obj(master, "end")));
    const bool allDay = master.value(QStringLiteral("isAllDay")).toBool();
    const QDateTime slot(date, start.time(), zone);
    QJsonObject json = master;
    json.remove(QStringLiteral("recurrence"));
    json.insert(QStringLiteral("start"), wallIn(slot, zoneName));
    json.insert(QStringLiteral("end"), wallIn(slot.addSecs(duration), zoneName));
    json.insert(QStringLiteral("type"), QStringLiteral("occurrence"));
    json.insert(QStringLiteral("seriesMasterId"), id);
    json.insert(QStringLiteral("originalStart"),
                (allDay ? QDateTime(date, QTime(0, 0), Qt::UTC) : slot).toUTC().toString(kUtc));
    QString changeKey = str(master, "changeKey") + date.toString(QStringLiteral("yyyyMMdd"));
    const auto exception = stored.exceptions.constFind(date);
    if (exception != stored.exceptions.constEnd()) {
        for (auto it = exception->constBegin(); it != exception->constEnd(); ++it)
            json.insert(it.key(), it.value());
        json.insert(QStringLiteral("type"), QStringLiteral("exception"));
        // It carries the series' members too, so it changes with the series.
        changeKey = str(*exception, "changeKey") + QLatin1Char('.') + str(master, "changeKey");
    }
    json.insert(QStringLiteral("changeKey"), changeKey);
    const QString occurrence = occurrenceId(id, date);
    json.insert(QStringLiteral("id"), occurrence);
    return Instance {occurrence, changeKey, json};
}

QList<FakeGraph::Instance> FakeGraph::seriesInstances(const QString &id, const QDateTime &from,
                                                      const QDateTime &to) const
{
    QList<Instance> out;
    const QJsonObject master = m_events.value(id).json;
    const QTimeZone zone = zoneNamed(str(obj(master, "start"), "timeZone"));
    // Moved exceptions may come from slots a little outside the window.
    for (const QDate &date : seriesDates(master, to.toTimeZone(zone).date().addDays(31))) {
        const std::optional<Instance> i = instanceAt(id, date);
        if (i
            && overlaps(instantOf(obj(i->json, "start")), instantOf(obj(i->json, "end")), from, to))
            out.append(*i);
    }
    return out;
}

QList<FakeGraph::Instance> FakeGraph::view(const QString &calendarId, const QDateTime &from,
                                           const QDateTime &to) const
{
    QList<Instance> out;
    for (const QString &id : m_order) {
        const Stored &stored = *m_events.constFind(id);
        if (stored.calendarId != calendarId)
            continue;
        if (stored.json.contains(QStringLiteral("recurrence"))) {
            out << seriesInstances(id, from, to);
            continue;
        }
        if (overlaps(instantOf(obj(stored.json, "start")), instantOf(obj(stored.json, "end")), from,
                     to))
            out.append({id, str(stored.json, "changeKey"), stored.json});
    }
    return out;
}

QJsonObject FakeGraph::shownEvent(const QString &id, const QJsonObject &json) const
{
    QJsonObject out = json;
    const QString zone = m_zone.isEmpty() ? QStringLiteral("UTC") : m_zone;
    const bool allDay = json.value(QStringLiteral("isAllDay")).toBool();
    for (const char *key : {"start", "end"}) {
        const QJsonObject value = obj(json, key);
        out.insert(QLatin1String(key),
                   allDay ? QJsonObject {{QStringLiteral("dateTime"),
                                          QString(str(value, "dateTime").left(10)
                                                  + QStringLiteral("T00:00:00.0000000"))},
                                         {QStringLiteral("timeZone"), zone}}
                          : wallIn(instantOf(value), zone));
    }
    out.insert(QStringLiteral("id"), id);
    out.insert(QStringLiteral("originalStartTimeZone"), str(obj(json, "start"), "timeZone"));
    out.insert(QStringLiteral("originalEndTimeZone"), str(obj(json, "end"), "timeZone"));
    out.insert(QStringLiteral("@odata.etag"),
               QStringLiteral("W/\"%1\"").arg(str(json, "changeKey")));
    if (!out.contains(QStringLiteral("type")))
        out.insert(QStringLiteral("type"),
                   json.contains(QStringLiteral("recurrence")) ? QStringLiteral("seriesMaster")
                                                               : QStringLiteral("singleInstance"));
    if (!out.contains(QStringLiteral("recurrence")))
        out.insert(QStringLiteral("recurrence"), QJsonValue::Null);
    if (!out.contains(QStringLiteral("showAs")))
        out.insert(QStringLiteral("showAs"), QStringLiteral("busy"));
    out.insert(QStringLiteral("webLink"),
               QString(QStringLiteral("https://calendar.invalid/item/") + enc(id)));
    return out;
}

// --- Requests ---

QString FakeGraph::preferredZone(const RecordedRequest &request) const
{
    const QString prefer = QString::fromUtf8(request.header("Prefer"));
    const int at = prefer.indexOf(QLatin1String("outlook.timezone=\""));
    if (at < 0)
        return QStringLiteral("UTC");
    const int from = at + 18;
    return prefer.mid(from, prefer.indexOf(QLatin1Char('"'), from) - from);
}

int FakeGraph::pageSizeOf(const RecordedRequest &request) const
{
    const QString prefer = QString::fromUtf8(request.header("Prefer"));
    const int at = prefer.indexOf(QLatin1String("odata.maxpagesize="));
    if (at < 0)
        return 10;
    int end = at + 18;
    while (end < prefer.size() && prefer.at(end).isDigit())
        ++end;
    return qMax(1, prefer.mid(at + 18, end - at - 18).toInt());
}

QString FakeGraph::newListing(Listing listing)
{
    const QString id = QStringLiteral("L%1").arg(++m_nextId);
    m_listings.insert(id, std::move(listing));
    return id;
}

FakeReply FakeGraph::page(const RecordedRequest &request, const QString &listingId, int offset)
{
    const auto it = m_listings.constFind(listingId);
    if (it == m_listings.constEnd() || offset < 0 || offset > it->items.size())
        return graphError(400, QStringLiteral("ErrorInvalidUrlQuery"),
                          QStringLiteral("The skip token is not valid."));
    const int size = std::min(pageSizeOf(request), pageLimit);
    QJsonArray value;
    for (int i = offset; i < std::min<int>(offset + size, int(it->items.size())); ++i)
        value.append(it->items.at(i));
    QJsonObject body {{QStringLiteral("value"), value}};
    const QString base = root().toString() + it->basePath;
    if (offset + size < it->items.size())
        body.insert(
            QStringLiteral("@odata.nextLink"),
            QString(base + QStringLiteral("?$skiptoken=%1.%2").arg(listingId).arg(offset + size)));
    else if (!it->deltaToken.isEmpty())
        body.insert(QStringLiteral("@odata.deltaLink"),
                    QString(base + QStringLiteral("?$deltatoken=") + it->deltaToken));
    return FakeReply::json(200, body);
}

FakeReply FakeGraph::calendarView(const RecordedRequest &request, const QString &calendarId)
{
    const QUrlQuery &query = request.query;
    const QString skip = query.queryItemValue(QStringLiteral("$skiptoken"), QUrl::FullyDecoded);
    if (!skip.isEmpty())
        return page(request, skip.section(QLatin1Char('.'), 0, 0),
                    skip.section(QLatin1Char('.'), 1).toInt());
    Snapshot snapshot;
    const QString token = query.queryItemValue(QStringLiteral("$deltatoken"), QUrl::FullyDecoded);
    if (!token.isEmpty()) {
        const auto it = m_snapshots.constFind(token);
        if (it == m_snapshots.constEnd() || it->expired)
            return graphError(410, QStringLiteral("syncStateNotFound"),
                              QStringLiteral("The sync state generation is not found."));
        snapshot = *it;
    } else {
        snapshot.calendarId = calendarId;
        snapshot.start = QDateTime::fromString(
            query.queryItemValue(QStringLiteral("startDateTime")), Qt::ISODateWithMs);
        snapshot.end = QDateTime::fromString(query.queryItemValue(QStringLiteral("endDateTime")),
                                             Qt::ISODateWithMs);
        if (!snapshot.start.isValid() || !snapshot.end.isValid())
            return graphError(400, QStringLiteral("ErrorInvalidParameter"),
                              QStringLiteral("startDateTime and endDateTime are required."));
    }
    Listing listing;
    listing.basePath = QStringLiteral("/me/calendars/") + enc(calendarId)
        + QStringLiteral("/calendarView/delta");
    QHash<QString, QString> seen;
    for (const Instance &i : view(calendarId, snapshot.start, snapshot.end)) {
        seen.insert(i.id, i.changeKey);
        if (snapshot.changeKeys.value(i.id) != i.changeKey)
            listing.items << shownEvent(i.id, i.json);
    }
    for (auto it = snapshot.changeKeys.constBegin(); it != snapshot.changeKeys.constEnd(); ++it) {
        if (!seen.contains(it.key()))
            listing.items << QJsonObject {
                {QStringLiteral("@odata.type"), QStringLiteral("#microsoft.graph.event")},
                {QStringLiteral("id"), it.key()},
                {QStringLiteral("@removed"),
                 QJsonObject {{QStringLiteral("reason"), QStringLiteral("deleted")}}}};
    }
    snapshot.changeKeys = seen;
    listing.deltaToken = QStringLiteral("D%1").arg(++m_nextId);
    m_snapshots.insert(listing.deltaToken, snapshot);
    return page(request, newListing(std::move(listing)), 0);
}

FakeReply FakeGraph::instances(const RecordedRequest &request, const QString &masterId)
{
    const QString skip
        = request.query.queryItemValue(QStringLiteral("$skiptoken"), QUrl::FullyDecoded);
    if (!skip.isEmpty())
        return page(request, skip.section(QLatin1Char('.'), 0, 0),
                    skip.section(QLatin1Char('.'), 1).toInt());
    const auto it = m_events.constFind(masterId);
    if (it == m_events.constEnd())
        return graphError(404, QStringLiteral("ErrorItemNotFound"),
                          QStringLiteral("The specified object was not found in the store."));
    const QDateTime from = QDateTime::fromString(
        request.query.queryItemValue(QStringLiteral("startDateTime")), Qt::ISODateWithMs);
    const QDateTime to = QDateTime::fromString(
        request.query.queryItemValue(QStringLiteral("endDateTime")), Qt::ISODateWithMs);
    if (!from.isValid() || !to.isValid())
        return graphError(400, QStringLiteral("ErrorInvalidParameter"),
                          QStringLiteral("startDateTime and endDateTime are required."));
    Listing listing;
    listing.basePath = QStringLiteral("/me/events/") + enc(masterId) + QStringLiteral("/instances");
    if (it->json.contains(QStringLiteral("recurrence"))) {
        for (const Instance &i : seriesInstances(masterId, from, to))
            listing.items << shownEvent(i.id, i.json);
    }
    return page(request, newListing(std::move(listing)), 0);
}

FakeReply FakeGraph::create(const RecordedRequest &request, const QString &calendarId)
{
    const QJsonDocument doc = QJsonDocument::fromJson(request.body);
    const QJsonObject body = doc.object();
    const bool hasRecurrence = body.value(QStringLiteral("recurrence")).isObject();
    if (!doc.isObject() || !instantOf(obj(body, "start")).isValid()
        || !instantOf(obj(body, "end")).isValid()
        || (hasRecurrence && !knownPattern(obj(body, "recurrence"))))
        return graphError(400, QStringLiteral("ErrorInvalidRequest"),
                          QStringLiteral("The event body is not valid."));
    // A transaction id names one create: sent again, it answers the event it made.
    const QString transaction = str(body, "transactionId");
    for (const QString &id : std::as_const(m_order)) {
        if (!transaction.isEmpty() && str(m_events.value(id).json, "transactionId") == transaction)
            return FakeReply::json(201, event(id));
    }
    QJsonObject stored = body;
    if (!hasRecurrence)
        stored.remove(QStringLiteral("recurrence"));
    const QString id = addEvent(calendarId, stored);
    return FakeReply::json(201, event(id));
}

FakeReply FakeGraph::patch(const RecordedRequest &request, const QString &id)
{
    const QJsonDocument doc = QJsonDocument::fromJson(request.body);
    if (!doc.isObject())
        return graphError(400, QStringLiteral("ErrorInvalidRequest"),
                          QStringLiteral("The body is not a JSON object."));
    const QJsonObject body = doc.object();
    const QByteArray ifMatch = request.header("If-Match");
    const auto conflict = [&](const QString &changeKey) {
        return !ifMatch.isEmpty() && ifMatch != QStringLiteral("W/\"%1\"").arg(changeKey).toUtf8();
    };
    const FakeReply mismatch = graphError(
        412, QStringLiteral("ErrorIrresolvableConflict"),
        QStringLiteral("The change key passed in the request does not match the current change "
                       "key for the item."));
    if (m_events.contains(id)) {
        Stored &stored = m_events[id];
        if (conflict(str(stored.json, "changeKey")))
            return mismatch;
        if (body.value(QStringLiteral("recurrence")).isObject()
            && !knownPattern(obj(body, "recurrence")))
            return graphError(400, QStringLiteral("ErrorInvalidRequest"),
                              QStringLiteral("The recurrence is not valid."));
        for (auto it = body.constBegin(); it != body.constEnd(); ++it) {
            if (it.value().isNull())
                stored.json.remove(it.key());
            else
                stored.json.insert(it.key(), it.value());
        }
        if (!stored.json.contains(QStringLiteral("recurrence"))) {
            stored.exceptions.clear();
            stored.cancelled.clear();
        }
        touch(stored.json);
        return FakeReply::json(200, event(id));
    }
    const auto occurrence = occurrenceOf(id);
    if (!occurrence)
        return graphError(404, QStringLiteral("ErrorItemNotFound"),
                          QStringLiteral("The specified object was not found in the store."));
    Stored &series = m_events[occurrence->first];
    const std::optional<Instance> instance = instanceAt(occurrence->first, occurrence->second);
    if (!instance)
        return graphError(404, QStringLiteral("ErrorItemNotFound"),
                          QStringLiteral("The specified object was not found in the store."));
    const QString current = instance->changeKey;
    if (conflict(current))
        return mismatch;
    QJsonObject &exception = series.exceptions[occurrence->second];
    for (auto it = body.constBegin(); it != body.constEnd(); ++it)
        exception.insert(it.key(), it.value());
    touch(exception);
    touch(series.json);
    const std::optional<Instance> shown = instanceAt(occurrence->first, occurrence->second);
    return FakeReply::json(200, shownEvent(id, shown ? shown->json : QJsonObject()));
}

FakeReply FakeGraph::remove(const RecordedRequest &request, const QString &id)
{
    const QByteArray ifMatch = request.header("If-Match");
    if (m_events.contains(id)) {
        if (!ifMatch.isEmpty()
            && ifMatch
                != QStringLiteral("W/\"%1\"").arg(str(m_events[id].json, "changeKey")).toUtf8())
            return graphError(412, QStringLiteral("ErrorIrresolvableConflict"),
                              QStringLiteral("The change key does not match."));
        removeEvent(id);
    } else if (const auto occurrence = occurrenceOf(id)) {
        cancelOccurrence(occurrence->first, occurrence->second);
    } else {
        return graphError(404, QStringLiteral("ErrorItemNotFound"),
                          QStringLiteral("The specified object was not found in the store."));
    }
    return FakeReply::empty(204);
}

FakeReply FakeGraph::dispatch(const RecordedRequest &request)
{
    for (int i = 0; i < m_failures.size(); ++i) {
        Failure &f = m_failures[i];
        if ((f.method == "*" || f.method == request.method)
            && QString::fromUtf8(request.target).contains(f.targetPart)) {
            const FakeReply reply = f.reply;
            const bool applied = f.applied;
            if (--f.times <= 0)
                m_failures.removeAt(i);
            if (applied)
                answer(request);
            return reply;
        }
    }
    return answer(request);
}

FakeReply FakeGraph::answer(const RecordedRequest &request)
{
    if (request.header("Authorization") != "Bearer " + accessToken.toUtf8())
        return graphError(401, QStringLiteral("InvalidAuthenticationToken"),
                          QStringLiteral("Access token is empty or not valid."));
    m_zone = preferredZone(request);
    const QStringList s = segmentsOf(request.target).mid(1); // below /v1.0
    const QByteArray &m = request.method;
    const auto is = [&](int size, const char *at0, const char *at1) {
        return s.size() == size && s.value(0) == QLatin1String(at0)
            && s.value(1) == QLatin1String(at1);
    };
    if (m == "GET" && is(2, "me", "calendars")) {
        QJsonArray value;
        for (const auto &[id, name] : std::as_const(m_calendars))
            value.append(QJsonObject {
                {QStringLiteral("id"), id},
                {QStringLiteral("name"), name},
                {QStringLiteral("color"), m_calendarColors.value(id)},
                {QStringLiteral("hexColor"), QString()},
                {QStringLiteral("canEdit"), true},
                {QStringLiteral("isDefaultCalendar"), id == m_calendars.first().first}});
        return FakeReply::json(200, QJsonObject {{QStringLiteral("value"), value}});
    }
    const bool knownCalendar = s.size() >= 3
        && std::any_of(m_calendars.cbegin(), m_calendars.cend(),
                       [&](const auto &c) { return c.first == s.at(2); });
    if (is(5, "me", "calendars") && knownCalendar && s.at(3) == QLatin1String("calendarView")
        && s.at(4) == QLatin1String("delta") && m == "GET")
        return calendarView(request, s.at(2));
    if (is(4, "me", "calendars") && knownCalendar && s.at(3) == QLatin1String("events")
        && m == "POST")
        return create(request, s.at(2));
    QString eventId;
    if (is(5, "me", "calendars") && knownCalendar && s.at(3) == QLatin1String("events"))
        eventId = s.at(4);
    else if (is(3, "me", "events"))
        eventId = s.at(2);
    if (is(4, "me", "events") && s.at(3) == QLatin1String("instances") && m == "GET")
        return instances(request, s.at(2));
    if (!eventId.isEmpty()) {
        if (m == "PATCH")
            return patch(request, eventId);
        if (m == "DELETE")
            return remove(request, eventId);
        if (m == "GET") {
            if (m_events.contains(eventId))
                return FakeReply::json(200, event(eventId));
        }
    }
    return graphError(404, QStringLiteral("ErrorItemNotFound"),
                      QStringLiteral("The specified object was not found in the store."));
}

} // namespace LarkTest
