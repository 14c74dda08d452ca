// Event reader, time rewriting and description clean-up on arbitrary text.
#include "model/DescriptionFormat.h"
#include "model/EventTimeRewrite.h"
#include "model/ICalendar.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString text = decodeICalendarText(bytes);
    // Folds joined on the bytes give the lines of folds joined after decoding, wherever no fold
    // goes through a character (in valid UTF-8 none can).
    if (QUtf8StringView(bytes).isValidUtf8()
        && unfoldICalendarLines(text) != unfoldICalendarLines(QString::fromUtf8(bytes)))
        abort();
    const QList<Event> events = parseICalendarEvents(text);
    for (const Event &e : events) {
        if (e.uid.isEmpty())
            abort();
        // The stored text must read back as the same event.
        const QList<Event> again = parseICalendarEvents(e.raw_icalendar);
        if (again.size() != 1 || again.first().uid != e.uid
            || again.first().description != e.description)
            abort();
        const QDateTime start = e.start_time.isValid()
            ? e.start_time.addSecs(3600)
            : QDateTime(QDate(2024, 1, 1), QTime(9, 0), Qt::UTC);
        const QString moved
            = rewriteEventTimes(e.raw_icalendar, start, e.end_time.value_or(QDateTime()));
        if (parseICalendarEvents(moved).size() != 1)
            abort();
        const QString html = renderDescriptionHtml(e.description, e.conference_url);
        (void)linkifyUrls(looksLikeHtml(html) ? html : html.toHtmlEscaped(),
                          QStringLiteral("#336699"));
    }
    (void)rewriteEventTimes(text, QDateTime(QDate(2024, 1, 1), QTime(9, 0), Qt::UTC), QDateTime());
    return 0;
}
