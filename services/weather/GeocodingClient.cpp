#include "services/weather/GeocodingClient.h"

#include "platform/Endpoints.h"
#include "services/net/RequestPolicy.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QStringList>
#include <QUrl>
#include <QUrlQuery>

namespace Weather {

GeocodingClient::GeocodingClient(QObject *parent)
    : QObject(parent)
    , m_network(new QNetworkAccessManager(this))
{ }

void GeocodingClient::search(const QString &query, int count)
{
    const quint64 generation = ++m_generation;
    if (query.trimmed().isEmpty()) {
        emit completed({});
        return;
    }
    QUrl url(Endpoints::weatherGeocodingUrl());
    QUrlQuery items;
    items.addQueryItem(QStringLiteral("name"), query);
    items.addQueryItem(QStringLiteral("count"), QString::number(count));
    items.addQueryItem(QStringLiteral("language"), QStringLiteral("en"));
    items.addQueryItem(QStringLiteral("format"), QStringLiteral("json"));
    url.setQuery(items);

    QNetworkReply *reply = m_network->get(Net::request(url));
    Net::watch(reply, Net::ReplyKind::Api);
    connect(reply, &QNetworkReply::finished, this,
            [this, reply, generation] { onReply(reply, generation); });
}

void GeocodingClient::onReply(QNetworkReply *reply, quint64 generation)
{
    reply->deleteLater();
    if (generation != m_generation)
        return;
    const int status = Net::statusOf(reply);
    if (status < 200 || status > 299) {
        emit failed(
            Net::statusFailure(tr("Geocoding returned HTTP %1"), status, Net::failureOf(reply)));
        return;
    }
    const QByteArray body = Net::body(reply);
    emit completed(parseGeocodingResults(body));
}

QList<GeocodingResult> parseGeocodingResults(const QByteArray &body)
{
    const QJsonArray results
        = QJsonDocument::fromJson(body).object().value(QLatin1String("results")).toArray();
    QList<GeocodingResult> matches;
    matches.reserve(results.size());
    for (const QJsonValue &value : results) {
        const QJsonObject match = value.toObject();
        QStringList parts {match.value(QLatin1String("name")).toString()};
        for (const char *key : {"admin1", "country_code"}) {
            const QString part = match.value(QLatin1String(key)).toString();
            if (!part.isEmpty())
                parts << part;
        }
        GeocodingResult result;
        result.displayName = parts.join(QStringLiteral(", "));
        result.latitude = match.value(QLatin1String("latitude")).toDouble(0);
        result.longitude = match.value(QLatin1String("longitude")).toDouble(0);
        matches << result;
    }
    return matches;
}

} // namespace Weather
