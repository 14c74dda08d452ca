#pragma once

// City search for the weather settings: asks the geocoding service for places matching a name.
// Only the latest search is answered: a reply to a search that a newer one replaced is dropped,
// so what the caller shows always belongs to the last text it searched for.

#include <QList>
#include <QObject>
#include <QString>

class QNetworkAccessManager;
class QNetworkReply;

namespace Weather {

struct GeocodingResult
{
    QString displayName; // "Springfield, Illinois, US"
    double latitude = 0;
    double longitude = 0;
};

class GeocodingClient : public QObject
{
    Q_OBJECT
public:
    explicit GeocodingClient(QObject *parent = nullptr);

    // A blank query completes at once with no matches and sends nothing.
    void search(const QString &query, int count);

signals:
    void completed(const QList<Weather::GeocodingResult> &matches);
    void failed(const QString &reason);

private:
    void onReply(QNetworkReply *reply, quint64 generation);

    QNetworkAccessManager *m_network;
    quint64 m_generation = 0;
};

// The matches of a reply body, in its order; anything unreadable gives none.
QList<GeocodingResult> parseGeocodingResults(const QByteArray &body);

} // namespace Weather
