#include "core/AppState.h"
#include "model/Clock.h"
#include "services/net/RequestPolicy.h"
#include "services/weather/WeatherService.h"
#include "storage/PreferencesRepository.h"
#include "support/FakeHttpServer.h"
#include "support/MemoryTokenStore.h"
#include "support/TestSupport.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using LarkTest::FakeReply;
using Weather::DailyForecast;

namespace {

const QDate firstDay(2026, 3, 2);

// A forecast reply of `days` days from `start`; `codes` values in the weather_code array.
QJsonObject forecastBody(const QDate &start, int days, int codes, double max = 21.5,
                         double min = 10.4)
{
    QJsonArray time, maxima, minima, weatherCodes;
    for (int i = 0; i < days; ++i) {
        time.append(start.addDays(i).toString(Qt::ISODate));
        maxima.append(max + i);
        minima.append(min);
    }
    for (int i = 0; i < codes; ++i)
        weatherCodes.append(61);
    QJsonObject daily;
    daily.insert(QStringLiteral("time"), time);
    daily.insert(QStringLiteral("temperature_2m_max"), maxima);
    daily.insert(QStringLiteral("temperature_2m_min"), minima);
    daily.insert(QStringLiteral("weather_code"), weatherCodes);
    return QJsonObject {{QStringLiteral("daily"), daily}};
}

} // namespace

class TestWeatherService : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void needsAPlace();
    void requestAndReply();
    void oneRequestForTwoCalls();
    void cacheFreshness_data();
    void cacheFreshness();
    void failureKeepsCache();
    void replyThatIsNoForecast();
    void staleReplyAfterInvalidateDropped();
    void hungRequestTimesOut();

    void displayTemperature_data();
    void displayTemperature();
    void emoji_data();
    void emoji();
    void badge_data();
    void badge();

private:
    void enable(const QString &lat = QStringLiteral("52.520008"));
    Weather::Service *service() const { return m_state->weather(); }
    PreferencesRepository *prefs() const { return m_state->preferences(); }

    std::unique_ptr<LarkTest::ScopedMemoryTokenStore> m_secrets;
    std::unique_ptr<LarkTest::FakeHttpServer> m_server;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<AppState> m_state;
    LarkTest::TestClock m_clock {QDateTime(QDate(2026, 3, 2), QTime(8, 0), Qt::UTC)};
};

void TestWeatherService::init()
{
    m_secrets = std::make_unique<LarkTest::ScopedMemoryTokenStore>();
    m_server = std::make_unique<LarkTest::FakeHttpServer>();
    QVERIFY(m_server->listen());
    qputenv("WEATHER_FORECAST_URL", m_server->url(QStringLiteral("/v1/forecast")).toEncoded());
    m_dir = std::make_unique<QTemporaryDir>();
    m_state = std::make_unique<AppState>();
    QVERIFY(m_state->initialize(m_dir->filePath(QStringLiteral("calendar.db"))));
    Clock::setSource([this] { return m_clock.now(); });
}

void TestWeatherService::cleanup()
{
    Clock::setSource({});
    m_state.reset();
    m_dir.reset();
    m_server.reset();
    m_secrets.reset();
}

void TestWeatherService::enable(const QString &lat)
{
    QVERIFY(prefs()->setBool(QStringLiteral("weather/enabled"), true));
    QVERIFY(prefs()->set(QStringLiteral("weather/location_lat"), lat));
    QVERIFY(prefs()->set(QStringLiteral("weather/location_lng"), QStringLiteral("13.404954")));
}

void TestWeatherService::needsAPlace()
{
    QVERIFY(prefs()->setBool(QStringLiteral("weather/enabled"), true));
    QVERIFY(!service()->isEnabled());
    QVERIFY(!service()->forecastFor(firstDay));
    service()->refresh();

    // A place alone is not enough either.
    QVERIFY(prefs()->setBool(QStringLiteral("weather/enabled"), false));
    QVERIFY(prefs()->set(QStringLiteral("weather/location_lat"), QStringLiteral("1")));
    QVERIFY(!service()->forecastFor(firstDay));
    QTest::qWait(50);
    QCOMPARE(m_server->requestCount(), 0);
}

void TestWeatherService::requestAndReply()
{
    enable();
    m_server->route("GET", QStringLiteral("/v1/forecast"),
                    FakeReply::json(200, forecastBody(firstDay, 14, 13)));
    QSignalSpy refreshed(service(), &Weather::Service::forecastRefreshed);

    QVERIFY(!service()->forecastFor(firstDay)); // nothing cached yet: answers at once
    QTRY_COMPARE(refreshed.size(), 1);

    const QList<LarkTest::RecordedRequest> requests = m_server->requests();
    QCOMPARE(requests.size(), 1);
    QCOMPARE(requests.first().target,
             QByteArray("/v1/forecast?latitude=52.52&longitude=13.405"
                        "&daily=temperature_2m_max,temperature_2m_min,weather_code"
                        "&timezone=auto&forecast_days=14"));

    const auto dates = refreshed.first().first().value<QList<QDate>>();
    QCOMPARE(dates.size(), 14);
    QCOMPARE(dates.first(), firstDay);
    QCOMPARE(dates.last(), firstDay.addDays(13));

    const std::optional<DailyForecast> first = service()->forecastFor(firstDay);
    QVERIFY(first);
    QCOMPARE(first->maxC, 21.5);
    QCOMPARE(first->minC, 10.4);
    QCOMPARE(first->weatherCode, 61);
    // The code array is one short: the last day reads code 0.
    const std::optional<DailyForecast> last = service()->forecastFor(firstDay.addDays(13));
    QVERIFY(last);
    QCOMPARE(last->weatherCode, 0);
    QCOMPARE(Weather::emojiForCode(*last), QStringLiteral("\u2600\uFE0F"));
    QVERIFY(!service()->forecastFor(firstDay.addDays(14)));
    QCOMPARE(m_server->requestCount(), 1);
}

