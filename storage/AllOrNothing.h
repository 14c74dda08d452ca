#pragma once

// A write of many rows that is kept whole or not at all, and told to listeners once. The
// repositories that would announce each row are kept quiet while it runs, so nobody hears of a
// write that is then rolled back; once it is committed, announce tells what changed.
// Every step that writes across repositories goes through here: a sync page, a configuration
// stage, an import's slice and its take-back, a calendar's removal, an account's reaping, a
// calendar's move to the cloud and the settings forms.

#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <functional>

class QObject;

namespace Sql {

// Runs write inside one savepoint named name (an SQL identifier, also used in the log) with the
// signals of every object in quiet blocked. When write returns true and the savepoint commits,
// announce runs with the signals unblocked and the result is true; otherwise everything write did
// is rolled back, announce does not run and the result is false.
[[nodiscard]] bool applyAllOrNothing(QSqlDatabase db, const QString &name,
                                     const QList<QObject *> &quiet,
                                     const std::function<bool()> &write,
                                     const std::function<void()> &announce);

} // namespace Sql
