#pragma once

#include "core/IcsImport.h"

#include <QByteArray>
#include <QString>

class Store;

namespace LarkTest {

// A path to hand to the import that is no plain calendar file: "pipe" (a FIFO made in the
// folder), "large" (a sparse file just over the import limit, made in the folder), or any other
// kind taken as the path itself (e.g. "/dev/zero"). Empty when it could not be made.
QString unusualIcsFile(const QString &kind, const QString &folder);

// A calendar of count events many-0, many-1, ... titled title, each an hour on 1 March 2024; with
// withoutStartEvery, every so many of them (from the first) have no start.
QByteArray manyEvents(int count, const char *title, int withoutStartEvery = 0);

// Runs the job to its end from the event loop, as the window does; the result it ended with.
IcsImportResult runImport(IcsImportJob &job);
IcsImportResult importFile(const Store &store, const QString &path, const QString &calendarId);

// Another program holds the file's write lock for ms from now; false when it could not take it.
bool holdWriteLock(const QString &databasePath, int ms);

} // namespace LarkTest
