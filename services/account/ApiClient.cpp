#include "services/account/ApiClient.h"

#include "model/ContentLine.h"
#include "services/account/TokenManager.h"
#include "services/net/RequestPolicy.h"

#include <QJsonDocument>
#include <QLoggingCategory>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QTimer>

#include <optional>

namespace LarkAccount {

namespace {

// Event texts travel in JSON strings; one that some writer folded through a multi-byte character
// would make the whole answer unreadable. Nullopt when the data is no JSON object.
std::optional<QJsonObject> jsonObjectOf(const QByteArray &data)
{
    QJsonParseError error;
    QJsonDocument document = QJsonDocument::fromJson(data, &error);
    if (error.error == QJsonParseError::IllegalUTF8String)
        document = QJsonDocument::fromJson(joinFoldSplitCharactersInJson(data));
    if (!document.isObject())
        return std::nullopt;
    return document.object();
}

} // namespace

ApiClient::ApiClient(TokenManager *tokens, QObject *parent)
    : QObject(parent)
    , m_network(new QNetworkAccessManager(this))
    , m_tokens(tokens)
{ }

void ApiClient::setBaseUrl(const QUrl &url)
{
    m_baseUrl = url;
}

void ApiClient::setAppInfo(const QString &appId, const QString &appVersion, const QString &platform)
{
    m_appId = appId;
    m_appVersion = appVersion;
    m_platform = platform;
}

QString ApiClient::pathSegment(const QString &value)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(value));
}

ApiClient::Callback ApiClient::okOnly(std::function<void(bool ok)> completion)
{
    return [completion = std::move(completion)](bool ok, int, const QJsonObject &) {
        if (completion)
            completion(ok);
    };
}

void ApiClient::get(const QString &path, Callback callback, const QUrlQuery &query)
{
    sendRequest("GET", path, {}, std::move(callback), query, Auth::Renewing);
}

void ApiClient::getWithoutAuth(const QString &path, Callback callback, const QUrlQuery &query)
{
    sendRequest("GET", path, {}, std::move(callback), query, Auth::None);
}

void ApiClient::post(const QString &path, const QJsonObject &body, Callback callback)
{
    sendRequest("POST", path, body, std::move(callback), {}, Auth::Renewing);
}

void ApiClient::postWithoutAuth(const QString &path, const QJsonObject &body, Callback callback)
{
    sendRequest("POST", path, body, std::move(callback), {}, Auth::None);
}

void ApiClient::put(const QString &path, const QJsonObject &body, Callback callback)
{
    sendRequest("PUT", path, body, std::move(callback), {}, Auth::Renewing);
}

void ApiClient::patch(const QString &path, const QJsonObject &body, Callback callback)
{
    sendRequest("PATCH", path, body, std::move(callback), {}, Auth::Renewing);
}

void ApiClient::deleteResource(const QString &path, Callback callback, const QString &ifMatch)
{
    sendRequest("DELETE", path, {}, std::move(callback), {}, Auth::Renewing, ifMatch.toUtf8());
}

void ApiClient::postWithStoredToken(const QString &path, const QJsonObject &body, Callback callback)
{
    sendRequest("POST", path, body, std::move(callback), {}, Auth::StoredToken);
}

void ApiClient::failLater(Callback callback)
{
    if (!callback)
        return;
    QTimer::singleShot(0, this, [callback = std::move(callback)] { callback(false, 0, {}); });
}

void ApiClient::sendRequest(const QByteArray &verb, const QString &path, const QJsonObject &body,
                            Callback callback, const QUrlQuery &query, Auth auth,
                            const QByteArray &ifMatch)
{
    // No address configured for this service: nothing may leave the machine.
    if (m_baseUrl.isEmpty() || !m_baseUrl.isValid() || m_baseUrl.host().isEmpty()) {
        failLater(std::move(callback));
        return;
    }
    QUrl url = m_baseUrl;
    // Tolerant mode keeps the escapes of pathSegment and escapes what a path cannot hold.
    url.setPath(m_baseUrl.path(QUrl::FullyEncoded) + path, QUrl::TolerantMode);
    if (!query.isEmpty()) {
        // Each key and value fully percent-encoded: QUrlQuery leaves "+" as it is, and a
        // form-decoding server reads that as a space ("+02:00" in a cursor).
        QString encoded;
        for (const auto &[key, value] : query.queryItems(QUrl::FullyDecoded)) {
            if (!encoded.isEmpty())
                encoded += QLatin1Char('&');
            encoded += QString::fromLatin1(QUrl::toPercentEncoding(key)) + QLatin1Char('=')
                + QString::fromLatin1(QUrl::toPercentEncoding(value));
        }
        url.setQuery(encoded, QUrl::StrictMode);
    }
    const QByteArray bytes
        = body.isEmpty() ? QByteArray() : QJsonDocument(body).toJson(QJsonDocument::Compact);

    if (auth == Auth::None || !m_tokens) {
        executeRequest(verb, url, bytes, {}, std::move(callback), false, ifMatch);
        return;
    }
    if (auth == Auth::StoredToken) {
        executeRequest(verb, url, bytes, m_tokens->storedAccessToken(), std::move(callback), false,
                       ifMatch);
        return;
    }
    if (!m_tokens->needsRefresh()) {
        executeRequest(verb, url, bytes, m_tokens->accessToken(), std::move(callback), true,
                       ifMatch);
        return;
    }
    qDebug().noquote() << "ApiClient: token needs refresh before" << verb << url.path();
    const QPointer<ApiClient> self(this);
    m_tokens->refresh([this, self, verb, url, bytes, callback, ifMatch](RefreshResult result) {
        if (!self)
            return;
        if (result == RefreshResult::Success) {
            executeRequest(verb, url, bytes, m_tokens->accessToken(), callback, true, ifMatch);
            return;
        }
        const bool rejected = result == RefreshResult::Rejected;
        qWarning().noquote() << "ApiClient: token refresh"
                             << (rejected ? "rejected" : "failed (transient)") << "for" << verb
                             << url.path();
        if (rejected)
            emit authenticationRequired();
        if (callback)
            callback(false, rejected ? 401 : 0, {});
    });
}

