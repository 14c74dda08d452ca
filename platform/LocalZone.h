#pragma once

#include <QByteArray>

// Local time without a file check per conversion. With TZ unset, the C library looks at the
// system zone file again for every local-time conversion, which dominates views full of
// local-time series. Naming the system zone in TZ lets it keep the zone it read.
namespace LocalZone {

// With TZ unset, sets it to the system zone's name (as /etc/localtime or /etc/timezone give
// it). Call once at start, before any thread runs. A TZ the user set is left alone.
void pin();

// Pins the system zone again when it changed since pin() (the user moved to another zone);
// true when it did. Does nothing unless pin() set TZ.
bool refresh();

// The system zone's name without looking at TZ; empty when it cannot be told.
[[nodiscard]] QByteArray systemZoneName();

} // namespace LocalZone
