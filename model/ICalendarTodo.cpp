#include "model/ICalendar.h"

#include "model/Clock.h"
#include "model/VTimeZone.h"

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

QString writeICalendarTodo(const Task &task, const QDateTime &now)
{
    QString out;
    out.reserve(512 + task.description.size());
    auto line = [&out](const QString &text) {
        out += text;
        out += kCrLf;
    };
    // A present date that is not valid is left out: an empty value is invalid iCalendar.
    auto dateLine
        = [&line](const QString &name, const std::optional<QDateTime> &dt, bool dateOnly) {
              if (!isValidDate(dt))
                  return;
              if (dateOnly)
                  line(name + QLatin1String(";VALUE=DATE:") + formatICalendarDate(dt->date()));
              else
                  line(name + QLatin1Char(':') + formatICalendarUtc(*dt));
          };

    line(QStringLiteral("BEGIN:VCALENDAR"));
    line(QStringLiteral("VERSION:2.0"));
    line(QLatin1String("PRODID:") + iCalendarProductId());
    line(QStringLiteral("BEGIN:VTODO"));
    line(QLatin1String("UID:") + escapeICalendarText(task.uid));
    line(QLatin1String("DTSTAMP:") + formatICalendarUtc(now));
    line(QLatin1String("SUMMARY:") + escapeICalendarText(task.title));
    line(QLatin1String("STATUS:")
         + (task.status.isEmpty() ? QStringLiteral("NEEDS-ACTION")
                                  : oneLine(task.status.toUpper())));
    if (task.sequence > 0)
        line(QLatin1String("SEQUENCE:") + QString::number(task.sequence));
    if (task.priority > 0)
        line(QLatin1String("PRIORITY:") + QString::number(task.priority));
    if (task.percent_complete > 0)
        line(QLatin1String("PERCENT-COMPLETE:") + QString::number(task.percent_complete));
    dateLine(QStringLiteral("DTSTART"), task.start_date, task.start_is_date_only);
    dateLine(QStringLiteral("DUE"), task.due_date, task.due_is_date_only);
    dateLine(QStringLiteral("COMPLETED"), task.completed_date, false);
    if (!task.recurrence_rule.isEmpty())
        line(QLatin1String("RRULE:") + oneLine(task.recurrence_rule));
    if (!task.categories.isEmpty()) {
        QStringList escaped;
        escaped.reserve(task.categories.size());
        for (const QString &category : task.categories)
            escaped.append(escapeICalendarText(category));
        line(QLatin1String("CATEGORIES:") + escaped.join(QLatin1Char(',')));
    }
    if (!task.parent_task_uid.isEmpty())
        line(QLatin1String("RELATED-TO;RELTYPE=PARENT:")
             + escapeICalendarText(task.parent_task_uid));
    if (task.repeat_mode == kRepeatFromCompletion)
        line(QStringLiteral("X-LARKSPINDLE-REPEAT-MODE:fromCompletionDate"));
    if (task.item_type == QLatin1String("reminder"))
        line(QStringLiteral("X-LARKSPINDLE-ITEM-TYPE:reminder"));
    if (task.sort_order > 0)
        line(QLatin1String("X-LARKSPINDLE-SORT-ORDER:") + QString::number(task.sort_order));
    if (!task.description.isEmpty())
        line(QLatin1String("DESCRIPTION:") + escapeICalendarText(task.description));

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
