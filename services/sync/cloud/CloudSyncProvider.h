#pragma once

// The cloud calendar service as a source of the sync core: its calendar list, each calendar's
// events and tasks changed since a cursor, and one request per pushed row. An item's id on the
// service is the local id of the device that made it; this device keeps it in the row's
// provider_event_id (a task's href).

#include "core/sync/SyncProvider.h"
#include "model/Records.h"

#include <QJsonObject>
#include <QPointer>

#include <optional>

namespace LarkAccount {
class ApiClient;
}

namespace Larkspindle {

class CloudSyncProvider : public Sync::SyncProvider
{
    Q_OBJECT
public:
    // Without a REST client (no service configured) nothing is sent and no calendar is listed;
    // signed out, a run fails when the account has cloud calendars.
    CloudSyncProvider(const Account &account, LarkAccount::ApiClient *api, bool signedIn,
                      QObject *parent = nullptr);

    // The run syncs only this calendar, listed without a request.
    void restrictTo(const Calendar &calendar) { m_only = calendar; }

    void listCalendars(Sync::Reply<QList<Calendar>> done) override;
    bool sameCalendar(const Calendar &local, const Calendar &listed) const override;
    void fetchChanges(const Calendar &calendar, const Sync::FetchRequest &request,
                      Sync::Reply<Sync::ChangePage> done) override;
    void pushEvent(const Calendar &calendar, Sync::ChangeKind kind, const Event &event,
                   Sync::Reply<Sync::PushReceipt> done) override;
    bool syncsTasks() const override { return true; }
    void pushTask(const Calendar &calendar, Sync::ChangeKind kind, const Task &task,
                  Sync::Reply<Sync::PushReceipt> done) override;
    QString pushFailureReason(int failedRows, const Sync::Error &first) const override;
    // The service carries an event's text, and reminders and guests are not read from it: what
    // this device keeps of them stays where the pulled copy has none.
    Event mergeRemote(const Event &local, const Event &remote) const override;
    bool mergesChildRows() const override { return true; }
    // A row keeps the text the service last held (edits here are written into it at the push),
    // so that text is the version both sides last agreed on.
    std::optional<Event> agreedVersion(const Event &row) const override;
    // Another device's newer edit outlives a deletion here of the version before it, as the
    // edit here outlives a deletion there: a DELETE carries the tag of the version it deletes.
    bool keepsEditOverDeletion() const override { return true; }

    // One entry of a listing; nullopt for an entry that is skipped (no uid, or a live entry
    // without usable iCalendar text).
    static std::optional<Sync::RemoteEvent> remoteEvent(const QJsonObject &entry);
    static std::optional<Sync::RemoteTask> remoteTask(const QJsonObject &entry);

private:
    // The rest of a listing once the events arrived.
    void fetchTasks(const Calendar &calendar, const QString &since, Sync::ChangePage page,
                    Sync::Reply<Sync::ChangePage> done);
    void push(const QString &serverId, const QString &collectionPath, Sync::ChangeKind kind,
              const QString &remoteId, QJsonObject object, const QString &etag,
              Sync::Reply<Sync::PushReceipt> done);
    // A DELETE answered 404 is done once the calendar is known to be there: then the item is.
    void confirmGone(const QString &serverId, Sync::Reply<Sync::PushReceipt> done);

    Account m_account;
    QPointer<LarkAccount::ApiClient> m_api;
    bool m_signedIn;
    std::optional<Calendar> m_only;
};

} // namespace Larkspindle
