#pragma once

// The release feed's "latest.json": which release is the latest for each platform. Reading is
// pure; the first problem found is reported as an English text (it ends up in logs and in the
// update check's failure reason).

#include <QDateTime>
#include <QHash>
#include <QJsonObject>
#include <QMetaType>
#include <QString>
#include <QUrl>

namespace LarkUpdate {

struct Artifact
{
    QString version;
    QDateTime releasedAt;
    QUrl url;
    qint64 size = 0;
    QString sha256;
    bool mandatory = false;
    QString minUpgradableFrom;
    QUrl releaseNotesUrl;
};

struct Manifest
{
    int schema = 0;
    QString app;
    QString channel;
    QHash<QString, Artifact> artifacts; // by platform key

    bool isValid() const;
};

// Reads manifest bytes. Stops at the first problem and leaves it in *error (cleared first);
// artifacts read before an artifact that fails stay in the result.
Manifest parseManifest(const QByteArray &bytes, QString *error = nullptr);

// Reads one artifact object. When error is given and still empty afterwards, the artifact was
// also checked: version set, release time and URL valid, size at least 1, 64-character sha256.
Artifact parseArtifact(const QJsonObject &object, const QString &key, QString *error = nullptr);

// The string under key, or an empty text; records "missing or non-string field: <key>" in
// *error unless an earlier problem is already there.
QString requireString(const QJsonObject &object, const QString &key, QString *error = nullptr);

// The manifest key of the running machine, "<system>-<architecture>" ("windows-x64",
// "linux-x64"), or empty where no installer is built for it.
QString platformKey();
// The same for a kernel type and CPU architecture as QSysInfo reports them.
QString platformKeyFor(const QString &kernelType, const QString &cpuArchitecture);

} // namespace LarkUpdate

Q_DECLARE_METATYPE(LarkUpdate::Artifact)
