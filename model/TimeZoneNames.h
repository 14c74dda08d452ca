#pragma once

// Zone names as iCalendar texts give them in a TZID, turned into zones the system knows.

#include <QString>
#include <QTimeZone>

#include <optional>

// The zone a TZID parameter names, when the system knows it: an IANA id (also behind a path
// prefix such as "/example.org/20050125_1/Europe/Berlin"), a Windows zone name, or a POSIX
// rule that states an offset. A bare word is none of these, whatever the zone library makes of it.
[[nodiscard]] std::optional<QTimeZone> knownTimeZone(const QString &tzid);
