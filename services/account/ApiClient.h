#pragma once

// JSON over HTTP to one of the cloud service's APIs: the application headers, the bearer token,
// renewal of the token before a request and once after a 401, and one callback per request.

#include <QByteArray>
#include <QJsonObject>
#include <QObject>
#include <QString>
#include <QUrl>
#include <QUrlQuery>

#include <functional>

class QNetworkAccessManager;
class QNetworkReply;

namespace LarkAccount {

class TokenManager;

class ApiClient : public QObject
{
    Q_OBJECT
public:
    // ok: a reply with status 200..299 arrived, empty or a JSON object. status: 0 without an
    // HTTP status. body: the reply when it is a JSON object, else empty.
    // Status 0: no answer came. When the request policy ended it, the body's "message" says
    // why in words for the user ("The server's reply is too large"). A 2xx reply with a body
    // that is no JSON object is a failure (not ok) whose "message" says so.
    using Callback = std::function<void(bool ok, int status, const QJsonObject &body)>;

    ApiClient(TokenManager *tokens, QObject *parent = nullptr);

    void setBaseUrl(const QUrl &url);
    QUrl baseUrl() const { return m_baseUrl; }
    void setAppInfo(const QString &appId, const QString &appVersion, const QString &platform);

    // Paths start with "/" and are appended to the base URL's path. An argument placed in a
    // path goes through pathSegment so that "/" or "?" in it stay part of that one segment.
    void get(const QString &path, Callback callback, const QUrlQuery &query = {});
    void getWithoutAuth(const QString &path, Callback callback, const QUrlQuery &query = {});
    void post(const QString &path, const QJsonObject &body, Callback callback);
    void postWithoutAuth(const QString &path, const QJsonObject &body, Callback callback);
    void put(const QString &path, const QJsonObject &body, Callback callback);
    void patch(const QString &path, const QJsonObject &body, Callback callback);
    // With ifMatch, only while the resource still has that entity tag (412 otherwise).
    void deleteResource(const QString &path, Callback callback, const QString &ifMatch = {});
    // POST with whatever access token is stored, expired or not, and no renewal or retry:
    // used to sign out, where renewing first would be pointless.
    void postWithStoredToken(const QString &path, const QJsonObject &body, Callback callback);

    static QString pathSegment(const QString &value);
    // The reason of a failed request for the user: withStatus (holding "%1") filled with the
    // status, or the client's own words where it has them (no answer, an unreadable reply).
    static QString failureText(const QString &withStatus, int status, const QJsonObject &body);
    // A callback that hands only the ok flag on (an empty completion is allowed).
    static Callback okOnly(std::function<void(bool ok)> completion);

signals:
    void authenticationRequired();
    void networkError(const QString &message);
    // The server answered a request, whatever its status; before the request's callback runs.
    void answered();

private:
    enum class Auth { None, Renewing, StoredToken };

    void sendRequest(const QByteArray &verb, const QString &path, const QJsonObject &body,
                     Callback callback, const QUrlQuery &query, Auth auth,
                     const QByteArray &ifMatch = {});
    void executeRequest(const QByteArray &verb, const QUrl &url, const QByteArray &bytes,
                        const QString &accessToken, Callback callback, bool retry,
                        const QByteArray &ifMatch);
    void handleReply(QNetworkReply *reply, const QByteArray &verb, const QUrl &url,
                     const QByteArray &bytes, Callback callback, bool retry,
                     const QByteArray &ifMatch);
    void failLater(Callback callback);
    static QJsonObject transportFailure(const QString &reason);

    QNetworkAccessManager *m_network;
    TokenManager *m_tokens;
    QUrl m_baseUrl;
    QString m_appId;
    QString m_appVersion;
    QString m_platform;
};

} // namespace LarkAccount
