#include "support/FakeSyncRemote.h"

#include <QTimer>

#include <utility>

#include <algorithm>
#include <type_traits>

namespace LarkTest {

using Sync::ChangeKind;
using Sync::ErrorKind;

namespace {

const QString kScheme = QStringLiteral("fake://");
const QString kTokenPrefix = QStringLiteral("t");
const QString kPagePrefix = QStringLiteral("p");

// "t12" -> 12; -1 for anything else.
qint64 numberAfter(const QString &prefix, const QString &text)
{
    if (!text.startsWith(prefix))
        return -1;
    bool ok = false;
    const qint64 n = text.mid(prefix.size()).toLongLong(&ok);
    return ok ? n : -1;
}

} // namespace

QString FakeSyncRemote::addCalendar(const QString &name)
{
    const QString id = QStringLiteral("cal") + QString::number(m_calendars.size() + 1);
    m_calendars.append({id, name});
    return id;
}

QString FakeSyncRemote::urlOf(const QString &calendarId)
{
    return kScheme + calendarId;
}

void FakeSyncRemote::touch(Item &item)
{
    item.changed = ++m_seq;
    item.etag = QStringLiteral("e") + QString::number(item.changed);
    if (!item.isTask && !item.deleted)
        m_versions.insert(item.remoteId + QLatin1Char('\n') + item.etag, item.event);
}

std::optional<Event> FakeSyncRemote::version(const QString &remoteId, const QString &etag) const
{
    const auto it = m_versions.constFind(remoteId + QLatin1Char('\n') + etag);
    return it == m_versions.cend() ? std::nullopt : std::optional<Event>(*it);
}

QString FakeSyncRemote::store(const QString &calendarId, const Event *event, const Task *task)
{
    Item item;
    item.remoteId = QStringLiteral("r") + QString::number(++m_nextId);
    item.calendarId = calendarId;
    item.isTask = task != nullptr;
    if (event)
        item.event = *event;
    if (task)
        item.task = *task;
    touch(item);
    m_items.append(item);
    return item.remoteId;
}

QString FakeSyncRemote::putEvent(const QString &calendarId, Event event)
{
    return store(calendarId, &event, nullptr);
}

QString FakeSyncRemote::putTask(const QString &calendarId, Task task)
{
    return store(calendarId, nullptr, &task);
}

FakeSyncRemote::Item *FakeSyncRemote::find(const QString &remoteId)
{
    for (Item &item : m_items) {
        if (item.remoteId == remoteId && !item.deleted)
            return &item;
    }
    return nullptr;
}

bool FakeSyncRemote::editEvent(const QString &remoteId, const std::function<void(Event &)> &edit)
{
    Item *item = find(remoteId);
    if (!item)
        return false;
    edit(item->event);
    touch(*item);
    return true;
}

bool FakeSyncRemote::removeEvent(const QString &remoteId)
{
    Item *item = find(remoteId);
    if (!item)
        return false;
    item->deleted = true;
    touch(*item);
    return true;
}

template<typename Row> QList<Row> FakeSyncRemote::live(const QString &calendarId) const
{
    constexpr bool tasks = std::is_same_v<Row, Task>;
    QList<Row> out;
    for (const Item &item : m_items) {
        if (item.calendarId != calendarId || item.deleted || item.isTask != tasks)
            continue;
        Row row;
        if constexpr (tasks) {
            row = item.task;
            row.href = item.remoteId;
        } else {
            row = item.event;
            row.provider_event_id = item.remoteId;
        }
        row.etag = item.etag;
        out.append(row);
    }
    return out;
}

QList<Event> FakeSyncRemote::events(const QString &calendarId) const
{
    return live<Event>(calendarId);
}

QList<Task> FakeSyncRemote::tasks(const QString &calendarId) const
{
    return live<Task>(calendarId);
}

void FakeSyncRemote::failNext(Call call, Sync::ErrorKind kind, int skip, int times,
                              const QDateTime &retryAfter)
{
    m_failures.append({call, kind, skip, times, retryAfter});
}

void FakeSyncRemote::releaseHeld()
{
    for (const std::function<void()> &answer : std::exchange(m_held, {}))
        answer();
}

std::optional<Sync::Error> FakeSyncRemote::injected(Call call)
{
    ++m_calls[int(call)];
    for (qsizetype i = 0; i < m_failures.size(); ++i) {
        Failure &f = m_failures[i];
        if (f.call != call)
            continue;
        if (f.skip > 0) {
            --f.skip;
            return std::nullopt;
        }
        const Sync::Error error {f.kind, QStringLiteral("injected failure"), f.retryAfter};
        if (--f.times < 1)
            m_failures.removeAt(i);
        return error;
    }
    return std::nullopt;
}

Sync::Outcome<QList<Calendar>> FakeSyncRemote::listCalendars()
{
    if (const std::optional<Sync::Error> error = injected(Call::ListCalendars))
        return Sync::Outcome<QList<Calendar>>::failure(*error);
    QList<Calendar> out;
    for (const auto &[id, name] : std::as_const(m_calendars)) {
        Calendar c;
        c.url = urlOf(id);
        c.name = name;
        c.supported_components = QStringLiteral("[\"VEVENT\",\"VTODO\"]");
        out.append(c);
    }
    return Sync::Outcome<QList<Calendar>>::success(out);
}

Sync::Outcome<Sync::ChangePage> FakeSyncRemote::fetch(const Calendar &calendar,
                                                      const Sync::FetchRequest &request)
{
    using Result = Sync::Outcome<Sync::ChangePage>;
    if (const std::optional<Sync::Error> error = injected(Call::Fetch))
        return Result::failure(*error);
    const QString calendarId = calendar.url.mid(kScheme.size());
    const bool full = request.token.isEmpty();
    const qint64 since = full ? 0 : numberAfter(kTokenPrefix, request.token);
    if (since < 0 || (!full && since < m_oldestToken))
        return Result::failure(ErrorKind::Gone, QStringLiteral("token expired"));
    const qint64 offset
        = request.pageToken.isEmpty() ? 0 : numberAfter(kPagePrefix, request.pageToken);
    if (offset < 0)
        return Result::failure(ErrorKind::Malformed, QStringLiteral("bad page token"));

    // Changes in the order they were made: a page's last change is where a later fetch resumes.
    QList<const Item *> changes;
    for (const Item &item : m_items) {
        if (item.calendarId == calendarId && item.changed > since && !(full && item.deleted))
            changes.append(&item);
    }
    std::sort(changes.begin(), changes.end(),
              [](const Item *a, const Item *b) { return a->changed < b->changed; });

    Sync::ChangePage page;
    const qsizetype end = std::min<qsizetype>(changes.size(), offset + pageSize);
    for (qsizetype i = offset; i < end; ++i) {
        const Item &item = *changes.at(i);
        const QString unreadable
            = i == m_breakAt ? QStringLiteral("item could not be read") : QString();
        if (item.isTask)
            page.tasks.append({item.remoteId, item.etag, item.deleted, item.task, unreadable});
        else
            page.events.append({item.remoteId, item.etag, item.deleted, item.event, unreadable});
    }
    if (m_breakAt >= offset && m_breakAt < end)
        m_breakAt = -1;
    if (end < changes.size()) {
        page.nextPageToken = kPagePrefix + QString::number(end);
        page.token = kTokenPrefix + QString::number(changes.at(end - 1)->changed);
    } else {
        page.token = kTokenPrefix + QString::number(m_seq);
    }
    if (endlessPages)
        page.nextPageToken = kPagePrefix
            + QString::number(*endlessPages ? offset % *endlessPages + 1 : offset + 1);
    issuedTokens << page.token;
    return Result::success(page);
}

Sync::Outcome<Sync::PushReceipt> FakeSyncRemote::push(const Calendar &calendar, ChangeKind kind,
                                                      const QString &remoteId, const QString &etag,
                                                      const Event *event, const Task *task)
{
    using Result = Sync::Outcome<Sync::PushReceipt>;
    if (const std::optional<Sync::Error> error = injected(Call::Push)) {
        const bool removed = error->kind == ErrorKind::NotFound || error->kind == ErrorKind::Gone;
        if (removed && kind != ChangeKind::Create)
            removeEvent(remoteId);
        return Result::failure(*error);
    }
    if (kind == ChangeKind::Create) {
        const QString id = store(calendar.url.mid(kScheme.size()), event, task);
        return Result::success({id, find(id)->etag, QString(), QString()});
    }
    Item *item = find(remoteId);
    if (!item)
        return Result::failure(ErrorKind::NotFound, QStringLiteral("no such item"));
    if (item->etag != etag)
        return Result::failure(ErrorKind::Conflict, QStringLiteral("changed at the source"));
    if (kind == ChangeKind::Delete) {
        item->deleted = true;
        touch(*item);
        return Result::success({});
    }
    if (event)
        item->event = *event;
    if (task)
        item->task = *task;
    touch(*item);
    return Result::success({QString(), item->etag, QString(), QString()});
}

FakeSyncProvider::FakeSyncProvider(FakeSyncRemote *remote, QObject *parent)
    : Sync::SyncProvider(parent)
    , m_remote(remote)
{ }

void FakeSyncProvider::deliver(FakeSyncRemote::Call call, std::function<void()> answer)
{
    if (m_remote->holdAnswersTo == call)
        m_remote->hold(std::move(answer));
    else
        QTimer::singleShot(m_remote->answerDelayMs, this, std::move(answer));
}

template<typename T>
void FakeSyncProvider::answer(FakeSyncRemote::Call call, Sync::Reply<T> done,
                              Sync::Outcome<T> outcome)
{
    deliver(call, [done = std::move(done), outcome = std::move(outcome)] { done(outcome); });
}

void FakeSyncProvider::prepare(Sync::Reply<> done)
{
    answer(FakeSyncRemote::Call::Prepare, std::move(done), Sync::Outcome<>::success());
}

void FakeSyncProvider::listCalendars(Sync::Reply<QList<Calendar>> done)
{
    answer(FakeSyncRemote::Call::ListCalendars, std::move(done), m_remote->listCalendars());
}

void FakeSyncProvider::fetchChanges(const Calendar &calendar, const Sync::FetchRequest &request,
                                    Sync::Reply<Sync::ChangePage> done)
{
    answer(FakeSyncRemote::Call::Fetch, std::move(done), m_remote->fetch(calendar, request));
}

void FakeSyncProvider::pushEvent(const Calendar &calendar, Sync::ChangeKind kind,
                                 const Event &event, Sync::Reply<Sync::PushReceipt> done)
{
    const auto outcome
        = m_remote->push(calendar, kind, event.provider_event_id, event.etag, &event, nullptr);
    const QString id = outcome.ok() && !outcome.value().remoteId.isEmpty()
        ? outcome.value().remoteId
        : event.provider_event_id;
    FakeSyncRemote *remote = m_remote;
    deliver(FakeSyncRemote::Call::Push, [remote, id, done = std::move(done), outcome] {
        if (remote->beforePushAnswer)
            remote->beforePushAnswer(id);
        done(outcome);
    });
}

std::optional<Event> FakeSyncProvider::agreedVersion(const Event &row) const
{
    return m_remote->version(row.provider_event_id, row.etag);
}

void FakeSyncProvider::pushTask(const Calendar &calendar, Sync::ChangeKind kind, const Task &task,
                                Sync::Reply<Sync::PushReceipt> done)
{
    answer(FakeSyncRemote::Call::Push, std::move(done),
           m_remote->push(calendar, kind, task.href, task.etag, nullptr, &task));
}

} // namespace LarkTest
