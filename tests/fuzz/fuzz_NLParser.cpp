// Quick-add parser on arbitrary text, with the rule describer on the same bytes.
#include "model/NLParser.h"
#include "model/RruleFormat.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const QDateTime now(QDate(2024, 1, 10), QTime(10, 7, 42), Qt::UTC);
    const NLParser::ParseResult r = NLParser::parse(text, now);
    if (text.trimmed().isEmpty()) {
        if (r.end.has_value() || r.isTask || !r.start.isValid())
            abort();
    } else {
        // Every line gets an end; a valid start never ends before it starts.
        if (!r.end.has_value())
            abort();
        if (r.start.isValid() && (!r.end->isValid() || *r.end < r.start))
            abort();
        if (!(r.isReminder || r.isTask || r.isAllDay || r.hasTime))
            abort();
        // The title is only ever cut from the line, never longer.
        if (r.title.size() > text.size())
            abort();
    }
    (void)RruleFormat::describe(text);
    return 0;
}
