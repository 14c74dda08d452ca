#pragma once

// The system's file calls that the layers above need, behind plain functions, so that nothing
// above this layer includes the system's headers.

#include <QString>
#include <QStringList>

class QFile;

// The calendar is for its owner's eyes only. Creates the file 0600 when it is missing (never
// through a link) and narrows an existing regular file to 0600. False when it cannot be made
// private.
bool makeFilePrivate(const QString &path);
// Narrows the files SQLite keeps beside a database ("-wal", "-shm", "-journal") to 0600, by path
// only: opening and closing a file that SQLite holds open would drop its locks (POSIX locks
// belong to the process, not the descriptor), and another process would then take the
// write-ahead log from under the connection.
void makeDatabaseSideFilesPrivate(const QString &databasePath);

enum class RegularFileOpen { Opened, NotRegular, Failed };
enum class FileLinks { Follow, Refuse };
// Opens path for reading into file when what it names is a regular file; opening a pipe or a
// device never waits for a writer. size is what was opened's size; error the system's reason
// when it failed (also when path is a link and links are refused).
[[nodiscard]] RegularFileOpen openRegularFile(QFile &file, const QString &path, qint64 *size,
                                              QString *error, FileLinks links = FileLinks::Follow);

// The first of paths that is a link, empty when none is: a link could lead what the program
// writes to its own files anywhere the user may write.
[[nodiscard]] QString firstLink(const QStringList &paths);

// Replaces path with bytes whole or not at all: they go to a new private file (0600) beside it
// that is written, flushed to the disk and closed, each step checked to its end (a full disk
// can show at any of them), and only then renamed over path. A link at path is replaced, never
// written through. False, with the system's reason, when any step failed; path is then as it
// was and nothing is left beside it.
[[nodiscard]] bool replaceFileWhole(const QString &path, const QByteArray &bytes, QString *error);

// Renames path to "<path>.damaged-<UTC time>" beside it, never over another file, so that a
// file the program cannot read is neither lost nor written over. The new path; empty, with the
// system's reason, when it could not be moved.
[[nodiscard]] QString keepFileAside(const QString &path, QString *error);
