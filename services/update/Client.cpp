#include "services/update/Client.h"

#include "services/net/RequestPolicy.h"
#include "services/update/Version.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>

namespace LarkUpdate {

Client::Client(const UpdateChannelConfig &config, QObject *parent)
    : QObject(parent)
    , m_config(config)
    , m_network(new QNetworkAccessManager(this))
{
    connect(m_network, &QNetworkAccessManager::finished, this, &Client::onManifestReply);
}

QUrl Client::manifestUrl() const
{
    return appendToPath(m_config.manifestBaseUrl, QStringLiteral("latest.json"));
}

void Client::checkForUpdates()
{
    if (m_inFlight) {
        qCDebug(lcLarkUpdate) << "check already in flight, ignoring";
        return;
    }
    if (m_config.manifestBaseUrl.isEmpty()) {
        // This build has no release feed: there is nothing to ask, and nothing is sent.
        qCDebug(lcLarkUpdate) << "no release feed configured, treating as up-to-date";
        emit upToDate();
        return;
    }
    if (!m_config.manifestBaseUrl.isValid()) {
        emit checkFailed(QStringLiteral("manifestBaseUrl is not valid"));
        return;
    }
    if (m_config.currentVersion.isEmpty()) {
        emit checkFailed(QStringLiteral("currentVersion is empty"));
        return;
    }
    m_inFlight = true;
    getFeed(m_network, manifestUrl(), m_config.product);
}

void Client::onManifestReply(QNetworkReply *reply)
{
    reply->deleteLater();
    m_inFlight = false;

    if (reply->error() != QNetworkReply::NoError) {
        const QString broken = Net::failureOf(reply);
        if (broken.isEmpty()
            && (reply->error() == QNetworkReply::ContentNotFoundError
                || Net::statusOf(reply) == 404)) {
            qCInfo(lcLarkUpdate) << "manifest 404, treating as up-to-date";
            emit upToDate();
        } else {
            emit checkFailed(QStringLiteral("network error: %1")
                                 .arg(broken.isEmpty() ? reply->errorString() : broken));
        }
        return;
    }

    QString error;
    const Manifest manifest = parseManifest(Net::body(reply), &error);
    if (!manifest.isValid()) {
        emit checkFailed(QStringLiteral("manifest invalid: %1").arg(error));
        return;
    }

    const QString key = platformKey();
    if (key.isEmpty()) {
        qCWarning(lcLarkUpdate) << "unknown platform, skipping update check";
        emit upToDate();
        return;
    }
    const auto found = manifest.artifacts.constFind(key);
    if (found == manifest.artifacts.constEnd()) {
        // The reader stops at the first broken artifact, so with an error our entry may simply
        // not have been read: that is no ground for saying we are up to date.
        if (!error.isEmpty()) {
            emit checkFailed(QStringLiteral("manifest invalid: %1").arg(error));
            return;
        }
        qCInfo(lcLarkUpdate) << "platform" << key << "not shipped in current manifest";
        emit upToDate();
        return;
    }
    const Artifact &artifact = found.value();

    const Version current = parseVersion(m_config.currentVersion);
    const Version latest = parseVersion(artifact.version);
    if (!versionLess(current, latest)) {
        emit upToDate();
        return;
    }
    if (!artifact.minUpgradableFrom.isEmpty()
        && versionLess(current, parseVersion(artifact.minUpgradableFrom))) {
        emit checkFailed(QStringLiteral("current version %1 is older than min_upgradable_from %2; "
                                        "please upgrade to an intermediate release first")
                             .arg(m_config.currentVersion, artifact.minUpgradableFrom));
        return;
    }
    emit updateAvailable(artifact);
}

} // namespace LarkUpdate
