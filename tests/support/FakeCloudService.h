#pragma once

// A stateful stand-in for the cloud calendar service's sync API on a FakeHttpServer: calendars,
// their events and tasks with entity tags and a change cursor, members and shares, and
// failures injected into chosen requests. Several clients (devices) may talk to one instance.
//
// Wire behaviour, paths below baseUrl():
//   GET    /calendars                       {"calendars": [{id, name, description, color,
//   timezone}]} POST   /calendars                       registers (or replaces) the calendar named
//   by "id" DELETE /calendars/<cal>                 removes it with its items GET
//   /calendars/<cal>/events?since=C  items changed after cursor C (all live ones without
//                                           C), tombstones included: {"events": [...], "timestamp"}
//   POST   /calendars/<cal>/events          creates the item "id"; a known id is replaced (upsert)
//   PUT    /calendars/<cal>/events/<id>     replaces a live item, 404 when there is none, 412
//                                           when the body's "etag" is not the item's current one
//   DELETE /calendars/<cal>/events/<id>     makes it a tombstone, 404 when there is no live one,
//                                           412 when an If-Match header names another etag
//   the same four for /tasks ("tasks" in the listing)
//   GET    /calendars/<cal>/members         {"members": [...]}
//   POST   /calendars/<cal>/share           {"user_id", "role"}; 400 with "error" without user_id
//   DELETE /calendars/<cal>/share/<user>    404 when the user has no share
// An unknown calendar answers 404. Write answers carry {"id", "etag"}. A stored item is the
// object last sent, plus "etag" and "deleted_at" (null while live, a time text once deleted).
//
// The configuration bucket that every device of the user shares:
//   POST   /sync/push {"changes": [{type, data}]}  each record replaces the stored one of its
//                                           section and identity ("canonical_key" for calendar
//                                           preferences, "key" for settings, else "id") unless
//                                           that one has a later "updated_at"; a record that
//                                           differs from the stored one moves the cursor
//   GET    /sync/pull?since=C               {"changes": [records changed after C], "timestamp"}

#include "support/FakeHttpServer.h"

#include <QHash>
#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace LarkTest {

class FakeCloudService
{
public:
    explicit FakeCloudService(const QString &basePath = QStringLiteral("/calendar/v1"));

    [[nodiscard]] bool listen();
    // The sync API's base url, for LarkAccount::ApiClient::setBaseUrl.
    QUrl baseUrl() const;
    // For recorded requests and for routes of other APIs on the same server.
    FakeHttpServer &server() { return m_server; }

    void addCalendar(const QString &id, const QString &name = QString());
    bool hasCalendar(const QString &id) const;
    QStringList calendarIds() const;
    QJsonObject calendar(const QString &id) const;

    // Live items in the order they were first created; item() returns tombstones too.
    QList<QJsonObject> events(const QString &calendarId) const;
    QList<QJsonObject> tasks(const QString &calendarId) const;
    std::optional<QJsonObject> event(const QString &calendarId, const QString &id) const;
    std::optional<QJsonObject> task(const QString &calendarId, const QString &id) const;
    // Writes made at the service itself, as another client would; they move the cursor.
    // Return the new etag (empty when the calendar or a live item is missing).
    QString storeEvent(const QString &calendarId, const QJsonObject &object);
    QString storeTask(const QString &calendarId, const QJsonObject &object);
    QString removeEvent(const QString &calendarId, const QString &id);

    // Known people: a share with one of them lists the e-mail and name.
    void addUser(const QString &userId, const QString &email, const QString &displayName);
    QList<QJsonObject> members(const QString &calendarId) const;

    // The configuration records of one section as stored, and how many pushes arrived.
    QList<QJsonObject> configRecords(const QString &type) const;
    int configPushes() const { return m_configPushes; }

    // What a live item's "deleted_at" reads as on the wire: null (the default), false, or
    // QJsonValue::Undefined to leave the member out.
    void setLiveDeletedAt(const QJsonValue &value) { m_liveDeletedAt = value; }

    // The requests of this verb whose path below the base starts with pathPrefix: the first
    // `skip` of them are served, the next `times` get `reply` and change nothing.
    void failRequests(const QByteArray &method, const QString &pathPrefix, const FakeReply &reply,
                      int skip = 0, int times = 1);
    void clearFailures() { m_failures.clear(); }

private:
    struct Item
    {
        QJsonObject object;
        QString etag;
        QString deletedAt;
        qint64 changed = 0;
    };
    struct Collection
    {
        QList<QString> order;
        QHash<QString, Item> items;
    };
    struct CloudCalendar
    {
        QJsonObject object;
        Collection events;
        Collection tasks;
        QList<QJsonObject> members;
    };
    struct Failure
    {
        QByteArray method;
        QString prefix;
        FakeReply reply;
        int skip = 0;
        int times = 0;
    };

    FakeReply handle(const RecordedRequest &request);
    std::optional<FakeReply> injectedFailure(const QByteArray &method, const QString &path);
    FakeReply handleItems(Collection &items, const char *listName, const RecordedRequest &request,
                          const QStringList &segments);
    FakeReply handleConfig(const RecordedRequest &request, const QString &what);
    FakeReply handleShares(CloudCalendar &calendar, const RecordedRequest &request,
                           const QStringList &segments);
    QJsonObject wireObject(const Item &item) const;
    // Stores the item under its "id" (a new one when it has none); returns the new etag.
    QString write(Collection &items, const QJsonObject &object, QString *writtenId = nullptr);
    // Empty when there is no live item of that id.
    QString tombstone(Collection &items, const QString &id);
    static QList<QJsonObject> live(const Collection &items);

    FakeHttpServer m_server;
    QString m_basePath;
    QList<QString> m_calendarOrder;
    QHash<QString, CloudCalendar> m_calendars;
    QHash<QString, QPair<QString, QString>> m_users;
    QList<Failure> m_failures;
    struct ConfigRecord
    {
        QString type;
        QJsonObject data;
        qint64 changed = 0;
    };
    QStringList m_configOrder;
    QHash<QString, ConfigRecord> m_config;
    int m_configPushes = 0;
    QJsonValue m_liveDeletedAt = QJsonValue(QJsonValue::Null);
    qint64 m_cursor = 0;
};

} // namespace LarkTest
