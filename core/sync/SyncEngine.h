#pragma once

// One sync run of one account over its source's provider, the steps every source shares:
//   1. provider->prepare, then listCalendars; calendars not known here are added; a synced one
//      the source no longer lists fails by name, its rows kept;
//   2. for each listed calendar whose sync is on (and that the run's filter names), in turn:
//      fetch pages from the stored token and apply each in one transaction (a rejected token
//      restarts a full fetch once), then, when the pull went through, push the calendar's
//      outbox one row at a time;
//   3. exactly one terminal signal, after the last push: finished, or failed with the calendar
//      and the reason of the first failure.
// A pulled change never overwrites a pending edit: the pair is recorded as a conflict and the
// row, merged with the remote copy and given its new tag, stays pending, so that its push is
// accepted. A calendar whose pull failed pushes nothing. A row edited while its push was under
// way stays pending. A calendar the gate holds (an import writes into it, another run syncs it)
// is left alone: not started, or ended at its next page or push without applying or sending
// anything more, and kept back in the gate for the run after the hold.
// The pull is SyncEngine.cpp, the push SyncEnginePush.cpp; SyncEngineRows.h is what both say of a
// row.

#include "core/sync/ConflictMerge.h"
#include "core/sync/PageChain.h"
#include "core/sync/SyncClientRegistry.h"
#include "core/sync/SyncProvider.h"
#include "core/sync/SyncStore.h"
#include "model/Records.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <utility>

class AppState;

namespace Sync {

class SyncEngine : public AccountSyncRun
{
    Q_OBJECT
public:
    // Takes the provider over as its child and gives it the store's read-only context.
    SyncEngine(const SyncStore &store, const Account &account, SyncProvider *provider,
               QObject *parent = nullptr);

    // Once per engine.
    void start() override;

    SyncProvider *provider() const { return m_provider; }

private:
    struct Outbox
    {
        bool isTask = false;
        QString id;
    };

    // Ends the run when an account-wide step failed.
    template<typename T> bool endedBy(const Outcome<T> &outcome);
    void listCalendars();
    // Adds the listed calendars not known here, queues the listed ones that sync (enabled, and in
    // the run's filter) and reports those the source no longer lists.
    void adoptCalendars(const QList<Calendar> &listed);
    void startNextCalendar();
    void fetchPage();
    void onPage(const Outcome<ChangePage> &outcome);
    // The failure text when the page could not be applied; empty when it was committed.
    QString applyPage(const ChangePage &page);
    template<typename Row> bool applyChange(const RemoteChange<Row> &item, bool &changed);
    // The local row of a pulled item, without child rows where their lookup costs.
    std::optional<Event> localRowFor(const RemoteEvent &item) const;
    // The write that gives a pending create the remote item made from it; nullopt when the item
    // names no such row.
    std::optional<bool> adoptCreate(const RemoteEvent &item, bool &changed);
    std::optional<Task> localRowFor(const RemoteTask &item) const;
    // Completes a local row that is written back from its record.
    void withChildRows(Event &local) const;
    void withChildRows(Task &local) const;
    // A pulled change meets a pending row: the pair is put on record.
    void keepLocal(const Event &local, const Event &remote);
    void keepLocal(const Task &local, const Task &remote);
    // The pending row merged with its changed remote copy, still pending, with the remote tag.
    template<typename Row> Row settled(const Row &local, const Row &remote) const;
    // The calendar's changes could not all be fetched or saved: it ends without a push.
    void pullFailed(const QString &reason, bool stopAccount);
    // An import is writing into the calendar: nothing more is pulled into it or pushed from it.
    bool isHeld(const QString &calendarId) const;
    // Ends the current calendar, held since it began, with what it did so far.
    void leftAlone();
    void startPush();
    void pushNext();
    // Sends the row when it is still pending; false when there was nothing to send.
    template<typename Row> bool push(const QString &id);
    template<typename Row>
    void onPushed(const Row &sent, ChangeKind kind, const Outcome<PushReceipt> &outcome);
    // Counts a failed push; false when the account stops.
    bool notePushFailure(const Error &error);
    void finishCalendar();
    void noteFailure(const QString &calendarId, const QString &reason, bool stopAccount);
    void finish();
    // Keeps on the run when the source asked to be called again.
    void noteRetryAfter(const Error &error);

    SyncStore m_store;
    Account m_account;
    SyncProvider *m_provider;
    bool m_started = false;
    bool m_ended = false;
    bool m_accountStopped = false;

    QList<Calendar> m_toSync;
    Calendar m_calendar;
    FetchRequest m_request;
    PageChain m_pages; // the page tokens of the calendar's fetch
    bool m_restarted = false;
    QList<Outbox> m_outbox;
    int m_pushFailures = 0;
    int m_pulledItems = 0;
    QString m_calendarFailure; // the first of the current calendar
    // Said on the current calendar without failing the run: a change its source cannot hold.
    QString m_calendarNotice;
    bool m_calendarHeld = false; // left alone since it began
    std::optional<Error> m_firstPushError;
    // Recorded once the page that found them is committed.
    QList<std::pair<Event, Event>> m_pageConflicts;

    std::optional<std::pair<QString, QString>> m_failure; // calendar id, reason
};

// A sync client made of the engine and a provider: register it for an account type with
// SyncClientRegistry::registerClient(type, engineFactory(makeProvider)). The state is the
// composition root's, for what the provider is made with (a client of the source); the engine
// takes only its repositories.
using ProviderFactory = std::function<SyncProvider *(AppState *state, const Account &account)>;
SyncClientRegistry::Factory engineFactory(ProviderFactory makeProvider);

} // namespace Sync
