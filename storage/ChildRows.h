#pragma once

// Child rows (reminders, attendees) of events and tasks: reading them for many owners at once
// and writing them for one owner.

#include "model/Records.h"
#include "storage/SqlHelpers.h"
#include "storage/SqlReader.h"
#include "storage/StatementCache.h"

#include <QHash>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace Sql {

// Child rows keep their id only when they already belong to this owner; rows copied from
// another owner (a duplicate, a split series) get fresh ids instead of colliding.
QString childId(const QString &id, const QString &recordOwnerId, const QString &ownerId);

// Reminder rows of events and tasks share their shape:
// (id, owner id, minutes_before, action, acknowledged, trigger_time).
Reminder readReminderRow(const Reader &r);
// The same, with the action shared among the rows of one read.
Reminder readReminderRowSharing(const Reader &r, SharedTexts &texts);

// The values of one child row in the order of its table's columns, as they are bound.
using RowValues = QVariantList;

// The values a reminder row is written with: (id, owner id, minutes_before, action,
// acknowledged, trigger_time). ownerOf names the record field holding the owner the reminder
// came from.
RowValues reminderRowValues(const QString &ownerId, const Reminder &reminder,
                            QString Reminder::*ownerOf, const QVariant &triggerTime);

// The child rows of one owner in the order they were written, with the columns listed (read as
// readRowValues reads them); no value when the read failed.
std::optional<QList<RowValues>> readOwnedRows(StatementCache &cache, const QString &table,
                                              const QString &columns, const QString &ownerColumn,
                                              const QString &ownerId, const char *logName);

// The first count columns of the reader's row: NULL as an invalid value, anything else as text.
RowValues readRowValues(const Reader &r, int count);

// Whether a value about to be written equals one read by readRowValues: NULL equals only NULL
// (a null text is NULL, as the driver binds it), other values compare as their texts, as SQLite
// would hand them back.
bool sameValue(const QVariant &stored, const QVariant &written);
// The same for rows, which must come in the same order.
bool sameRows(const QList<RowValues> &stored, const QList<RowValues> &written);

// Writes the child rows of one owner (values in the order of columns) into table, first
// deleting the old ones when replace is set. Stops at the first failure, logged under logName.
bool writeOwnedRows(StatementCache &cache, const QString &table, const QString &columns,
                    const QString &ownerColumn, const QString &ownerId,
                    const QList<RowValues> &rows, bool replace, const char *logName);

// Writes the reminder rows of one owner into table (owner id in ownerColumn), first deleting
// the old ones when replace is set. ownerOf names the record field holding the owner a reminder
// came from; triggerTime gives the stored trigger. Stops at the first failure, logged under
// logName.
bool writeReminderRows(StatementCache &cache, const QString &table, const QString &ownerColumn,
                       const QString &ownerId, const QList<Reminder> &reminders, bool replace,
                       QString Reminder::*ownerOf,
                       const std::function<QVariant(const Reminder &)> &triggerTime,
                       const char *logName);

// Sets the acknowledged flag of the reminder rows of table with these ids, 500 ids a statement.
// False at the first failing statement, with the driver's text in *error and logged after
// logName.
bool acknowledgeReminderRows(QSqlDatabase &db, const QString &table, const QStringList &ids,
                             QString *error, const char *logName);

// The owners of child rows, indexed once for every child table loaded for them: the row of
// each owner id, and the ids as JSON lists of 500, sorted so that each statement walks one
// stretch of the owner-id index.
class ChildOwners
{
public:
    template<typename Owner> explicit ChildOwners(const QList<Owner> &owners)
    {
        QStringList ids;
        ids.reserve(owners.size());
        for (const Owner &owner : owners)
            ids << owner.id;
        index(ids);
    }
    explicit ChildOwners(const QStringList &ids) { index(ids); }

    // The row of the owner with this id (as its UTF-8 bytes); -1 for none.
    qsizetype indexOf(QByteArrayView id) const
    {
        return m_index.value(QByteArray::fromRawData(id.data(), id.size()), -1);
    }
    const QStringList &idChunks() const { return m_idChunks; }
    // Owners listed again after their first row: (row, first row).
    const QList<std::pair<qsizetype, qsizetype>> &repeats() const { return m_repeats; }

private:
    void index(const QStringList &ids);
    // False when the id was listed before.
    bool add(const QString &id, qsizetype row);
    void setIds(QStringList ids);

    QHash<QByteArray, qsizetype> m_index;
    QStringList m_idChunks;
    QList<std::pair<qsizetype, qsizetype>> m_repeats;
};

// Reads one child table for the owners, 500 owner ids a statement, and hands each row with the
// owner's place in the list to take(row, reader), in statement order. The statement has "%1"
// where the id filter goes and yields the owner id in its second column; the cache keeps it
// prepared. A failing statement is logged after logName and ends the read.
template<typename Take>
void forEachChildRow(StatementCache &db, const ChildOwners &index, const QString &statement,
                     const char *logName, Take take)
{
    const QString sql = statement.arg(kInJsonList);
    for (const QString &chunk : index.idChunks()) {
        Reader r(db, sql, logName);
        r.bind(chunk);
        while (r.next()) {
            const qsizetype row = index.indexOf(r.utf8(1));
            if (row >= 0)
                take(row, r);
        }
        if (r.failed())
            break;
    }
}

// Loads one child table for the owners (as forEachChildRow reads it) and moves each owner its
// rows in statement order.
template<typename Owner, typename Child, typename ReadChild>
void loadChildrenFor(StatementCache &db, QList<Owner> &owners, const ChildOwners &index,
                     const QString &statement, const char *logName, ReadChild readChild,
                     QList<Child> Owner::*field, QString Child::*ownerField)
{
    // Rows replace whatever children an owner held; owners without rows keep theirs.
    std::vector<bool> replaced(size_t(owners.size()), false);
    forEachChildRow(db, index, statement, logName, [&](qsizetype row, const Reader &r) {
        Owner &owner = owners[row];
        QList<Child> &children = owner.*field;
        if (!replaced[size_t(row)]) {
            replaced[size_t(row)] = true;
            children.clear();
        }
        Child c = readChild(r);
        c.*ownerField = owner.id;
        children.append(std::move(c));
    });
    // An owner listed twice gets a copy of the first one's rows.
    for (const auto &[repeat, first] : index.repeats()) {
        if (replaced[size_t(first)])
            owners[repeat].*field = owners.at(first).*field;
    }
}

template<typename Owner, typename Child, typename ReadChild>
void loadChildrenFor(StatementCache &db, QList<Owner> &owners, const QString &statement,
                     const char *logName, ReadChild readChild, QList<Child> Owner::*field,
                     QString Child::*ownerField)
{
    if (!owners.isEmpty())
        loadChildrenFor(db, owners, ChildOwners(owners), statement, logName, readChild, field,
                        ownerField);
}

} // namespace Sql
