// Feeds arbitrary bytes, read as a city search reply, to the match reader. Nothing may crash,
// and there are never more matches than elements of "results".
#include "services/weather/GeocodingClient.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QList<Weather::GeocodingResult> matches = Weather::parseGeocodingResults(bytes);
    const qsizetype sent
        = QJsonDocument::fromJson(bytes).object().value(QLatin1String("results")).toArray().size();
    if (matches.size() != sent)
        std::abort();
    return 0;
}
