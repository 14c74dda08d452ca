#pragma once

#include <QString>

// Where the user's data lives, which instance is running, and how the program registers itself
// with the desktop. Every call reads the environment again; nothing is cached.

// CALENDAR_DATA_DIR when set, else <generic data location>/Larkspindle/Calendar; created (with
// its parents) on every call. The path is returned even when it could not be created.
QString dataDirectory();
QString databasePath();

// CALENDAR_INSTANCE decoded as UTF-8; empty when it is not set.
QString instanceName();
// CALENDAR_INSTANCE is exactly "dev".
bool isDevInstance();

// "com.larkspindle.calendar", with "." and the instance name when one is set. The credential
// store's service name and the cloud account's application id.
QString applicationIdentifier();
// "LarkspindleCalendar", with "-" and the instance name when one is set.
QString launchAtLoginValueName();

// The autostart entry: <config>/autostart/<launchAtLoginValueName>.desktop.
QString launchAtLoginEntryPath();
// The entry exists, has a command and is not switched off.
bool isLaunchAtLoginEnabled();
// Writes the autostart entry (running the program with "--background") or removes it. True
// when the entry is now as asked.
[[nodiscard]] bool setLaunchAtLogin(bool enabled);
[[nodiscard]] bool setLaunchAtLogin(bool enabled, const QString &programPath);

// The desktop entry that opens text/calendar files:
// <data>/applications/LarkspindleCalendar.desktop.
QString icsDesktopEntryPath();
// The user's default applications: <config>/mimeapps.list.
QString mimeAppsListPath();
// Writes the desktop entry (running the program with "--ics" and the file) and makes it the
// user's default for text/calendar. True when both were written.
[[nodiscard]] bool registerIcsFileAssociation();
[[nodiscard]] bool registerIcsFileAssociation(const QString &programPath);
