#pragma once

// Importing the events of one ".ics" file into one calendar: all of them or none.

#include "model/Records.h"

#include <QList>
#include <QString>

class AppState;

struct IcsFileContents
{
    QList<Event> events;
    QString error; // why nothing can be imported from the file; empty when events were found
};

struct IcsImportResult
{
    bool ok = false;
    int imported = 0;
    QString message; // what the status bar says, success or not
};

// Largest file taken, far above any real calendar.
constexpr qint64 kMaxIcsFileBytes = 100 * 1024 * 1024;

// Reads and parses the file; a missing or unreadable file, anything but a regular file (a pipe
// would block, a device never ends), one over the size limit, or one without events gives an
// error.
IcsFileContents readIcsFile(const QString &path);

// Stores the events in the calendar, all or none; "fileName" names the source in the
// message.
IcsImportResult storeImportedEvents(AppState *state, QList<Event> events, const QString &calendarId,
                                    const QString &fileName);

// Both steps.
IcsImportResult importIcsFile(AppState *state, const QString &path, const QString &calendarId);
