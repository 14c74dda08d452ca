#pragma once

// A Google account as a source of the sync core: its calendar list, each
// calendar's changes a page at a time (by sync token, or in full), and single
// events written back. The engine does everything that touches the store; this
// class does Google's requests and the mapping; the account's sign-in session
// renews the access token before a run when it is missing or about to expire,
// and once when Google refuses it.
//
// A create carries the row's uid as its iCalUID, and Google keeps one event per
// iCalUID in a calendar: a create sent again after its answer was lost is refused
// (409), and the row then takes over the event it names; a listing names the row an
// event came from, so no second one comes in. A changed occurrence not sent yet goes
// to the series' instance id for its slot, never as a new event.

#include "core/sync/SyncProvider.h"
#include "model/Records.h"

#include <QJsonObject>
#include <QList>
#include <QPointer>
#include <QString>

#include <functional>
#include <optional>
#include <utility>

class QNetworkAccessManager;

namespace OAuth {
class SignInSession;
}

namespace Google {

class CalendarClient;

class GoogleSyncProvider : public Sync::SyncProvider
{
    Q_OBJECT
public:
    // A stored access token this close to its expiry is refreshed first.
    static constexpr int refreshMarginSecs = 60;

    explicit GoogleSyncProvider(const Account &account, QObject *parent = nullptr);

    void prepare(Sync::Reply<> done) override;
    void listCalendars(Sync::Reply<QList<Calendar>> done) override;
    void fetchChanges(const Calendar &calendar, const Sync::FetchRequest &request,
                      Sync::Reply<Sync::ChangePage> done) override;
    void pushEvent(const Calendar &calendar, Sync::ChangeKind kind, const Event &event,
                   Sync::Reply<Sync::PushReceipt> done) override;

    // Google's incremental token lives in sync_token; a rejected one clears the
    // delta token too.
    QString storedToken(const Calendar &calendar) const override;
    void setStoredToken(Calendar &calendar, const QString &token) const override;
    void clearStoredTokens(Calendar &calendar) const override;
    // What Google does not carry stays as it was chosen here.
    Event mergeRemote(const Event &local, const Event &remote) const override;
    // The resource the row was last read or written as.
    std::optional<Event> agreedVersion(const Event &row) const override;
    QString pushFailureReason(int failedRows, const Sync::Error &first) const override;
    QString missingCalendarReason(const Calendar &calendar) const override;

    // What one listed page means to the store.
    static Sync::ChangePage changePage(const QList<QJsonObject> &items,
                                       const QString &nextPageToken, const QString &nextSyncToken);
    static Calendar calendarRow(const QString &id, const QString &summary,
                                const QString &description, const QString &color,
                                const QString &accessRole);

private:
    CalendarClient *newClient();
    std::optional<std::pair<QString, QJsonObject>> instanceWrite(const Calendar &calendar,
                                                                 const Event &event) const;
    void adoptExisting(const Calendar &calendar, const Event &event, const QString &refusal,
                       Sync::Reply<Sync::PushReceipt> done);
    // The run's failure when the session could not renew the access token.
    Sync::Error renewalFailure() const;
    // A refusal of the access token is answered by one renewal and the request
    // sent again; anything else ends the operation.
    template<typename T>
    void failed(const CalendarClient *client, int status, const QString &reason,
                const Sync::Reply<T> &done, const std::function<void()> &again);

    Account m_account;
    OAuth::SignInSession *m_session;
    // The request sent again after a refusal, and whether the next one is it.
    QPointer<CalendarClient> m_resentClient;
    bool m_resending = false;
    // One for the run, so that its many requests share connections.
    QNetworkAccessManager *m_network;
};

} // namespace Google
