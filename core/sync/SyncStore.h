#pragma once

// The part of the store a sync run works on: the connection (for its clock and all-or-nothing
// pages), the calendar, event and task repositories, and the conflict records. The engine and
// the provider context hold these and nothing else of the state.

#include "model/Records.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

class AppState;
class CalendarRepository;
class Database;
class EventRepository;
class TaskRepository;

namespace Sync {

class ConflictResolutionService;

struct SyncStore
{
    Database *database = nullptr;
    CalendarRepository *calendars = nullptr;
    EventRepository *events = nullptr;
    TaskRepository *tasks = nullptr;
    ConflictResolutionService *conflicts = nullptr; // may be null: conflicts go unrecorded

    // The repositories of a started state.
    static SyncStore of(const AppState &state);
};

// What a provider may read of the store while it runs, given by the engine: the time by the
// store's clock and the rows it needs to word its requests (a series' master, the rows a full
// listing no longer names). Writes are the engine's alone.
class ProviderContext
{
public:
    ProviderContext() = default;
    explicit ProviderContext(const SyncStore &store);

    // Now, in UTC, by the store's clock.
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
