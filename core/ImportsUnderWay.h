#pragma once

// The calendars an import is writing into. No sync run may touch one meanwhile: a cancel takes
// the imported rows back here, but not from the source once they were pushed, and a remote
// change written into the calendar now would be undone by that take-back. The import job marks
// its calendar itself, so every way of starting one holds sync off.

#include <QHash>
#include <QObject>
#include <QString>

class ImportsUnderWay : public QObject
{
    Q_OBJECT
public:
    explicit ImportsUnderWay(QObject *parent = nullptr);

    // Imports nest per calendar; every begin is ended once the import finished or was taken back.
    void beginImportInto(const QString &calendarId);
    void endImportInto(const QString &calendarId);
    bool isImportingInto(const QString &calendarId) const
    {
        return m_importing.contains(calendarId);
    }

signals:
    void importsChanged();

private:
    QHash<QString, int> m_importing; // calendar id -> imports under way
};
