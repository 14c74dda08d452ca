#include "services/update/ReleaseManifest.h"

#include <QJsonDocument>
#include <QJsonParseError>
#include <QLocale>
#include <QSysInfo>

#include <cmath>

namespace LarkUpdate {

bool Manifest::isValid() const
{
    return schema == 1 && !app.isEmpty() && !channel.isEmpty() && !artifacts.isEmpty();
}

QString requireString(const QJsonObject &object, const QString &key, QString *error)
{
    const QJsonValue value = object.value(key);
    if (value.isString())
        return value.toString();
    if (error && error->isEmpty())
        *error = QStringLiteral("missing or non-string field: %1").arg(key);
    return {};
}

Artifact parseArtifact(const QJsonObject &object, const QString &key, QString *error)
{
    Artifact artifact;
    artifact.version = requireString(object, QStringLiteral("version"), error);
    const QString releasedAt = requireString(object, QStringLiteral("released_at"), error);
    const QString url = requireString(object, QStringLiteral("url"), error);
    artifact.sha256 = requireString(object, QStringLiteral("sha256"), error);

    artifact.releasedAt = QDateTime::fromString(releasedAt, Qt::ISODate);
    artifact.url = QUrl(url, QUrl::TolerantMode);
    // Truncated toward zero; NaN and values beyond 64 bits cannot be a size.
    const double size = object.value(QStringLiteral("size")).toDouble(-1);
    artifact.size
        = std::isfinite(size) && std::fabs(size) < 9.0e18 ? static_cast<qint64>(size) : -1;
    artifact.mandatory = object.value(QStringLiteral("mandatory")).toBool(false);
    artifact.minUpgradableFrom = object.value(QStringLiteral("min_upgradable_from")).toString();
    const QString notes = object.value(QStringLiteral("release_notes_url")).toString();
    if (!notes.isEmpty())
        artifact.releaseNotesUrl = QUrl(notes, QUrl::TolerantMode);

    if (error && error->isEmpty()) {
        const bool ok = !artifact.version.isEmpty() && artifact.releasedAt.isValid()
            && artifact.url.isValid() && artifact.size >= 1 && artifact.sha256.size() == 64;
        if (!ok)
            *error = QStringLiteral("artifact %1 failed validation").arg(key);
    }
    return artifact;
}

Manifest parseManifest(const QByteArray &bytes, QString *error)
{
    QString local;
    QString &err = error ? *error : local;
    err.clear();
    Manifest manifest;

    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        err = QStringLiteral("JSON parse error: %1").arg(parseError.errorString());
        return manifest;
    }
    if (!document.isObject()) {
        err = QStringLiteral("manifest root is not a JSON object");
        return manifest;
    }
    const QJsonObject root = document.object();

    const QJsonValue schema = root.value(QStringLiteral("schema"));
    if (!schema.isDouble()) {
        err = QStringLiteral("missing or non-integer field: schema");
        return manifest;
    }
    // A fractional or out-of-range number is no schema we know; report it as written.
    manifest.schema = schema.toInt(0);
    if (manifest.schema != 1) {
        err = QStringLiteral("unsupported manifest schema: %1 (expected %2)")
                  .arg(QString::number(schema.toDouble(), 'g', QLocale::FloatingPointShortest))
                  .arg(1);
        return manifest;
    }

    manifest.app = requireString(root, QStringLiteral("app"), &err);
    manifest.channel = requireString(root, QStringLiteral("channel"), &err);
    if (!err.isEmpty())
        return manifest;

    const QJsonValue artifacts = root.value(QStringLiteral("artifacts"));
    if (!artifacts.isObject()) {
        err = QStringLiteral("missing or non-object field: artifacts");
        return manifest;
    }
    const QJsonObject members = artifacts.toObject();
    for (auto it = members.begin(); it != members.end(); ++it) {
        if (!it.value().isObject()) {
            err = QStringLiteral("artifact %1 is not an object").arg(it.key());
            return manifest;
        }
        const Artifact artifact = parseArtifact(it.value().toObject(), it.key(), &err);
        if (!err.isEmpty())
            return manifest;
        manifest.artifacts.insert(it.key(), artifact);
    }

    if (!manifest.isValid() && err.isEmpty())
        err = QStringLiteral("manifest failed validation");
    return manifest;
}

QString platformKeyFor(const QString &kernelType, const QString &cpuArchitecture)
{
    // Only an installer built for the system we run on may ever be offered.
    QString system;
    if (kernelType == QLatin1String("winnt"))
        system = QStringLiteral("windows");
    else if (kernelType == QLatin1String("linux"))
        system = QStringLiteral("linux");
    else if (kernelType == QLatin1String("darwin"))
        system = QStringLiteral("macos");
    QString architecture;
    if (cpuArchitecture == QLatin1String("x86_64"))
        architecture = QStringLiteral("x64");
    else if (cpuArchitecture == QLatin1String("arm64"))
        architecture = QStringLiteral("arm64");
    if (system.isEmpty() || architecture.isEmpty())
        return {};
    return system + QLatin1Char('-') + architecture;
}

QString platformKey()
{
    return platformKeyFor(QSysInfo::kernelType(), QSysInfo::currentCpuArchitecture());
}

} // namespace LarkUpdate
