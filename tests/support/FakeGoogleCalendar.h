#pragma once

// A stateful Google Calendar on top of FakeHttpServer: calendars, event resources with entity
// tags, a change counter behind the sync tokens (old ones answer 410 once expired), pages of a
// set size, exceptions of recurring series (a first change of an occurrence is a PUT to its
// instance id, "<series id>_<original start in basic form>"), one event per iCalUID in a
// calendar (a second insert is refused with 409 "duplicate"; listings filter by iCalUID), the
// OAuth token endpoint, and failures injected per verb. Clients reach it at apiRoot() and
// tokenUrl().

#include "support/FakeHttpServer.h"

#include <QDateTime>
#include <QHash>
#include <QJsonObject>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace LarkTest {

class FakeGoogleCalendar
{
public:
    explicit FakeGoogleCalendar(FakeHttpServer *server);

    QString apiRoot() const; // .../calendar/v3
    QString tokenUrl() const;

    // The one access token the API accepts; a refresh with refreshToken hands out a new one.
    QString accessToken = QStringLiteral("access-1");
    QString refreshToken = QStringLiteral("refresh-1");
    int refreshes = 0;
    // Makes the current access token stale, as an expiry would.
    void revokeAccessToken() { accessToken = QStringLiteral("revoked"); }

    void addCalendar(const QString &id, const QString &summary,
                     const QString &accessRole = QStringLiteral("owner"));
    // Deleted at Google with its events: no longer listed, its requests answered 404.
    void removeCalendar(const QString &id);

    // Changes made at Google by someone else. putEvent gives the resource an id when it has
    // none; the others return false for an unknown event.
    QString putEvent(const QString &calendarId, QJsonObject resource);
    bool editEvent(const QString &calendarId, const QString &eventId,
                   const std::function<void(QJsonObject &)> &edit);
    bool cancelEvent(const QString &calendarId, const QString &eventId);
    // An exception of a series: the occurrence that started at originalStart, moved or cancelled.
    QString moveInstance(const QString &calendarId, const QString &masterId,
                         const QDateTime &originalStart, const QDateTime &start,
                         const QDateTime &end);
    QString cancelInstance(const QString &calendarId, const QString &masterId,
                           const QDateTime &originalStart);

    // Resources that are not cancelled, in creation order.
    QList<QJsonObject> events(const QString &calendarId) const;
    // Any resource, cancelled ones included.
    std::optional<QJsonObject> event(const QString &calendarId, const QString &eventId) const;

    // Items per page of a listing.
    int pageSize = 50;
    // Every sync token handed out so far answers 410 from now on.
    void expireSyncTokens() { ++m_tokenEpoch; }

    // The next request with this verb (after `skip` that pass) is answered with the status,
    // `times` times. Status 0 drops the connection; -1 holds the answer back for good;
    // appliedThenDropped carries the request out and drops the connection instead of answering.
    void failNext(const QByteArray &method, int status, int skip = 0, int times = 1);
    static constexpr int appliedThenDropped = -2;

    // A sync token of the current state, as a listing would hand it out.
    QString currentSyncToken() const;

private:
    struct Item
    {
        QString calendarId;
        QString id;
        QJsonObject resource;
        qint64 changed = 0;
    };
    struct Fault
    {
        QByteArray method;
        int status;
        int skip;
        int times;
    };

    FakeReply handleApi(const RecordedRequest &request);
    FakeReply handleToken(const RecordedRequest &request);
    FakeReply list(const QString &calendarId, const RecordedRequest &request);
    FakeReply write(const QString &calendarId, const QString &eventId,
                    const RecordedRequest &request);
    FakeReply answerApi(const RecordedRequest &request);
    std::optional<FakeReply> injected(const QByteArray &method, bool &dropAnswer);
    Item *find(const QString &calendarId, const QString &eventId);
    const Item *find(const QString &calendarId, const QString &eventId) const;
    void touch(Item &item);
    QString store(const QString &calendarId, QJsonObject resource);
    QString tokenFor(qint64 seq) const;

    FakeHttpServer *m_server;
    QList<QJsonObject> m_calendars;
    QList<Item> m_items;
    QHash<QString, int> m_index; // calendar id, "\n", event id -> position in m_items
    qint64 m_seq = 0;
    int m_tokenEpoch = 0;
    int m_nextId = 0;
    QList<Fault> m_faults;
};

} // namespace LarkTest