void TestWeatherService::oneRequestForTwoCalls()
{
    enable();
    m_server->route("GET", QStringLiteral("/v1/forecast"),
                    FakeReply::json(200, forecastBody(firstDay, 3, 3)).held());
    service()->forecastFor(firstDay);
    service()->forecastFor(firstDay.addDays(1));
    service()->refresh();
    QTRY_COMPARE(m_server->heldCount(), 1);
    QTest::qWait(50);
    QCOMPARE(m_server->requestCount(), 1);

    QSignalSpy refreshed(service(), &Weather::Service::forecastRefreshed);
    m_server->releaseHeld();
    QTRY_COMPARE(refreshed.size(), 1);
    QVERIFY(service()->forecastFor(firstDay.addDays(1)));
    QCOMPARE(m_server->requestCount(), 1);
}

void TestWeatherService::cacheFreshness_data()
{
    QTest::addColumn<int>("ageSecs");
    QTest::addColumn<int>("requests");
    QTest::newRow("3600 s is fresh") << 3600 << 1;
    QTest::newRow("3601 s is stale") << 3601 << 2;
}

void TestWeatherService::cacheFreshness()
{
    QFETCH(int, ageSecs);
    QFETCH(int, requests);
    enable();
    m_server->route("GET", QStringLiteral("/v1/forecast"),
                    FakeReply::json(200, forecastBody(firstDay, 3, 3)));
    QSignalSpy refreshed(service(), &Weather::Service::forecastRefreshed);
    service()->refresh();
    QTRY_COMPARE(refreshed.size(), 1);

    m_clock.advanceSecs(ageSecs);
    // The cached day is answered either way; a stale cache also starts a fetch.
    QVERIFY(service()->forecastFor(firstDay));
    QTRY_COMPARE(m_server->requestCount(), requests);
    QTest::qWait(50);
    QCOMPARE(m_server->requestCount(), requests);
}

void TestWeatherService::failureKeepsCache()
{
    enable();
    int answer = 200;
    m_server->route("GET", QStringLiteral("/v1/forecast"), [&answer](const auto &) {
        return answer == 200 ? FakeReply::json(200, forecastBody(firstDay, 3, 3))
                             : FakeReply::text(answer, "upstream down");
    });
    QSignalSpy refreshed(service(), &Weather::Service::forecastRefreshed);
    QSignalSpy failed(service(), &Weather::Service::forecastFailed);
    service()->refresh();
    QTRY_COMPARE(refreshed.size(), 1);

    answer = 503;
    m_clock.advanceSecs(7200);
    QVERIFY(service()->forecastFor(firstDay));
    QTRY_COMPARE(failed.size(), 1);
    QCOMPARE(failed.first().first().toString(), QStringLiteral("Open-Meteo returned HTTP 503"));
    QCOMPARE(refreshed.size(), 1);

    // Still cached, and still stale: the next question tries again at once.
    QVERIFY(service()->forecastFor(firstDay));
    QTRY_COMPARE(m_server->requestCount(), 3);
}

void TestWeatherService::replyThatIsNoForecast()
{
    enable();
    m_server->route("GET", QStringLiteral("/v1/forecast"), FakeReply::text(200, "<html>"));
    QSignalSpy refreshed(service(), &Weather::Service::forecastRefreshed);
    service()->refresh();
    QTRY_COMPARE(refreshed.size(), 1);
    QVERIFY(refreshed.first().first().value<QList<QDate>>().isEmpty());

    // Counts as a fetched (empty) forecast: no new request within the hour.
    QVERIFY(!service()->forecastFor(firstDay));
    QTest::qWait(50);
    QCOMPARE(m_server->requestCount(), 1);
}

