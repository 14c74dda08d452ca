// Feeds arbitrary bytes to the multistatus reader: it may not crash, an unreadable body always
// says why, and every calendar it reports is an absolute address with at least one component.
#include "services/sync/caldav/CalDavParse.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QUrl base(QStringLiteral("https://127.0.0.1:8443/dav/"));
    QString error;
    const std::optional<QList<CalDavParse::Response>> responses
        = CalDavParse::parseMultistatus(bytes, &error);
    if (!responses) {
        if (error.isEmpty())
            std::abort();
        return 0;
    }
    CalDavParse::firstHref(*responses, CalDavParse::kCurrentUserPrincipal, base);
    CalDavParse::firstHref(*responses, CalDavParse::kCalendarHomeSet, base);
    for (const CalDavParse::DiscoveredCalendar &c : CalDavParse::calendarsIn(*responses, base)) {
        if (c.supportedComponents.isEmpty() || QUrl(c.url).isRelative())
            std::abort();
    }
    return 0;
}
