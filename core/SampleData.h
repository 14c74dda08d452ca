#pragma once

// A small, realistic set of calendars, events and tasks around today, for trying the views.
// Every sample row is known by its id alone ("sample-account", "sample-cal-", "sample-event-",
// "sample-task-"), which is all clear relies on.

#include <QDate>

class Store;

namespace SampleData {

// Calendars, events and tasks inserted by this call (the account is not counted); rows that
// already exist, tombstones included, are skipped. 0 when the sample account cannot be had.
int seed(const Store &store);
// The same with "today" given, so a caller can place the set on any day.
int seed(const Store &store, const QDate &today);

// Deletes every sample row for good and returns how many calendars, events and tasks went, so
// that it matches what seed reported.
int clear(const Store &store);

} // namespace SampleData
