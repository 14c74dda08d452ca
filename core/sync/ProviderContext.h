#pragma once

#include "core/sync/SyncStore.h"
#include "model/Records.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

namespace Sync {

// What a provider may read of the store while it runs, given by the engine: the time by the
// program's clock and the rows it needs to word its requests (a series' master, the rows a full
// listing no longer names), without their reminders and attendees. Writes are the engine's alone.
class ProviderContext
{
public:
    ProviderContext() = default;
    explicit ProviderContext(const SyncStore &store);

    // Now, in UTC, by the program's clock.
    QDateTime now() const;
    QList<Calendar> calendars() const;
    QList<Event> eventsOf(const QString &calendarId) const;
    std::optional<Event> eventByProviderId(const QString &calendarId,
                                           const QString &providerEventId) const;
    std::optional<Event> eventByUid(const QString &uid, const QString &calendarId,
                                    const QString &recurrenceId) const;

private:
    SyncStore m_store;
};

} // namespace Sync
