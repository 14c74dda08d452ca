#include "services/sync/cloud/CalendarUpgradeService.h"

#include "core/AppState.h"
#include "core/sync/CalendarIdentity.h"
#include "core/sync/SyncEngine.h"
#include "services/account/ApiClient.h"
#include "services/net/RequestPolicy.h"
#include "services/sync/cloud/CloudItems.h"
#include "storage/AccountRepository.h"
#include "storage/AllOrNothing.h"
#include "storage/CalendarRepository.h"
#include "storage/Database.h"
#include "storage/EventRepository.h"
#include "storage/SqlHelpers.h"
#include "storage/TaskRepository.h"

#include <QJsonObject>
#include <QUuid>
#include <QtDebug>

namespace Larkspindle {

namespace {

const QString cloudType = QStringLiteral("larkspindle");
const QString synced = QStringLiteral("synced");

} // namespace

struct CalendarUpgradeService::Move
{
    struct Item
    {
        QString path;
        QJsonObject body;
        std::optional<Event> event;
        std::optional<Task> task;
        QString etag; // the service's tag once accepted
    };

    Calendar calendar;
    QString serverId;
    QString url;
    QString key;
    QList<Item> items;
    int next = 0;
    int inFlight = 0;
    int answered = 0;
    int failed = 0;
    int firstFailureStatus = 0;
};

CalendarUpgradeService::CalendarUpgradeService(AppState *appState, LarkAccount::ApiClient *api,
                                               QObject *parent)
    : QObject(parent)
    , m_appState(appState)
    , m_api(api)
{ }

QString CalendarUpgradeService::refusal(const Calendar &calendar) const
{
    const std::optional<Account> account = m_appState && m_appState->accounts()
        ? m_appState->accounts()->byId(calendar.account_id)
        : std::nullopt;
    if (!account)
        return tr("Calendar's account is missing");
    if (account->type != cloudType)
        return tr("Only Larkspindle-native calendars can be upgraded");
    if (calendar.url.startsWith(QLatin1String("larkspindle://")))
        return tr("Calendar is already on Larkspindle");
    if (m_moving.contains(calendar.id))
        return tr("This calendar is already being moved");
    if (!m_api)
        return tr("Not signed in");
    return QString();
}

void CalendarUpgradeService::upgradeCalendar(const Calendar &calendar)
{
    emit upgradeStarted(calendar.id);
    const QString refused = refusal(calendar);
    if (!refused.isEmpty()) {
        emit upgradeFailed(calendar.id, refused);
        return;
    }

    auto move = std::make_shared<Move>();
    move->calendar = calendar;
    move->serverId = QUuid::createUuid().toString(QUuid::WithoutBraces);
    move->url = cloudCalendarUrl(move->serverId);
    move->key = calendarIdentityKey(cloudType, move->url).value_or(QString());
    m_moving.insert(calendar.id);

    QJsonObject body;
    body.insert(QStringLiteral("id"), move->serverId);
    body.insert(QStringLiteral("name"), calendar.name);
    if (!calendar.description.isEmpty())
        body.insert(QStringLiteral("description"), calendar.description);
    body.insert(QStringLiteral("color"), calendar.color);
    body.insert(QStringLiteral("timezone"), calendar.timezone);

    const QPointer<CalendarUpgradeService> self(this);
    m_api->post(QStringLiteral("/calendars"), body,
                [self, move](bool ok, int status, const QJsonObject &) {
                    if (self)
                        self->onRegistered(move, ok, status);
                });
}

void CalendarUpgradeService::onRegistered(const std::shared_ptr<Move> &move, bool ok, int status)
{
    if (!ok) {
        fail(*move, Net::statusFailure(tr("Server registration failed (HTTP %1)"), status), false);
        return;
    }
    // What is in the calendar now is what moves; items added meanwhile follow with the next sync.
    const QString calendarId = move->calendar.id;
    for (const Event &event : m_appState->events()->listByCalendar(calendarId))
        move->items.append({cloudEventsPath(move->serverId), cloudEventObject(event, event.id),
                            event, std::nullopt, QString()});
    for (const Task &task : m_appState->tasks()->listByCalendar(calendarId))
        move->items.append({cloudTasksPath(move->serverId), cloudTaskObject(task, task.id),
                            std::nullopt, task, QString()});
    sendUploads(move);
}

void CalendarUpgradeService::sendUploads(const std::shared_ptr<Move> &move)
{
    if (!m_api) {
        // Signed out meanwhile: what was sent cannot be cleaned up either.
        fail(*move, tr("Not signed in"), false);
        return;
    }
    // After a failure nothing more is sent; the answers in flight are awaited.
    while (move->failed == 0 && move->inFlight < maxParallelUploads
           && move->next < move->items.size()) {
        const int index = move->next++;
        ++move->inFlight;
        const QPointer<CalendarUpgradeService> self(this);
        const Move::Item &item = move->items.at(index);
        m_api->post(item.path, item.body,
                    [self, move, index](bool ok, int status, const QJsonObject &reply) {
                        if (self)
                            self->onUploaded(move, index, ok, status,
                                             reply.value(QLatin1String("etag")).toString());
                    });
    }
    if (move->inFlight == 0)
        finish(move);
}

void CalendarUpgradeService::onUploaded(const std::shared_ptr<Move> &move, int index, bool ok,
                                        int status, const QString &etag)
{
    --move->inFlight;
    ++move->answered;
    Move::Item &item = move->items[index];
    if (ok) {
        item.etag = etag;
    } else {
        qWarning().noquote() << (item.event ? "[LarkUpgrade] event push failed:"
                                            : "[LarkUpgrade] task push failed:")
                             << QLatin1Char('"') + (item.event ? item.event->id : item.task->id)
                + QLatin1Char('"');
        if (move->failed++ == 0)
            move->firstFailureStatus = status;
    }
    emit upgradeProgress(move->calendar.id, move->answered, int(move->items.size()));
    sendUploads(move);
}

void CalendarUpgradeService::finish(const std::shared_ptr<Move> &move)
{
    if (move->failed > 0) {
        fail(*move,
             Net::statusFailure(
                 tr("Uploading the calendar failed (HTTP %1); it stays on this device"),
                 move->firstFailureStatus,
                 tr("Uploading the calendar failed: %1; it stays on this device")
                     .arg(Net::noAnswerText())),
             true);
        return;
    }
    if (!commit(*move)) {
        fail(*move,
             tr("The calendar could not be saved as a cloud calendar; it stays on this device"),
             true);
        return;
    }
    m_moving.remove(move->calendar.id);
    emit upgradeCompleted(move->calendar.id, move->serverId);
}

bool CalendarUpgradeService::commit(const Move &move)
{
    AccountRepository *accounts = m_appState->accounts();
    CalendarRepository *calendars = m_appState->calendars();
    EventRepository *events = m_appState->events();
    TaskRepository *tasks = m_appState->tasks();
    // Events and tasks stay quiet until the move is kept, then the calendar is announced once.
    const auto write = [&] {
        // The account row first: the calendar row refers to it.
        std::optional<Account> account = accounts->byId(move.calendar.account_id);
        if (!account)
            return false;
        account->type = cloudType;
        if (!accounts->update(*account))
            return false;
        // The row as it is now: a rename made during the upload is kept.
        std::optional<Calendar> calendar = calendars->byId(move.calendar.id);
        if (!calendar)
            return false;
        calendar->url = move.url;
        calendar->canonical_key = move.key;
        calendar->sync_enabled = true;
        calendar->updated_at = m_appState->database()->currentDateTimeUtc();
        if (!calendars->update(*calendar))
            return false;

        // Uploaded rows know their copy on the service, so the next sync neither sends them again
        // nor takes the service's copy for a competing edit. An edit made meanwhile stays pending.
        for (const Move::Item &item : move.items) {
            if (item.event) {
                std::optional<Event> current = events->byId(item.event->id);
                if (!current)
                    continue;
                const bool unchanged = Sync::sameLocalContent(*item.event, *current);
                current->provider_event_id = item.event->id;
                current->href = item.event->id;
                current->etag = item.etag;
                if (unchanged)
                    current->sync_status = synced;
                if (!events->update(*current))
                    return false;
            } else {
                const std::optional<Task> current = tasks->byId(item.task->id);
                if (!current)
                    continue;
                Task next = *current;
                next.href = item.task->id;
                next.etag = item.etag;
                if (Sync::sameLocalContent(*item.task, *current))
                    next.sync_status = synced;
                if (!tasks->update(next))
                    return false;
            }
        }
        return true;
    };
    return Sql::applyAllOrNothing(m_appState->database()->connection(),
                                  QStringLiteral("calendar_move"), {events, tasks}, write,
                                  [&] { events->notifyChanged(move.calendar.id); });
}

void CalendarUpgradeService::fail(const Move &move, const QString &reason, bool removeFromServer)
{
    m_moving.remove(move.calendar.id);
    if (removeFromServer && m_api) {
        // The half-filled calendar on the service would come back as a second copy with the
        // next calendar list.
        const QString serverId = move.serverId;
        m_api->deleteResource(
            cloudCalendarPath(serverId), [serverId](bool ok, int status, const QJsonObject &) {
                if (!ok)
                    qWarning().noquote() << "[LarkUpgrade] could not remove the unfinished calendar"
                                         << serverId << "from the service, HTTP" << status;
            });
    }
    emit upgradeFailed(move.calendar.id, reason);
}

} // namespace Larkspindle
