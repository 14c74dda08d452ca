#pragma once

// The part of the store a sync run works on: the connection (for its clock and all-or-nothing
// pages), the calendar, event and task repositories, and the conflict records. The engine and
// the provider context hold these and nothing else of the state.

class AppState;
class CalendarRepository;
class Database;
class EventRepository;
class TaskRepository;

namespace Sync {

class ConflictResolutionService;
class RunGate;

struct SyncStore
{
    Database *database = nullptr;
    CalendarRepository *calendars = nullptr;
    EventRepository *events = nullptr;
    TaskRepository *tasks = nullptr;
    ConflictResolutionService *conflicts = nullptr; // may be null: conflicts go unrecorded
    // Whether a calendar may be synced now (no import writes into it: a cancel takes its rows
    // back here, but not from the source once pushed; no other run syncs it). Never null.
    RunGate *gate = nullptr;

    // The repositories and the sync gate of a state.
    static SyncStore of(const AppState &state);
};

} // namespace Sync
