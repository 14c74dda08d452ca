#pragma once

// The items a parsed quick-add line makes: a reminder, a task or an event, as values. Which
// calendar takes them is chosen among the calendars the caller hands in.

#include "model/NLParser.h"
#include "model/Records.h"

#include <QDateTime>
#include <QList>
#include <QString>

// A task of item type "reminder" (with a due date it carries one alarm at the due time; a day
// without a time rings at 09:00) or of item type "task", with a new identity and its stored text.
[[nodiscard]] Task quickAddTodo(const QString &line, const NLParser::ParseResult &parsed,
                                const QString &calendarId, bool reminder, const QDateTime &now);

// The event, without an alarm of its own. With assignIdentity it is a new local event
// (newLocalEvent); without, the id, uid, time stamps, sequence and stored text are left empty.
[[nodiscard]] Event quickAddEvent(const QString &line, const NLParser::ParseResult &parsed,
                                  const QString &calendarId, bool assignIdentity,
                                  const QDateTime &now);

// The calendar a new item goes to, among the calendars in list order: the default, else the
// first visible, else the first. Read-only calendars never take one; for a to-do a calendar
// that accepts to-dos is preferred when there is one. Empty when none qualifies.
[[nodiscard]] QString quickAddCalendarAmong(const QList<Calendar> &calendars, bool forTodo);
