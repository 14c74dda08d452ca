#pragma once

// Asks the release feed whether a newer release exists for this platform. One check is one GET
// of the channel's "latest.json" and ends in exactly one of the three signals. Nothing is
// downloaded or installed here.

#include "services/update/FeedAccess.h"
#include "services/update/ReleaseManifest.h"
#include "services/update/UpdateConfig.h"

#include <QObject>

class QNetworkAccessManager;
class QNetworkReply;

namespace LarkUpdate {

class Client : public QObject
{
    Q_OBJECT
public:
    explicit Client(const UpdateChannelConfig &config, QObject *parent = nullptr);

    // Starts one check; ignored while one is in flight. Configuration problems (and a feed that
    // is not configured at all) are reported before this returns.
    void checkForUpdates();
    // "latest.json" in the channel's folder.
    QUrl manifestUrl() const;

    bool isInFlight() const { return m_inFlight; }

signals:
    void updateAvailable(LarkUpdate::Artifact artifact);
    void upToDate();
    void checkFailed(QString reason);

private slots:
    void onManifestReply(QNetworkReply *reply);

private:
    UpdateChannelConfig m_config;
    QNetworkAccessManager *m_network;
    bool m_inFlight = false;
};

} // namespace LarkUpdate
