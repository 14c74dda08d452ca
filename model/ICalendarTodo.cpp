#include "model/ICalendar.h"

#include "model/Clock.h"
#include "model/EventTimeRewrite.h"
#include "model/VTimeZone.h"

#include <algorithm>
#include <limits>

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kRepeatFromCompletion = QStringLiteral("fromCompletionDate");

int readInt(const QString &value)
{
    return value.toInt(); // 0 when not a number
}

// Splits at commas that are not escaped with a backslash.
QStringList splitUnescapedCommas(const QString &value)
{
    QStringList parts;
    qsizetype start = 0;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c == QLatin1Char('\\')) {
            ++i;
        } else if (c == QLatin1Char(',')) {
            parts.append(value.mid(start, i - start));
            start = i + 1;
        }
    }
    parts.append(value.mid(start));
    return parts;
}

// Minutes of a relative TRIGGER, or -1 for an absolute or empty one.
int triggerMinutes(const QString &value)
{
    QString rest = value.trimmed();
    if (rest.startsWith(QLatin1Char('-')) || rest.startsWith(QLatin1Char('+')))
        rest.remove(0, 1);
    if (rest.isEmpty() || !rest.startsWith(QLatin1Char('P')))
        return -1;
    const qint64 minutes = parseICalendarDuration(rest) / 60;
    return int(qMin<qint64>(minutes, std::numeric_limits<int>::max()));
}

// Values that are not TEXT are written as they are, but a line break would end the line.
QString oneLine(QString value)
{
    value.remove(QLatin1Char('\r'));
    value.remove(QLatin1Char('\n'));
    return value;
}

bool isValidDate(const std::optional<QDateTime> &dt)
{
    return dt.has_value() && dt->isValid();
}

} // namespace

QList<Task> parseICalendarTodo(const QString &text)
{
    static const QString beginTodo = QStringLiteral("BEGIN:VTODO");
    static const QString endTodo = QStringLiteral("END:VTODO");
    static const QString beginAlarm = QStringLiteral("BEGIN:VALARM");
    static const QString endAlarm = QStringLiteral("END:VALARM");

    QList<Task> tasks;
    Task task;
    bool inTodo = false;
    QString raw;
    int depth = 0; // components nested in the to-do
    bool inAlarm = false;
    QString alarmAction;
    int alarmMinutes = -1;
    VTimeZoneSet zones(text);

    forEachUnfoldedLine(text, [&](QStringView line) {
        if (line == beginTodo) {
            task = Task();
            raw = line.toString();
            raw += kCrLf;
            depth = 0;
            inAlarm = false;
            alarmAction.clear();
            alarmMinutes = -1;
            inTodo = true;
            return;
        }
        if (!inTodo)
            return;
        raw += line;
        raw += kCrLf;
        if (line == endTodo) {
            inTodo = false;
            if (task.uid.isEmpty())
                return;
            task.raw_icalendar = raw;
            tasks.append(std::move(task));
            task = Task();
            return;
        }

        const ContentLine cl = parseContentLine(line);
        const QString &name = cl.name;
        if (name == QLatin1String("BEGIN")) {
            ++depth;
            if (depth == 1 && line == beginAlarm) {
                inAlarm = true;
                alarmAction.clear();
                alarmMinutes = -1;
            }
            return;
        }
        if (name == QLatin1String("END")) {
            if (depth == 1 && inAlarm && line == endAlarm) {
                if (alarmMinutes >= 0) {
                    Reminder reminder;
                    reminder.minutes_before = alarmMinutes;
                    reminder.action
                        = alarmAction.isEmpty() ? QStringLiteral("display") : alarmAction;
                    task.reminders.append(reminder);
                }
                inAlarm = false;
            }
            if (depth > 0)
                --depth;
            return;
        }
        if (depth > 0) {
            if (depth == 1 && inAlarm) {
                if (name == QLatin1String("ACTION"))
                    alarmAction = cl.value.toLower();
                else if (name == QLatin1String("TRIGGER"))
                    alarmMinutes = triggerMinutes(cl.value);
            }
            return;
        }

        bool dateOnly = false;
        if (name == QLatin1String("UID")) {
            task.uid = unescapeICalendarText(cl.value);
        } else if (name == QLatin1String("SUMMARY")) {
            task.title = unescapeICalendarText(cl.value);
        } else if (name == QLatin1String("DESCRIPTION")) {
            task.description = unescapeICalendarText(cl.value);
        } else if (name == QLatin1String("DTSTART")) {
            task.start_date = parseICalendarDateTime(cl.value, cl.params, dateOnly, &zones);
            task.start_is_date_only = dateOnly;
        } else if (name == QLatin1String("DUE")) {
            task.due_date = parseICalendarDateTime(cl.value, cl.params, dateOnly, &zones);
            task.due_is_date_only = dateOnly;
        } else if (name == QLatin1String("COMPLETED")) {
            task.completed_date = parseICalendarDateTime(cl.value, cl.params, dateOnly, &zones);
        } else if (name == QLatin1String("STATUS")) {
            task.status = cl.value.toLower();
        } else if (name == QLatin1String("PRIORITY")) {
            task.priority = readInt(cl.value);
        } else if (name == QLatin1String("PERCENT-COMPLETE")) {
            task.percent_complete = readInt(cl.value);
        } else if (name == QLatin1String("RRULE")) {
            task.recurrence_rule = cl.value;
        } else if (name == QLatin1String("CATEGORIES")) {
            // Several CATEGORIES lines add up.
            const QStringList parts = splitUnescapedCommas(cl.value);
            for (const QString &part : parts) {
                if (!part.isEmpty())
                    task.categories.append(unescapeICalendarText(part.trimmed()));
            }
        } else if (name == QLatin1String("RELATED-TO")) {
            if (isParentRelation(cl))
                task.parent_task_uid = unescapeICalendarText(cl.value);
        } else if (name == QLatin1String("SEQUENCE")) {
            task.sequence = readInt(cl.value);
        } else if (name == QLatin1String("CREATED")) {
            task.created = parseICalendarDateTime(cl.value, cl.params, dateOnly, &zones);
        } else if (name == QLatin1String("LAST-MODIFIED")) {
            task.last_modified = parseICalendarDateTime(cl.value, cl.params, dateOnly, &zones);
        } else if (name == QLatin1String("X-LARKSPINDLE-REPEAT-MODE")) {
            if (cl.value.trimmed() == kRepeatFromCompletion)
                task.repeat_mode = kRepeatFromCompletion;
        } else if (name == QLatin1String("X-LARKSPINDLE-ITEM-TYPE")) {
            if (cl.value.trimmed().compare(QLatin1String("reminder"), Qt::CaseInsensitive) == 0)
                task.item_type = QStringLiteral("reminder");
        } else if (name == QLatin1String("X-LARKSPINDLE-SORT-ORDER")) {
            bool ok = false;
            const int order = cl.value.trimmed().toInt(&ok);
            if (ok && order > 0)
                task.sort_order = order;
        }
    });
    return tasks;
}

