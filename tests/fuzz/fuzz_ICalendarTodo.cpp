// To-do reader on arbitrary text; every task read is written and read back.
#include "model/ICalendar.h"

#include <cstdlib>

namespace {

QString oneBreakKind(QString s)
{
    s.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return s;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const QList<Task> tasks = parseICalendarTodo(text);
    const QDateTime now(QDate(2024, 3, 1), QTime(12, 0), Qt::UTC);
    for (const Task &t : tasks) {
        const QList<Task> back = parseICalendarTodo(writeICalendarTodo(t, now));
        if (back.size() != 1)
            abort();
        const Task &b = back.first();
        if (b.uid != oneBreakKind(t.uid) || b.title != oneBreakKind(t.title)
            || b.description != oneBreakKind(t.description)
            || b.parent_task_uid != oneBreakKind(t.parent_task_uid) || b.sort_order != t.sort_order
            || b.item_type != t.item_type || b.repeat_mode != t.repeat_mode)
            abort();
    }
    return 0;
}
