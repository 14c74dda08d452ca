#pragma once

#include "model/Records.h"

#include <QList>
#include <QObject>
#include <QStringList>

#include <optional>

class Database;
namespace Sql {
class Reader;
}

// A stored colour as "#" and 3, 6 or 8 hexadecimal digits; anything else is the default blue.
QString normalizeCalendarColor(const QString &color);

// The calendars table. Calendars are deleted outright; their events and tasks go first.
class CalendarRepository : public QObject
{
    Q_OBJECT
public:
    explicit CalendarRepository(Database *db, QObject *parent = nullptr);

    QList<Calendar> listAll() const;
    QList<Calendar> listByAccount(const QString &accountId) const;
    std::optional<Calendar> byId(const QString &id) const;

    bool insert(const Calendar &calendar);
    // Dates the user's choice (name, colour, visibility, order, cloud sync) now when it changed,
    // in preferences_changed_at: or at the stored date when another device dated it ahead of
    // this clock, so an edit is never older than the copy it changed. The configuration sync
    // settles the devices' copies by that date.
    bool update(const Calendar &calendar);
    // Writes the row as given, the date of the user's choice included: for what a sync brings.
    bool storeSynced(const Calendar &calendar);
    bool remove(const QString &id);
    // Makes this calendar the only default one.
    bool setDefault(const QString &id);
    // Deletes the calendars whose id begins with prefix (compared as SQL's LIKE does, ignoring
    // ASCII case); their events and tasks must be gone first. Returns how many went.
    int purgeByIdPrefix(const QString &prefix);

signals:
    void calendarsChanged();

private:
    QList<Calendar> list(const QString &sql, const QStringList &values, const char *logName) const;
    static Calendar readRow(const Sql::Reader &r);
    bool write(const Calendar &calendar, const std::optional<QDateTime> &preferencesChangedAt);

    Database *m_db;
};