void ApiClient::executeRequest(const QByteArray &verb, const QUrl &url, const QByteArray &bytes,
                               const QString &accessToken, Callback callback, bool retry,
                               const QByteArray &ifMatch)
{
    QNetworkRequest request = Net::request(url);
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/json"));
    request.setRawHeader("Accept", "application/json");
    if (!m_appId.isEmpty())
        request.setRawHeader("X-App-Id", m_appId.toUtf8());
    if (!m_appVersion.isEmpty())
        request.setRawHeader("X-App-Version", m_appVersion.toUtf8());
    if (!m_platform.isEmpty())
        request.setRawHeader("X-Platform", m_platform.toUtf8());
    if (!accessToken.isEmpty())
        request.setRawHeader("Authorization", "Bearer " + accessToken.toUtf8());
    if (!ifMatch.isEmpty())
        request.setRawHeader("If-Match", ifMatch);

    QNetworkReply *reply = nullptr;
    if (verb == "GET")
        reply = m_network->get(request);
    else if (verb == "POST")
        reply = m_network->post(request, bytes);
    else if (verb == "PUT")
        reply = m_network->put(request, bytes);
    else if (verb == "PATCH")
        reply = m_network->sendCustomRequest(request, verb, bytes);
    else if (verb == "DELETE")
        reply = m_network->deleteResource(request);
    if (!reply) {
        if (callback)
            callback(false, 0, {});
        return;
    }
    // Token answers are small; anything else may be a long listing.
    const bool tokens = url.path().endsWith(QLatin1String("/auth/token/refresh"));
    Net::watch(reply, tokens ? Net::ReplyKind::Token : Net::ReplyKind::Api);
    connect(reply, &QNetworkReply::finished, this,
            [this, reply, verb, url, bytes, callback = std::move(callback), retry, ifMatch] {
                handleReply(reply, verb, url, bytes, callback, retry, ifMatch);
            });
}

QJsonObject ApiClient::transportFailure(const QString &reason)
{
    if (reason.isEmpty())
        return {};
    return {{QStringLiteral("message"), reason}};
}

void ApiClient::handleReply(QNetworkReply *reply, const QByteArray &verb, const QUrl &url,
                            const QByteArray &bytes, Callback callback, bool retry,
                            const QByteArray &ifMatch)
{
    reply->deleteLater();
    const QString refused = Net::failureOf(reply);
    const int status = Net::statusOf(reply);
    const QByteArray data = status == 0 ? QByteArray() : Net::body(reply);
    const bool empty = data.trimmed().isEmpty();
    const std::optional<QJsonObject> read = empty ? std::nullopt : jsonObjectOf(data);
    const QJsonObject json = read.value_or(QJsonObject());
    if (status != 0)
        emit answered();

    if (status == 401 && retry && m_tokens) {
        const QPointer<ApiClient> self(this);
        m_tokens->refresh([this, self, verb, url, bytes, callback, ifMatch](RefreshResult result) {
            if (!self)
                return;
            switch (result) {
            case RefreshResult::Success:
                executeRequest(verb, url, bytes, m_tokens->accessToken(), callback, false, ifMatch);
                return;
            case RefreshResult::Rejected:
                emit authenticationRequired();
                if (callback)
                    callback(false, 401, {});
                return;
            case RefreshResult::TransientFailure:
                if (callback)
                    callback(false, 0, {});
                return;
            }
        });
        return;
    }
    if (!refused.isEmpty() || (reply->error() != QNetworkReply::NoError && status == 0)) {
        emit networkError(refused.isEmpty() ? reply->errorString() : refused);
        if (callback)
            callback(false, 0, transportFailure(refused));
        return;
    }
    const bool success = status >= 200 && status <= 299;
    if (success && !empty && !read) {
        // Passed on as an empty answer, it would read as "nothing changed": a pull of it would
        // bring nothing and report success.
        qWarning().noquote() << "ApiClient: unreadable reply to" << verb << url.path();
        if (callback)
            callback(
                false, status,
                {{QStringLiteral("message"), tr("The server sent a reply that cannot be read.")}});
        return;
    }
    if (callback)
        callback(success, status, json);
}

QString ApiClient::failureText(const QString &withStatus, int status, const QJsonObject &body)
{
    const QString ownWords = body.value(QLatin1String("message")).toString();
    // An answer that came but could not be read is said as such, not by its status.
    if (status >= 200 && status <= 299 && !ownWords.isEmpty())
        return ownWords;
    return Net::statusFailure(withStatus, status, ownWords);
}

} // namespace LarkAccount
