#pragma once

// Shared pieces of the account tests: unsigned JSON Web Tokens and a token manager, REST client
// and sign-in client wired to one fake server, with a pinned clock.

#include "model/Clock.h"
#include "platform/TokenStore.h"
#include "services/account/ApiClient.h"
#include "services/account/AuthClient.h"
#include "services/account/TokenManager.h"
#include "support/FakeHttpServer.h"
#include "support/MemoryTokenStore.h"
#include "support/TestSupport.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <memory>

namespace AccountTest {

inline QByteArray base64Url(const QByteArray &bytes)
{
    return bytes.toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals);
}

// A token with the given payload; the signature is never checked by the client.
inline QString jwt(const QJsonObject &payload)
{
    const QByteArray header
        = QJsonDocument(QJsonObject {{QStringLiteral("alg"), QStringLiteral("none")}})
              .toJson(QJsonDocument::Compact);
    return QString::fromLatin1(base64Url(header) + '.'
                               + base64Url(QJsonDocument(payload).toJson(QJsonDocument::Compact))
                               + ".c2ln");
}

inline QString jwtExpiring(qint64 exp, const QJsonObject &extra = {})
{
    QJsonObject payload = extra;
    payload.insert(QStringLiteral("exp"), exp);
    return jwt(payload);
}

inline const QString serviceName = QStringLiteral("calendar-test");
inline const QString realmPath = QStringLiteral("/api/v1/realms/lark");

// A token manager over the in-memory store, a REST client for the sign-in API on the fake
// server and a sign-in client that installs the real renewal function.
struct Rig
{
    LarkTest::ScopedMemoryTokenStore secrets;
    LarkTest::FakeHttpServer server;
    LarkTest::TestClock clock {QDateTime(QDate(2026, 3, 2), QTime(9, 0), Qt::UTC)};
    Clock::Override pinned {[this] {
        return clock.now();
    }};
    std::unique_ptr<LarkAccount::TokenManager> tokens;
    std::unique_ptr<LarkAccount::ApiClient> api;
    std::unique_ptr<LarkAccount::AuthClient> auth;

    Rig()
    {
        (void)server.listen();
        tokens = std::make_unique<LarkAccount::TokenManager>(
            LarkAccount::createTokenStore(serviceName));
        api = std::make_unique<LarkAccount::ApiClient>(tokens.get());
        api->setBaseUrl(server.url(realmPath));
        api->setAppInfo(QStringLiteral("calendar.test"), QStringLiteral("1.3.4"),
                        QStringLiteral("windows"));
        auth = std::make_unique<LarkAccount::AuthClient>(
            server.url().toString(), QStringLiteral("lark"), QStringLiteral("client-1"), api.get(),
            tokens.get());
    }
    ~Rig()
    {
        auth.reset();
        api.reset();
        tokens.reset();
    }

    qint64 now() const { return clock.now().toSecsSinceEpoch(); }
    QString validToken(const QJsonObject &extra = {}) const
    {
        return jwtExpiring(now() + 3600, extra);
    }
    QString expiredToken() const { return jwtExpiring(now() - 10); }
    std::optional<QString> stored(const QString &key) const
    {
        return secrets.value(serviceName, key);
    }

    // The renewal endpoint answers with these tokens.
    void renewalAnswers(const QString &access, const QString &refresh)
    {
        QJsonObject body;
        if (!access.isNull())
            body.insert(QStringLiteral("access_token"), access);
        if (!refresh.isNull())
            body.insert(QStringLiteral("refresh_token"), refresh);
        server.route("POST", realmPath + QStringLiteral("/auth/token/refresh"),
                     LarkTest::FakeReply::json(200, body));
    }
    QList<LarkTest::RecordedRequest> renewals() const
    {
        return server.requestsTo("POST", realmPath + QStringLiteral("/auth/token/refresh"));
    }
};

// The outcome of one REST callback.
struct Outcome
{
    int calls = 0;
    bool ok = false;
    int status = -1;
    QJsonObject body;

    LarkAccount::ApiClient::Callback callback()
    {
        return [this](bool o, int s, const QJsonObject &b) {
            ++calls;
            ok = o;
            status = s;
            body = b;
        };
    }
};

} // namespace AccountTest
