#pragma once

// An in-memory calendar source for the sync core: calendars, events and tasks with entity tags,
// a change counter behind the tokens, pages of a set size, and failures injected per call. The
// state lives in FakeSyncRemote; FakeSyncProvider answers the engine from it a turn of the
// event loop later, as a network source would.

#include "core/sync/SyncProvider.h"
#include "model/Records.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace LarkTest {

class FakeSyncRemote
{
public:
    // Prepare: the run's first step (a sign-in renewal), answered without calling the source.
    enum class Call { ListCalendars, Fetch, Push, Prepare };

    // A calendar of the source; its local url is "fake://" and the id.
    QString addCalendar(const QString &name);
    static QString urlOf(const QString &calendarId);

    // Changes made at the source by someone else. They return false for an unknown id.
    QString putEvent(const QString &calendarId, Event event);
    bool editEvent(const QString &remoteId, const std::function<void(Event &)> &edit);
    bool removeEvent(const QString &remoteId);
    QString putTask(const QString &calendarId, Task task);

    // The live items of a calendar, in creation order; provider_event_id (href for tasks) and
    // etag carry the source's id and tag.
    QList<Event> events(const QString &calendarId) const;
    QList<Task> tasks(const QString &calendarId) const;

    // Items per page of a fetch.
    int pageSize = 50;
    // When set, every page names a next one: round a cycle of this many tokens, or (0) a new
    // token each time, as a broken server does.
    std::optional<int> endlessPages;
    // Every token handed out so far is refused with ErrorKind::Gone from now on.
    void expireTokens() { m_oldestToken = m_seq + 1; }
    // The call fails with the kind `times` times, after `skip` calls that succeed. A push failing
    // with NotFound or Gone finds the item really removed by someone else just before.
    // A failure may ask not to be called again before retryAfter.
    void failNext(Call call, Sync::ErrorKind kind, int skip = 0, int times = 1,
                  const QDateTime &retryAfter = QDateTime());
    // The change at this position of the next fetch's listing (over all its pages) arrives
    // unreadable, once.
    void breakChangeAt(int position) { m_breakAt = position; }
    // The tokens the fetched pages carried, in order.
    QStringList issuedTokens;
    // Runs after the source applied a push and before its answer arrives.
    std::function<void(const QString &remoteId)> beforePushAnswer;
    // How long every answer takes to arrive.
    int answerDelayMs = 0;
    // Answers to calls of this kind are applied here but kept back until releaseHeld().
    std::optional<Call> holdAnswersTo;
    void hold(std::function<void()> answer) { m_held.append(std::move(answer)); }
    int heldAnswers() const { return int(m_held.size()); }
    void releaseHeld();
    int calls(Call call) const { return m_calls.value(int(call)); }
    // The event as it was when it carried this etag (a source that keeps its versions).
    std::optional<Event> version(const QString &remoteId, const QString &etag) const;

    // The source's side of the provider calls.
    Sync::Outcome<QList<Calendar>> listCalendars();
    Sync::Outcome<Sync::ChangePage> fetch(const Calendar &calendar,
                                          const Sync::FetchRequest &request);
    Sync::Outcome<Sync::PushReceipt> push(const Calendar &calendar, Sync::ChangeKind kind,
                                          const QString &remoteId, const QString &etag,
                                          const Event *event, const Task *task);

private:
    struct Item
    {
        QString remoteId;
        QString calendarId;
        QString etag;
        qint64 changed = 0;
        bool deleted = false;
        bool isTask = false;
        Event event;
        Task task;
    };
    struct Failure
    {
        Call call;
        Sync::ErrorKind kind;
        int skip;
        int times;
        QDateTime retryAfter;
    };

    template<typename Row> QList<Row> live(const QString &calendarId) const;
    std::optional<Sync::Error> injected(Call call);
    Item *find(const QString &remoteId);
    void touch(Item &item);
    QString store(const QString &calendarId, const Event *event, const Task *task);

    QList<std::pair<QString, QString>> m_calendars; // id, name
    QList<Item> m_items;
    qint64 m_seq = 0;
    qint64 m_oldestToken = 0;
    int m_nextId = 0;
    int m_breakAt = -1;
    QList<Failure> m_failures;
    QHash<int, int> m_calls;
    QHash<QString, Event> m_versions; // remote id + "\n" + etag
    QList<std::function<void()>> m_held;
};

class FakeSyncProvider : public Sync::SyncProvider
{
    Q_OBJECT
public:
    explicit FakeSyncProvider(FakeSyncRemote *remote, QObject *parent = nullptr);

    void prepare(Sync::Reply<> done) override;
    void listCalendars(Sync::Reply<QList<Calendar>> done) override;
    void fetchChanges(const Calendar &calendar, const Sync::FetchRequest &request,
                      Sync::Reply<Sync::ChangePage> done) override;
    void pushEvent(const Calendar &calendar, Sync::ChangeKind kind, const Event &event,
                   Sync::Reply<Sync::PushReceipt> done) override;
    bool syncsTasks() const override { return true; }
    std::optional<Event> agreedVersion(const Event &row) const override;
    void pushTask(const Calendar &calendar, Sync::ChangeKind kind, const Task &task,
                  Sync::Reply<Sync::PushReceipt> done) override;

private:
    template<typename T>
    void answer(FakeSyncRemote::Call call, Sync::Reply<T> done, Sync::Outcome<T> outcome);
    void deliver(FakeSyncRemote::Call call, std::function<void()> answer);

    FakeSyncRemote *m_remote;
};

} // namespace LarkTest
