#pragma once

// The part of the store a sync run works on: the connection (for its clock and all-or-nothing
// pages), the calendar, event and task repositories, and the conflict records. The engine and
// the provider context hold these and nothing else of the state.

#include <QString>

#include <functional>

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
    // True while a calendar must be left alone (an import is writing into it: a cancel takes
    // its rows back here, but not from the source once pushed); may be empty: nothing is held.
    std::function<bool(const QString &calendarId)> held;

    // The repositories of a started state, and its imports as the hold.
    static SyncStore of(const AppState &state);
};

} // namespace Sync
