#pragma once

// Turns the calendars a discovery found into calendar rows of a CalDAV-family account.

#include "services/sync/caldav/CalDavParse.h"

#include <QList>
#include <QString>

class AppState;

// Updates the account's calendars that have the same URL (or, failing that, the same identity
// key) and inserts the others, sync enabled. Returns how many were inserted: 0 for an empty id
// or list, and for an account that does not exist (or was removed).
int importDiscoveredCalendars(AppState *state, const QString &accountId,
                              const QList<CalDavParse::DiscoveredCalendar> &calendars);
