#pragma once

// What a remote calendar source fills in so that the shared sync steps (Sync::SyncEngine) run
// over it: list its calendars, fetch a calendar's changes since a token page by page, and push
// one local change. The source does its own requests and mapping; the engine does everything
// that touches the local store: which rows to push, marking them synced, applying pages, pending
// rows, conflicts, tokens and the one terminal signal.
//
// Every operation answers through its callback exactly once, success or a typed failure,
// normally later from the event loop (network replies). The engine owns its provider, so a
// provider that is deleted with its engine never calls back.

#include "core/sync/ProviderContext.h"
#include "model/Records.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>
#include <utility>
#include <variant>

namespace Sync {

enum class ErrorKind {
    Auth, // credentials missing, expired or refused: the whole account stops
    NotFound, // the remote has no such calendar or item (it confirmed so)
    Gone, // the token is no longer accepted: the calendar is fetched in full again
    Conflict, // the remote copy changed since it was read (precondition failed)
    RateLimited, // the remote asks to come back later: the whole account stops
    Server, // the remote failed or refused the request
    Network, // no answer: connection refused or dropped, timeout: the whole account stops
    Malformed, // an answer that cannot be read
    // The source cannot hold the item as it stands. A new item stays on this device, said once,
    // and is sent again only once it is changed here; a changed one stays waiting here (no pull
    // writes over it), said on its calendar at every run, which fails for it no more.
    Unsupported,
};

struct Error
{
    ErrorKind kind = ErrorKind::Server;
    QString reason; // readable, shown to the user; never a token or a body
    // When the source asked not to be called again before a time (Retry-After); invalid when not.
    QDateTime retryAfter;
};

// Whether the error would hit every other calendar of the account alike.
bool stopsAccount(ErrorKind kind);

// A value or the reason there is none.
template<typename T = std::monostate> class Outcome
{
public:
    static Outcome success(T value = T()) { return Outcome(std::move(value)); }
    static Outcome failure(ErrorKind kind, const QString &reason)
    {
        return Outcome(Error {kind, reason, QDateTime()});
    }
    static Outcome failure(const Error &error) { return Outcome(error); }

    bool ok() const { return m_state.index() == 0; }
    const T &value() const { return std::get<0>(m_state); }
    const Error &error() const { return std::get<1>(m_state); }

private:
    explicit Outcome(T value)
        : m_state(std::in_place_index<0>, std::move(value))
    { }
    explicit Outcome(Error error)
        : m_state(std::in_place_index<1>, std::move(error))
    { }
    std::variant<T, Error> m_state;
};

template<typename T = std::monostate> using Reply = std::function<void(const Outcome<T> &)>;

// One changed or removed item of a fetched page.
template<typename Row> struct RemoteChange
{
    // The source's id of the item: kept in an event's provider_event_id and, since tasks have
    // no such column, in a task's href. Tasks are matched by uid (this id when they carry none).
    QString remoteId;
    QString etag;
    // Removed at the source. Only remoteId counts, and row.uid / recurrence_id when the source
    // names its items by uid.
    bool deleted = false;
    // The remote version as a local row. The engine chooses id and calendar_id.
    Row row;
    // Not empty when the source could not read the item: why. The page is not applied.
    QString unreadable;
    // The local row the source made this item from, by its id or by its uid, as the source keeps
    // it. A row so named that still waits for its create's answer (the answer was lost) takes the
    // item as its remote copy instead of a second row coming in.
    QString createdFrom = {};
    QString createdFromUid = {};
};
using RemoteEvent = RemoteChange<Event>;
using RemoteTask = RemoteChange<Task>;

struct ChangePage
{
    QList<RemoteEvent> events;
    QList<RemoteTask> tasks;
    // Where the fetch goes on; empty on the last page.
    QString nextPageToken;
    // Stored with this page once it is committed, so that a later run resumes after it (the
    // sync token on the last page; a resumable cursor, or nothing, on the others). Empty keeps
    // the stored token.
    QString token;
};

struct FetchRequest
{
    QString token; // the stored token; empty for a full listing
    QString pageToken; // empty for the first page
};

enum class ChangeKind { Create, Update, Delete };

struct PushReceipt
{
    QString remoteId; // the id a created item got; empty keeps the stored one
    QString etag; // the remote copy's new entity tag
    QString href; // empty keeps the stored one
    // The remote copy as the source now holds it, in the form the row keeps it (raw_icalendar):
    // the version both sides agree on from here. Empty keeps the stored text.
    QString text;
    // A series' cancelled dates as the copy sent holds them, where the push wrote them anew (its
    // start moved); none keeps the row's.
    std::optional<QString> exceptionDates = std::nullopt;
};

class SyncProvider : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // Runs first, once per run: a source refreshes its access token here.
    virtual void prepare(Reply<> done);

