#pragma once

// Turns one quick-add line into a stored reminder, task or event, chosen by what the line's
// phrases name. Every function has an overload that takes "now"; the others read the clock.
// The items themselves are built in model/QuickAddItems; these functions choose the calendar
// and store them.

#include "model/NLParser.h"
#include "model/Records.h"

#include <QDateTime>
#include <QString>

class CalendarRepository;
class Store;

// The new item's id, or empty when nothing was stored: a blank line, a date that does not
// exist ("feb 30"), no calendar that may take the item, or a failed insert.
[[nodiscard]] QString createFromQuickAdd(const Store &store, const QString &line,
                                         const QString &preferredCalendarId);
[[nodiscard]] QString createFromQuickAdd(const Store &store, const QString &line,
                                         const QString &preferredCalendarId, const QDateTime &now);

// What became of a line: stored, refused for good (see createFromQuickAdd), or not stored
// because another program holds the database's write lock, so the same line may be stored later.
enum class QuickAddOutcome { Stored, Refused, Busy };
struct QuickAddResult
{
    QuickAddOutcome outcome = QuickAddOutcome::Refused;
    QString id;
    QString reason; // why a write failed, in SQLite's words; empty when the line was refused
};
// With a key, the key is stored in the transaction that stores the item: a key stored before
// (the line is stored already) fails the write.
[[nodiscard]] QuickAddResult addFromQuickAdd(const Store &store, const QString &line,
                                             const QString &preferredCalendarId,
                                             const QDateTime &now, const QString &key = {});

// A task of item type "reminder"; with a due date it carries one alarm at the due time.
[[nodiscard]] Task makeQuickAddReminder(CalendarRepository *calendars, const QString &line,
                                        const NLParser::ParseResult &parsed,
                                        const QString &preferredCalendarId);
[[nodiscard]] Task makeQuickAddReminder(CalendarRepository *calendars, const QString &line,
                                        const NLParser::ParseResult &parsed,
                                        const QString &preferredCalendarId, const QDateTime &now);

[[nodiscard]] Task makeQuickAddTask(CalendarRepository *calendars, const QString &line,
                                    const NLParser::ParseResult &parsed,
                                    const QString &preferredCalendarId);
[[nodiscard]] Task makeQuickAddTask(CalendarRepository *calendars, const QString &line,
                                    const NLParser::ParseResult &parsed,
                                    const QString &preferredCalendarId, const QDateTime &now);

// Parses the line itself. Without assignIdentity the id, uid, time stamps, sequence and stored
// text are left empty (for a preview or a form that fills them later).
[[nodiscard]] Event makeQuickAddEvent(CalendarRepository *calendars, const QString &line,
                                      const QString &preferredCalendarId, bool assignIdentity);
[[nodiscard]] Event makeQuickAddEvent(CalendarRepository *calendars, const QString &line,
                                      const QString &preferredCalendarId, bool assignIdentity,
                                      const QDateTime &now);

// The calendar a new item goes to: the preferred one when it exists, else the default, else the
// first visible, else the first. Read-only calendars never take one; for a to-do a calendar that
// accepts to-dos is preferred when there is one. Empty when no calendar qualifies.
[[nodiscard]] QString quickAddTargetCalendar(CalendarRepository *calendars,
                                             const QString &preferredCalendarId,
                                             bool forTodo = false);