void TestWeatherService::staleReplyAfterInvalidateDropped()
{
    enable(QStringLiteral("10"));
    const QDate oldCityDay(2026, 1, 1);
    m_server->route("GET", QStringLiteral("/v1/forecast"), [&](const LarkTest::RecordedRequest &r) {
        if (r.query.queryItemValue(QStringLiteral("latitude")) == QLatin1String("10"))
            return FakeReply::json(200, forecastBody(oldCityDay, 3, 3)).held();
        return FakeReply::json(200, forecastBody(firstDay, 3, 3));
    });
    QSignalSpy refreshed(service(), &Weather::Service::forecastRefreshed);
    service()->refresh();
    QTRY_COMPARE(m_server->heldCount(), 1);

    // The user picks another city while the old request is still out.
    QVERIFY(prefs()->set(QStringLiteral("weather/location_lat"), QStringLiteral("20")));
    service()->invalidate();
    QVERIFY(!service()->forecastFor(firstDay));
    QTRY_COMPARE(refreshed.size(), 1);
    QVERIFY(service()->forecastFor(firstDay));

    QCOMPARE(m_server->releaseHeld(), 1);
    QTest::qWait(200);
    QCOMPARE(refreshed.size(), 1);
    QVERIFY(!service()->forecastFor(oldCityDay));
    QVERIFY(service()->forecastFor(firstDay));
    QCOMPARE(m_server->requestCount(), 2);
}

void TestWeatherService::hungRequestTimesOut()
{
    enable();
    m_server->route("GET", QStringLiteral("/v1/forecast"),
                    FakeReply::json(200, forecastBody(firstDay, 3, 3)).held());
    Net::Limits silence;
    silence.silenceMs = 300;
    const Net::LimitsOverride limits(silence);
    QSignalSpy failed(service(), &Weather::Service::forecastFailed);
    service()->refresh();
    QTRY_COMPARE(failed.size(), 1);
    QCOMPARE(failed.first().first().toString(), QStringLiteral("The server stopped answering."));

    // No longer counted as in flight.
    service()->refresh();
    QTRY_COMPARE(m_server->requestCount(), 2);
}

void TestWeatherService::displayTemperature_data()
{
    QTest::addColumn<QString>("unit");
    QTest::addColumn<double>("celsius");
    QTest::addColumn<int>("shown");
    QTest::newRow("21.5 C") << "C" << 21.5 << 22;
    QTest::newRow("-2.5 C away from zero") << "C" << -2.5 << -3;
    QTest::newRow("-2.4 C") << "C" << -2.4 << -2;
    QTest::newRow("-2.5 C in F is 27.5") << "F" << -2.5 << 28;
    QTest::newRow("-40 C in F") << "F" << -40.0 << -40;
    QTest::newRow("lower-case f is Celsius") << "f" << -2.5 << -3;
    QTest::newRow("empty unit is Celsius") << "" << 10.4 << 10;
}

void TestWeatherService::displayTemperature()
{
    QFETCH(QString, unit);
    QFETCH(double, celsius);
    QFETCH(int, shown);
    QCOMPARE(Weather::displayTemperature(unit, celsius), shown);
}

void TestWeatherService::emoji_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("emoji");
    const QString sun = QStringLiteral("\u2600\uFE0F");
    const QString partly = QStringLiteral("\u26C5");
    const QString fog = QStringLiteral("\U0001F32B\uFE0F");
    const QString showers = QStringLiteral("\U0001F326\uFE0F");
    const QString rain = QStringLiteral("\U0001F327\uFE0F");
    const QString snow = QStringLiteral("\U0001F328\uFE0F");
    const QString storm = QStringLiteral("\u26C8\uFE0F");
    const QString cloud = QStringLiteral("\u2601\uFE0F");
    const QList<QPair<QList<int>, QString>> table = {
        {{0}, sun},
        {{1, 2, 3}, partly},
        {{45, 48}, fog},
        {{51, 53, 55, 56, 57, 80, 81, 82}, showers},
        {{61, 63, 65, 66, 67}, rain},
        {{71, 73, 75, 77, 85, 86}, snow},
        {{95, 96, 99}, storm},
        {{-1, 4, 50, 60, 100}, cloud},
    };
    for (const auto &row : table) {
        for (int code : row.first)
            QTest::addRow("code %d", code) << code << row.second;
    }
}

void TestWeatherService::emoji()
{
    QFETCH(int, code);
    QFETCH(QString, emoji);
    DailyForecast day;
    day.weatherCode = code;
    QCOMPARE(Weather::emojiForCode(day), emoji);
}

void TestWeatherService::badge_data()
{
    QTest::addColumn<QString>("unit");
    QTest::addColumn<double>("max");
    QTest::addColumn<double>("min");
    QTest::addColumn<QString>("text");
    QTest::newRow("clear day in C")
        << "C" << 21.5 << 10.4 << QStringLiteral("\u2600\uFE0F 22\u00B0/10\u00B0");
    QTest::newRow("clear day in F")
        << "F" << 21.5 << 10.4 << QStringLiteral("\u2600\uFE0F 71\u00B0/51\u00B0");
    QTest::newRow("below zero") << "C" << -0.4 << -12.5
                                << QStringLiteral("\u2600\uFE0F 0\u00B0/-13\u00B0");
}

void TestWeatherService::badge()
{
    QFETCH(QString, unit);
    QFETCH(double, max);
    QFETCH(double, min);
    QFETCH(QString, text);
    DailyForecast day;
    day.maxC = max;
    day.minC = min;
    QCOMPARE(Weather::badgeText(day, unit), text);
}

QTEST_MAIN(TestWeatherService)
#include "tst_WeatherService.moc"
