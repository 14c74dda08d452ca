#pragma once

// Small pieces every repository's statements need: texts as bound values, placeholders, long
// id lists, and running a write.

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>

namespace Sql {

// Ids bound per statement, well below SQLite's limit on bound parameters.
constexpr int kIdChunkSize = 500;

// A text as a bound value: a null text is SQL NULL, an empty text stays the empty text.
QVariant text(const QString &value);

// "?, ?, ?" with n placeholders.
QString placeholders(int n, const QString &separator = QStringLiteral(", "));

// An id list as one bound value: a JSON array for "IN (SELECT value FROM json_each(?))".
// One parameter instead of one per id keeps long lists cheap to bind.
QString jsonList(const QStringList &ids);
// The same list as UTF-8, the database's encoding, for binding as it is.
QByteArray jsonListUtf8(const QStringList &ids);
inline const QString kInJsonList = QStringLiteral("IN (SELECT value FROM json_each(?))");

// Calls fn with consecutive slices of ids, at most chunkSize each; stops at the first false.
bool forEachChunk(const QStringList &ids, const std::function<bool(const QStringList &)> &fn,
                  int chunkSize = kIdChunkSize);

// Binds every value of the list in order after the ones already bound.
void bindAll(QSqlQuery &query, const QStringList &values);

// Executes a statement that needs no bound values; false on failure.
bool exec(QSqlDatabase &db, const QString &statement, QString *error = nullptr);

// Executes a statement with the values bound in order; false (with the driver's text) on failure.
bool run(QSqlDatabase &db, const QString &statement, const QVariantList &values,
         QString *error = nullptr);

// Executes a write with the values bound in order and returns how many rows it changed; -1 when
// it failed, logged after logName.
int runCounting(QSqlDatabase &db, const QString &statement, const QVariantList &values,
                const char *logName);

// A LIKE pattern (for "LIKE ? ESCAPE '\\'") that matches the texts beginning with prefix.
QString likePrefix(const QString &prefix);

// Leaves a tombstone for the configuration sync: deleted_at and updated_at set to now and the
// row "pending". The table name is one of the program's own, never outside text.
bool markDeleted(QSqlDatabase &db, const QString &table, const QString &id, const QVariant &now);

// Gives the ids the keys 10, 20, 30 ... in list order through a statement that takes
// (key, now, id), all or nothing. An empty list changes nothing.
bool renumber(QSqlDatabase &db, const QString &statement, const QStringList &ids,
              const QVariant &now);

} // namespace Sql
