#include "core/sync/ProviderContext.h"

#include "model/Clock.h"
#include "storage/CalendarRepository.h"
#include "storage/EventRepository.h"

namespace Sync {

namespace {
// Providers word requests from a row's own fields; its reminders and attendees stay unread.
constexpr auto without = EventRepository::WithChildRows::No;
} // namespace

ProviderContext::ProviderContext(const SyncStore &store)
    : m_store(store)
{ }

QDateTime ProviderContext::now() const
{
    return Clock::nowUtc();
}

QList<Calendar> ProviderContext::calendars() const
{
    return m_store.calendars ? m_store.calendars->listAll() : QList<Calendar>();
}

QList<Event> ProviderContext::eventsOf(const QString &calendarId) const
{
    return m_store.events ? m_store.events->listByCalendar(calendarId, without) : QList<Event>();
}

std::optional<Event> ProviderContext::eventByProviderId(const QString &calendarId,
                                                        const QString &providerEventId) const
{
    return m_store.events ? m_store.events->byProviderId(calendarId, providerEventId, without)
                          : std::nullopt;
}

std::optional<Event> ProviderContext::eventByUid(const QString &uid, const QString &calendarId,
                                                 const QString &recurrenceId) const
{
    return m_store.events
        ? m_store.events->byUidAndRecurrenceId(uid, calendarId, recurrenceId, without)
        : std::nullopt;
}

} // namespace Sync
