#pragma once

#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <optional>

// Freedesktop desktop entries, autostart entries and the user's default applications: what the
// program writes on Linux for launch at login and for opening ".ics" files.
namespace DesktopEntry {

// One argument of an Exec line, quoted when it needs to be (or always, with forceQuotes), with the
// characters that are special inside quotes escaped and literal "%" doubled.
QString execArgument(const QString &argument, bool forceQuotes = false);

// Escapes a value for a key file line: backslash, line feed, tab and carriage return.
QString escapeValue(const QString &value);
QString unescapeValue(const QString &value);

// Writes a "[Desktop Entry]" group with the given keys, atomically; false when it could not.
[[nodiscard]] bool write(const QString &path, const QList<QPair<QString, QString>> &keys);

// The unescaped keys of the file's "[Desktop Entry]" group; no value when the file cannot be read.
std::optional<QHash<QString, QString>> read(const QString &path);

// Makes desktopId the user's default application for mimeType in a mimeapps.list file when the
// file names no default for it yet, keeping every other line. A default already set, the user's
// or ours, is left alone. False when the file cannot be read or written.
[[nodiscard]] bool setDefaultApplicationIfUnset(const QString &mimeappsPath,
                                                const QString &mimeType, const QString &desktopId);

} // namespace DesktopEntry
