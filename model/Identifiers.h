#pragma once

// Ids of rows made on this device.

#include <QString>

// A new row id: a UUID without braces. Every id the program makes for a new row comes from here.
[[nodiscard]] QString newId();
