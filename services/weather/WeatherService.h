#pragma once

// The daily forecast for the saved place, kept in memory for an hour. Views ask for one date
// while they paint and get an answer at once; a fetch the question started reports later
// through forecastRefreshed.

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class AppState;
class QNetworkAccessManager;
class QNetworkReply;

namespace Weather {

struct DailyForecast
{
    QDate date;
    double maxC = 0;
    double minC = 0;
    int weatherCode = 0;
};

class Service : public QObject
{
    Q_OBJECT
public:
    static constexpr qint64 cacheLifetimeSecs = 3600;

    explicit Service(AppState *appState, QObject *parent = nullptr);

    bool isEnabled() const;
    // The cached day, or nothing; starts a fetch when the cache is stale or was never filled.
    std::optional<DailyForecast> forecastFor(const QDate &date);
    void refresh();
    // Forgets the cache; replies to requests sent before this are dropped when they arrive.
    void invalidate();

signals:
    void forecastRefreshed(const QList<QDate> &dates);
    void forecastFailed(const QString &reason);

private:
    void onReply(QNetworkReply *reply, quint64 generation);

    AppState *m_appState;
    QNetworkAccessManager *m_network;
    QList<DailyForecast> m_cache;
    QDateTime m_lastFetched;
    bool m_inFlight = false;
    quint64 m_generation = 0;
};

// Degrees to show: Fahrenheit when the unit is exactly "F", else Celsius; halves round away
// from zero.
int displayTemperature(const QString &unit, double celsius);
QString emojiForCode(const DailyForecast &day);
// "☀️ 22°/10°": emoji, displayed maximum and minimum.
QString badgeText(const DailyForecast &day, const QString &unit);

// Parses a forecast reply body; days whose date does not parse are left out.
QList<DailyForecast> parseForecast(const QByteArray &body);

} // namespace Weather
