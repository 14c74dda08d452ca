#pragma once

// The system's file calls that the layers above need, behind plain functions, so that nothing
// above this layer includes the system's headers.

#include <QString>

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
// Opens path for reading into file when what it names is a regular file; opening a pipe or a
// device never waits for a writer. size is what was opened's size; error the system's reason
// when it failed.
[[nodiscard]] RegularFileOpen openRegularFile(QFile &file, const QString &path, qint64 *size,
                                              QString *error);
