#pragma once

// Microsoft calendars on the sync core: the account's sign-in session (the token renewed before
// it runs out and once when Graph refuses it), its calendars, a calendar view's delta query page by
// page, and single-event writes. Everything that touches the local store is the core's; this class
// only asks Graph and maps the answers.
//
// A calendar is followed over a window from six months back to two years ahead. The view lists
// single events and the occurrences and exceptions of series, never the series themselves: each
// series met in a page is fetched once per run with its instances in the window, which gives
// the master's rule, its exceptions as overrides and its cancelled occurrences as exception
// dates; where the rule still differs from the listed instances, the instances win, as added
// and exception dates. A removal the store cannot place (an occurrence, or every occurrence of a
// series deleted) has the calendar's series fetched again. A listing of the whole window (the
// first, or one after the service dropped its delta state) removes the rows it no longer names.
//
// A create carries the row's id as its transactionId: sent again after its answer was lost, it
// is answered with the event made the first time, and a listing names the row the event came
// from (createdFrom), so no second event comes in. A changed occurrence not sent yet goes as a
// change of the instance Graph keeps for that slot of the series, never as a new event.

#include "core/sync/SyncProvider.h"
#include "model/Records.h"
#include "services/sync/microsoft/CalendarClient.h"

#include <QDateTime>
#include <QHash>
#include <QSet>
#include <QString>

#include <memory>

namespace OAuth {
class SignInSession;
}

namespace Microsoft {

class MicrosoftSyncProvider : public Sync::SyncProvider
{
    Q_OBJECT
public:
    explicit MicrosoftSyncProvider(const Account &account, QObject *parent = nullptr);

    // The Graph root requests go to; by default the configured address.
    void setServiceRoot(const QUrl &root);

    void prepare(Sync::Reply<> done) override;
    void listCalendars(Sync::Reply<QList<Calendar>> done) override;
    void fetchChanges(const Calendar &calendar, const Sync::FetchRequest &request,
                      Sync::Reply<Sync::ChangePage> done) override;
    void pushEvent(const Calendar &calendar, Sync::ChangeKind kind, const Event &event,
                   Sync::Reply<Sync::PushReceipt> done) override;
    // The Graph event the row was last read or written as.
    std::optional<Event> agreedVersion(const Event &row) const override;
    QString missingCalendarReason(const Calendar &calendar) const override;

    // A stored access token this close to its expiry is renewed first.
    static constexpr int renewMarginSecs = 60;
    // The months before and after now that a calendar follows.
    static constexpr int monthsBack = 6;
    static constexpr int monthsAhead = 24;

private:
    struct Fetch;
    Sync::Error errorOf(const GraphReply &reply);
    // The run's failure when the session could not renew the access token.
    QString renewalFailure() const;
    void onPage(const std::shared_ptr<Fetch> &fetch, const GraphReply &reply);
    void refreshNextSeries(const std::shared_ptr<Fetch> &fetch);
    void fetchInstances(const std::shared_ptr<Fetch> &fetch, const Event &master, const QUrl &url,
                        QList<QJsonObject> found);
    void addSeries(const std::shared_ptr<Fetch> &fetch, Event master,
                   const QList<QJsonObject> &instances);
    // The recurring masters of a calendar this device mirrors.
    QStringList localSeries(const QString &calendarId) const;
    // A listing of the whole window names every event it holds: the rows it did not name were
    // deleted at the source meanwhile.
    void addUnseen(const std::shared_ptr<Fetch> &fetch);
    using Done = CalendarClient::Done;
    void cancelAddedDates(const Calendar &calendar, const Event &event, const QString &seriesId,
                          const Done &answer, const GraphReply &written);
    void pushOccurrence(const Calendar &calendar, const Event &event,
                        Sync::Reply<Sync::PushReceipt> done);

    Account m_account;
    CalendarClient *m_client;
    OAuth::SignInSession *m_session;
    QDateTime m_windowStart;
    QDateTime m_windowEnd;
    // Series fetched in this run, with the ids of their exceptions in the window.
    QSet<QString> m_seriesDone;
    QHash<QString, QSet<QString>> m_seriesIds;
    // Ids named so far by the listing of the whole window under way.
    QSet<QString> m_seen;
};

} // namespace Microsoft
