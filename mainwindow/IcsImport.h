#pragma once

// Importing the events of one ".ics" file into one calendar: all of them or none.

#include <QString>

class AppState;

struct IcsImportResult
{
    bool ok = false;
    int imported = 0;
    QString message; // what the status bar says, success or not
};

IcsImportResult importIcsFile(AppState *state, const QString &path, const QString &calendarId);