    // The account's calendars at the source as local rows: url (the key the source knows the
    // calendar by), name, description, color, timezone, is_read_only, supported_components,
    // canonical_key. The engine adds the ones not known here and syncs those it matches.
    virtual void listCalendars(Reply<QList<Calendar>> done) = 0;
    // Whether a local calendar of the account is the listed one; by default the same url, or
    // the same non-empty identity key.
    virtual bool sameCalendar(const Calendar &local, const Calendar &listed) const;

    // One page of the calendar's changes. A rejected token answers ErrorKind::Gone.
    virtual void fetchChanges(const Calendar &calendar, const FetchRequest &request,
                              Reply<ChangePage> done)
        = 0;

    // One local change, the full row. Update and Delete carry the stored provider_event_id and
    // etag (the precondition). A Delete the remote answers NotFound or Gone counts as done; an
    // Update answered so is created afresh by the next run.
    virtual void pushEvent(const Calendar &calendar, ChangeKind kind, const Event &event,
                           Reply<PushReceipt> done)
        = 0;

    // Tasks travel only when the source keeps them.
    virtual bool syncsTasks() const { return false; }
    virtual void pushTask(const Calendar &calendar, ChangeKind kind, const Task &task,
                          Reply<PushReceipt> done);

    // Which field of the calendar row keeps this source's token; delta_sync_token by default.
    virtual QString storedToken(const Calendar &calendar) const;
    virtual void setStoredToken(Calendar &calendar, const QString &token) const;
    // What a rejected token clears before the full fetch.
    virtual void clearStoredTokens(Calendar &calendar) const { setStoredToken(calendar, {}); }

    // The row written for a pulled change of a synced row: a source may keep fields of the
    // local row it does not carry itself (the local row comes without reminders and attendees).
    // By default the remote version as it came.
    virtual Event mergeRemote(const Event &local, const Event &remote) const;
    // Whether mergeRemote reads the local row's reminders and attendees (a source that does not
    // carry them): the row is then read with them first.
    virtual bool mergesChildRows() const { return false; }
    // The last version of the row both sides agreed on, read from what the row keeps of it (its
    // stored text); nullopt when the row keeps none. A pending row whose remote copy changed is
    // merged field by field against it; without it the local edit is kept whole.
    virtual std::optional<Event> agreedVersion(const Event &row) const;
    // Whether a pulled edit that meets a deletion here of an older version is taken in (the
    // deletion is dropped); by default the deletion is sent over it.
    virtual bool keepsEditOverDeletion() const { return false; }

    // The run's failure text when pushes of the calendar failed; by default the first reason.
    virtual QString pushFailureReason(int failedRows, const Error &first) const;
    // Why a synced calendar of the account is not synced: the source no longer lists it. Empty
    // (the default) passes over it without a word, for a source whose listing leaves out
    // calendars it keeps elsewhere.
    virtual QString missingCalendarReason(const Calendar &calendar) const;

    // The store's clock and read-only lookups; the engine gives them when it takes the provider
    // over, so a provider never holds the state itself.
    void setContext(const ProviderContext &context) { m_context = context; }

signals:
    // The source answered one request, whatever its status. A step may need many requests before
    // its callback (a page and the series in it): each answer shows the run is not silent.
    void heard();

protected:
    const ProviderContext &context() const { return m_context; }

private:
    ProviderContext m_context;
};

// The answer to a push of this row whose copy holds the series' cancelled dates as `sent`: where
// they differ from the row's, a successful receipt carries them.
[[nodiscard]] Reply<PushReceipt> withCancelledDates(Reply<PushReceipt> done, const Event &row,
                                                    const QString &sent);

} // namespace Sync
