#pragma once

// Release-feed documents for the update tests.

#include "services/update/ReleaseManifest.h"
#include "support/FakeHttpServer.h"

#include <QJsonObject>

namespace FeedFixtures {

// The manifest key this machine reads its installer from.
inline QString ourKey()
{
    return LarkUpdate::platformKey();
}

// The object with changes applied; a null value removes the key.
inline QJsonObject patched(QJsonObject object, const QJsonObject &changes)
{
    for (auto it = changes.begin(); it != changes.end(); ++it) {
        if (it.value().isNull())
            object.remove(it.key());
        else
            object.insert(it.key(), it.value());
    }
    return object;
}

// An artifact object that passes validation, with changes applied.
inline QJsonObject artifact(const QString &version = QStringLiteral("1.4.0"),
                            const QJsonObject &changes = {})
{
    return patched(
        QJsonObject {
            {QStringLiteral("version"), version},
            {QStringLiteral("released_at"), QStringLiteral("2026-11-30T12:00:00Z")},
            {QStringLiteral("url"), QStringLiteral("https://dl.example/calendar-1.4.0.msi")},
            {QStringLiteral("size"), 123456},
            {QStringLiteral("sha256"), QString(64, u'0')},
        },
        changes);
}

// A schema 1 manifest of the calendar's stable channel.
inline QJsonObject manifest(const QJsonObject &artifacts)
{
    return QJsonObject {{QStringLiteral("schema"), 1},
                        {QStringLiteral("app"), QStringLiteral("calendar")},
                        {QStringLiteral("channel"), QStringLiteral("stable")},
                        {QStringLiteral("artifacts"), artifacts}};
}

inline LarkTest::FakeReply manifestReply(const QJsonObject &artifacts)
{
    return LarkTest::FakeReply::json(200, manifest(artifacts));
}

// A manifest offering one version for this platform only.
inline LarkTest::FakeReply offering(const QString &version, const QJsonObject &changes = {})
{
    return manifestReply({{ourKey(), artifact(version, changes)}});
}

} // namespace FeedFixtures
