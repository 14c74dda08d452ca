#pragma once

// Ids of rows made on this device.

#include <QString>

// The on-device account and its Personal calendar, seeded with these same ids on every machine
// so that the cloud and the configuration sync recognise them.
inline const QString kOnDeviceAccountId = QStringLiteral("personal-local-account");
inline const QString kPersonalCalendarId = QStringLiteral("larkspindle-personal-default");

// A new row id: a UUID without braces. Every id the program makes for a new row comes from here.
[[nodiscard]] QString newId();
// The same, but sorting after the ids made before it (its first digits are the time): the rows of
// a large import then go to the end of the id indexes, and each commit rewrites a few of their
// pages instead of most of them.
[[nodiscard]] QString newOrderedId();
