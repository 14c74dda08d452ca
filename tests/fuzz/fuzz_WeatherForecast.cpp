// Feeds arbitrary bytes, read as a forecast reply, to the forecast reader. Nothing may crash,
// every day read has a valid date, and there are never more days than dates sent.
#include "services/weather/WeatherService.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QList<Weather::DailyForecast> days = Weather::parseForecast(bytes);
    const qsizetype sent = QJsonDocument::fromJson(bytes)
                               .object()
                               .value(QLatin1String("daily"))
                               .toObject()
                               .value(QLatin1String("time"))
                               .toArray()
                               .size();
    if (days.size() > sent)
        std::abort();
    for (const Weather::DailyForecast &day : days) {
        if (!day.date.isValid())
            std::abort();
        (void)Weather::badgeText(day, QStringLiteral("F"));
    }
    return 0;
}
