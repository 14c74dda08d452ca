#include "services/weather/WeatherService.h"

#include "core/AppState.h"
#include "model/Clock.h"
#include "platform/Endpoints.h"
#include "services/net/RequestPolicy.h"
#include "storage/PreferenceKeys.h"
#include "storage/PreferencesRepository.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>
#include <QUrlQuery>
#include <QtDebug>

namespace Weather {

Service::Service(AppState *appState, QObject *parent)
    : QObject(parent)
    , m_appState(appState)
    , m_network(new QNetworkAccessManager(this))
{ }

bool Service::isEnabled() const
{
    const PreferencesRepository *prefs = m_appState ? m_appState->preferences() : nullptr;
    if (!prefs)
        return false;
    return prefs->getBool(Prefs::WeatherEnabled, Prefs::WeatherEnabledDefault)
        && prefs->get(Prefs::WeatherLocationLat).has_value();
}

std::optional<DailyForecast> Service::forecastFor(const QDate &date)
{
    if (!isEnabled())
        return std::nullopt;
    const bool stale
        = !m_lastFetched.isValid() || m_lastFetched.secsTo(Clock::nowUtc()) > cacheLifetimeSecs;
    if (stale && !m_inFlight)
        refresh();
    for (const DailyForecast &day : qAsConst(m_cache)) {
        if (day.date == date)
            return day;
    }
    return std::nullopt;
}

void Service::refresh()
{
    if (m_inFlight || !isEnabled())
        return;
    m_inFlight = true;

    const PreferencesRepository *prefs = m_appState->preferences();
    const double lat = prefs->get(Prefs::WeatherLocationLat).value_or(QString()).toDouble();
    const double lng = prefs->get(Prefs::WeatherLocationLng).value_or(QString()).toDouble();

    QUrl url(Endpoints::weatherForecastUrl());
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("latitude"), QString::number(lat, 'g', 6));
    query.addQueryItem(QStringLiteral("longitude"), QString::number(lng, 'g', 6));
    query.addQueryItem(QStringLiteral("daily"),
                       QStringLiteral("temperature_2m_max,temperature_2m_min,weather_code"));
    query.addQueryItem(QStringLiteral("timezone"), QStringLiteral("auto"));
    query.addQueryItem(QStringLiteral("forecast_days"), QStringLiteral("14"));
    url.setQuery(query);

    QNetworkReply *reply = m_network->get(Net::request(url));
    Net::watch(reply, Net::ReplyKind::Api);
    const quint64 generation = m_generation;
    connect(reply, &QNetworkReply::finished, this,
            [this, reply, generation] { onReply(reply, generation); });
}

void Service::invalidate()
{
    m_cache.clear();
    m_lastFetched = QDateTime();
    // The outstanding request is for the old place: its reply will be dropped, so a new
    // request may go out at once.
    ++m_generation;
    m_inFlight = false;
}

void Service::onReply(QNetworkReply *reply, quint64 generation)
{
    reply->deleteLater();
    if (generation != m_generation)
        return;
    m_inFlight = false;

    // Only a whole reply is read: a part of a forecast would pass for all of it.
    const int status = Net::statusOf(reply);
    const QByteArray body = status != 0 ? Net::body(reply) : QByteArray();
    if (status < 200 || status > 299) {
        qWarning().noquote() << "[Weather] open-meteo returned HTTP" << status
                             << QString::fromUtf8(body.left(200));
        emit forecastFailed(
            Net::statusFailure(tr("Open-Meteo returned HTTP %1"), status, Net::failureOf(reply)));
        return;
    }

    m_cache = parseForecast(body);
    m_lastFetched = Clock::nowUtc();
    qInfo() << "[Weather] cached" << m_cache.size() << "day forecast";
    QList<QDate> dates;
    dates.reserve(m_cache.size());
    for (const DailyForecast &day : qAsConst(m_cache))
        dates << day.date;
    emit forecastRefreshed(dates);
}

QList<DailyForecast> parseForecast(const QByteArray &body)
{
    const QJsonObject daily
        = QJsonDocument::fromJson(body).object().value(QLatin1String("daily")).toObject();
    const QJsonArray time = daily.value(QLatin1String("time")).toArray();
    const QJsonArray maxima = daily.value(QLatin1String("temperature_2m_max")).toArray();
    const QJsonArray minima = daily.value(QLatin1String("temperature_2m_min")).toArray();
    const QJsonArray codes = daily.value(QLatin1String("weather_code")).toArray();

    QList<DailyForecast> days;
    for (qsizetype i = 0; i < time.size(); ++i) {
        DailyForecast day;
        day.date = QDate::fromString(time.at(i).toString(), Qt::ISODate);
        if (!day.date.isValid())
            continue;
        day.maxC = maxima.at(i).toDouble(0);
        day.minC = minima.at(i).toDouble(0);
        day.weatherCode = codes.at(i).toInt(0);
        days << day;
    }
    return days;
}

int displayTemperature(const QString &unit, double celsius)
{
    const double value = unit == QLatin1String("F") ? celsius * 9 / 5 + 32 : celsius;
    return static_cast<int>(value >= 0 ? value + 0.5 : value - 0.5);
}

QString emojiForCode(const DailyForecast &day)
{
    switch (day.weatherCode) {
    case 0:
        return QStringLiteral("\u2600\uFE0F");
    case 1:
    case 2:
    case 3:
        return QStringLiteral("\u26C5");
    case 45:
    case 48:
        return QStringLiteral("\U0001F32B\uFE0F");
    case 51:
    case 53:
    case 55:
    case 56:
    case 57:
    case 80:
    case 81:
    case 82:
        return QStringLiteral("\U0001F326\uFE0F");
    case 61:
    case 63:
    case 65:
    case 66:
    case 67:
        return QStringLiteral("\U0001F327\uFE0F");
    case 71:
    case 73:
    case 75:
    case 77:
    case 85:
    case 86:
        return QStringLiteral("\U0001F328\uFE0F");
    case 95:
    case 96:
    case 99:
        return QStringLiteral("\u26C8\uFE0F");
    default:
        return QStringLiteral("\u2601\uFE0F");
    }
}

QString badgeText(const DailyForecast &day, const QString &unit)
{
    return QStringLiteral("%1 %2\u00B0/%3\u00B0")
        .arg(emojiForCode(day))
        .arg(displayTemperature(unit, day.maxC))
        .arg(displayTemperature(unit, day.minC));
}

} // namespace Weather