QString writeICalendarTodo(const Task &task)
{
    return writeICalendarTodo(task, Clock::nowUtc());
}

namespace {

using Property = std::pair<QString, QStringList>;

// The task's own lines that its fields make, by property in the order they are written (UID,
// DTSTAMP and the alarms aside); a property without a value has no lines.
QList<Property> todoProperties(const Task &task)
{
    QList<Property> out;
    const auto add = [&out](const QString &name, const QString &value) {
        out.append({name, value.isNull() ? QStringList() : QStringList {name + value}});
    };
    const auto number = [](int n) -> QString {
        return n > 0 ? QLatin1Char(':') + QString::number(n) : QString();
    };
    // A present date that is not valid is left out: an empty value is invalid iCalendar.
    const auto date = [](const std::optional<QDateTime> &dt, bool dateOnly) -> QString {
        if (!isValidDate(dt))
            return QString();
        if (dateOnly)
            return QLatin1String(";VALUE=DATE:") + formatICalendarDate(dt->date());
        return QLatin1Char(':') + formatICalendarUtc(*dt);
    };
    const auto text = [](const QString &value) -> QString {
        return value.isEmpty() ? QString() : QLatin1Char(':') + escapeICalendarText(value);
    };
    add(QStringLiteral("SUMMARY"), QLatin1Char(':') + escapeICalendarText(task.title));
    add(QStringLiteral("STATUS"),
        QLatin1Char(':')
            + (task.status.isEmpty() ? QStringLiteral("NEEDS-ACTION")
                                     : oneLine(task.status.toUpper())));
    add(QStringLiteral("SEQUENCE"), number(task.sequence));
    add(QStringLiteral("PRIORITY"), number(task.priority));
    add(QStringLiteral("PERCENT-COMPLETE"), number(task.percent_complete));
    add(QStringLiteral("DTSTART"), date(task.start_date, task.start_is_date_only));
    add(QStringLiteral("DUE"), date(task.due_date, task.due_is_date_only));
    add(QStringLiteral("COMPLETED"), date(task.completed_date, false));
    add(QStringLiteral("RRULE"),
        task.recurrence_rule.isEmpty() ? QString()
                                       : QLatin1Char(':') + oneLine(task.recurrence_rule));
    QStringList categories;
    for (const QString &category : task.categories)
        categories.append(escapeICalendarText(category));
    add(QStringLiteral("CATEGORIES"),
        categories.isEmpty() ? QString() : QLatin1Char(':') + categories.join(QLatin1Char(',')));
    add(QStringLiteral("RELATED-TO"),
        task.parent_task_uid.isEmpty()
            ? QString()
            : QLatin1String(";RELTYPE=PARENT:") + escapeICalendarText(task.parent_task_uid));
    add(QStringLiteral("X-LARKSPINDLE-REPEAT-MODE"),
        task.repeat_mode == kRepeatFromCompletion ? QLatin1Char(':') + kRepeatFromCompletion
                                                  : QString());
    add(QStringLiteral("X-LARKSPINDLE-ITEM-TYPE"),
        task.item_type == QLatin1String("reminder") ? QStringLiteral(":reminder") : QString());
    add(QStringLiteral("X-LARKSPINDLE-SORT-ORDER"), number(task.sort_order));
    add(QStringLiteral("DESCRIPTION"), text(task.description));
    return out;
}

} // namespace

