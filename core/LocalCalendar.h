#pragma once

// Calendars kept on this device: the on-device account ("On This Device") with its "Personal"
// calendar, seeded while the user has no calendar of a "larkspindle" account, and the calendars
// the user adds to that account. Their ids are in model/Identifiers.h.

#include "model/Records.h"

#include <QDateTime>
#include <QString>

class AccountRepository;
class CalendarRepository;

namespace LocalCalendar {

// The on-device account with this id and name, created now.
[[nodiscard]] Account onDeviceAccount(const QString &id, const QString &name, const QDateTime &now);

// Seeds the on-device account and its Personal calendar (the default one) unless both exist or
// a calendar of an account of type "larkspindle" does. A failed insert is logged; false then.
bool ensurePersonal(AccountRepository *accounts, CalendarRepository *calendars,
                    const QDateTime &now);

// The name to show: the seeded account and calendar read in the interface language as long as
// they keep the name they were seeded with; every other name (a renamed one too) as stored. The
// seeded names are stored and synced in English ("On This Device", "Personal"), whatever the
// language of the device that seeded them.
[[nodiscard]] QString displayName(const Account &account);
[[nodiscard]] QString displayName(const Calendar &calendar);

// Makes sure a live account of type "larkspindle" exists to hold the cloud calendars about to be
// pulled: the on-device account is made when there is none. False (and a warning) when it could
// not be stored.
[[nodiscard]] bool ensureCloudCalendarHome(AccountRepository *accounts, const QDateTime &now);

// Adds a calendar to the on-device account, first making that account (named accountName) when
// it is missing. The new calendar's id, or empty when nothing could be stored.
[[nodiscard]] QString addCalendar(AccountRepository *accounts, CalendarRepository *calendars,
                                  const QString &name, const QString &color,
                                  const QString &accountName, const QDateTime &now);

} // namespace LocalCalendar
