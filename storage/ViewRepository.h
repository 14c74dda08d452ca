#pragma once

#include "model/Records.h"

#include <QList>
#include <QObject>
#include <QStringList>

#include <optional>

class Database;

// The calendar groups that decide which calendars the views show. The built-in group
// "all-calendars" is an ordinary row whose default flag lists it first. Removal leaves a pending
// tombstone for the configuration sync. An edit is dated now, or at the stored time when that is
// later (a copy from another device may be dated ahead of this clock).
class ViewRepository : public QObject
{
    Q_OBJECT
public:
    explicit ViewRepository(Database *db, QObject *parent = nullptr);

    // Default group first, then by sort order and name.
    QList<CalendarView> listActive() const;
    // The same order, tombstones included.
    QList<CalendarView> listAll() const;
    // Tombstones included.
    std::optional<CalendarView> byId(const QString &id) const;

    bool insert(const CalendarView &view);
    bool update(const CalendarView &view);
    bool remove(const QString &id);
    bool hardDelete(const QString &id);
    // Writes the group exactly as given, its times included, over any row with its id (live or
    // tombstone): a group as another device last wrote it.
    bool storeSynced(const CalendarView &view);
    // Sort keys 10, 20, 30 ... in list order, all or nothing.
    bool reorder(const QStringList &ids);

signals:
    void viewsChanged();

private:
    QList<CalendarView> list(const QString &sql, const QStringList &values,
                             const char *logName) const;

    Database *m_db;
};