QString writeICalendarTodo(const Task &task, const QDateTime &now)
{
    QString out;
    out.reserve(512 + task.description.size());
    auto line = [&out](const QString &text) {
        out += text;
        out += kCrLf;
    };
    line(QStringLiteral("BEGIN:VCALENDAR"));
    line(QStringLiteral("VERSION:2.0"));
    line(QLatin1String("PRODID:") + iCalendarProductId());
    line(QStringLiteral("BEGIN:VTODO"));
    line(QLatin1String("UID:") + escapeICalendarText(task.uid));
    line(QLatin1String("DTSTAMP:") + formatICalendarUtc(now));
    for (const Property &property : todoProperties(task)) {
        for (const QString &text : property.second)
            line(text);
    }

    const bool hasDue = isValidDate(task.due_date);
    const bool hasStart = isValidDate(task.start_date);
    if (hasDue || hasStart) {
        const QString anchor = hasDue ? QStringLiteral("END") : QStringLiteral("START");
        const QString title = escapeICalendarText(task.title);
        for (const Reminder &reminder : task.reminders) {
            line(QStringLiteral("BEGIN:VALARM"));
            line(QLatin1String("ACTION:")
                 + (reminder.action.isEmpty() ? QStringLiteral("DISPLAY")
                                              : oneLine(reminder.action.toUpper())));
            line(QLatin1String("DESCRIPTION:") + title);
            if (reminder.minutes_before == 0)
                line(QStringLiteral("TRIGGER;RELATED=%1:PT0S").arg(anchor));
            else
                line(QStringLiteral("TRIGGER;RELATED=%1:-PT%2M")
                         .arg(anchor, QString::number(reminder.minutes_before)));
            line(QStringLiteral("END:VALARM"));
        }
    }
    line(QStringLiteral("END:VTODO"));
    line(QStringLiteral("END:VCALENDAR"));
    return out;
}

QString updatedICalendarTodo(const Task &task)
{
    return updatedICalendarTodo(task, Clock::nowUtc());
}

QString updatedICalendarTodo(const Task &task, const QDateTime &now)
{
    const QList<Task> held = parseICalendarTodo(task.raw_icalendar);
    const auto own = std::find_if(held.cbegin(), held.cend(),
                                  [&](const Task &t) { return t.uid == task.uid; });
    if (own == held.cend())
        return writeICalendarTodo(task, now);
    // A task read before whole items were kept holds its VTODO alone, unfolded: it travels
    // inside a calendar again, folded.
    QString text = task.raw_icalendar;
    if (!text.startsWith(QLatin1String("BEGIN:VCALENDAR"), Qt::CaseInsensitive)) {
        text = QLatin1String("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:") + iCalendarProductId()
            + kCrLf;
        forEachUnfoldedLine(task.raw_icalendar, [&text](QStringView line) {
            if (line.trimmed().isEmpty())
                return;
            for (const QString &part : foldContentLine(line.toString()))
                text += part + kCrLf;
        });
        text += QLatin1String("END:VCALENDAR\r\n");
    }
    // Only what differs is written: every other line stays as it was, other clients' included.
    const QList<Property> before = todoProperties(*own);
    QHash<QString, QStringList> changed;
    for (const Property &property : todoProperties(task)) {
        const auto was = std::find_if(before.cbegin(), before.cend(),
                                      [&](const Property &p) { return p.first == property.first; });
        if (was == before.cend() || was->second != property.second)
            changed.insert(property.first, property.second);
    }
    return rewriteTodoProperties(text, changed, task.uid);
}
