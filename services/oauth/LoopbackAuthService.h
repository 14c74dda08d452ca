#pragma once

// The browser sign-in that Google and Microsoft share: OAuth 2.0 authorization code with PKCE
// (S256), the system browser, and a one-shot listener on 127.0.0.1 that takes the redirect.
// A provider says where to send the user, what its token requests carry and how it words its
// failures; everything else is here once.
//
// One object runs at most one interactive sign-in, which ends in exactly one of signInSucceeded
// or signInFailed. Refreshing an access token needs no sign-in and may run any number of times,
// each request ending in exactly one of refreshSucceeded or refreshFailed.

#include "services/net/RequestLine.h"

#include <QByteArray>
#include <QDateTime>
#include <QJsonObject>
#include <QList>
#include <QMetaType>
#include <QObject>
#include <QPair>
#include <QString>
#include <QUrl>

#include <functional>

class QNetworkAccessManager;
class QNetworkReply;
class QTcpServer;
class QTcpSocket;

namespace OAuth {

struct SignInResult
{
    QString email;
    QString name;
    QString accessToken;
    QString refreshToken;
    QString idToken;
    QDateTime expiresAt; // UTC
};

using FormItems = QList<QPair<QString, QString>>;

// What the listener makes of one request line ("GET /?state=...&code=... HTTP/1.1").
struct RedirectRequest
{
    enum class Kind {
        Malformed, // not "<method> <target> <version>"
        OtherRequest, // anything but a GET of "/"
        Redirect,
    };
    Kind kind = Kind::Malformed;
    // Percent-decoded query items of a redirect; empty when absent.
    QString state;
    QString code;
    QString error;
    QString errorDescription;
};
RedirectRequest readRedirectRequest(const QByteArray &requestLine);

// What a token endpoint answered. Status 0 stands for a transport failure. The tokens are read
// from a 2xx JSON body only; "expires_in" counts when it is a whole number, else one hour.
struct TokenReply
{
    int status = 0;
    QByteArray body;
    QString accessToken;
    QString refreshToken;
    QString idToken;
    int expiresInSecs = 3600;

    bool httpOk() const { return status >= 200 && status <= 299; }
};
TokenReply readTokenReply(int status, const QByteArray &body);

// byteCount bytes from the system's secure generator as unpadded base64url text.
QString randomUrlSafeToken(int byteCount);
// The claims of a JSON web token, unverified: they only name the user. Empty when unreadable.
QJsonObject decodeJwtPayload(const QString &token);
// Percent-encodes every key and value on its own ("+", "/", "=" and spaces included) and joins
// them as "k=v&k=v": the body of a form POST and the query of the authorization page.
QByteArray encodeForm(const FormItems &items);

class LoopbackAuthService : public QObject
{
    Q_OBJECT
public:
    // The longest request line the listener waits for, and how long a connection may take
    // to send it.
    static constexpr int maxRequestLineBytes = 8 * 1024;
    static constexpr int defaultIdleTimeoutMs = Net::defaultListenerIdleMs;

    explicit LoopbackAuthService(QObject *parent = nullptr);
    ~LoopbackAuthService() override;

    void startSignIn();
    // Ends a running sign-in as cancelled; nothing once it has ended.
    void cancel();
    void refreshAccessToken(const QString &refreshToken);

    void setIdleTimeout(int ms) { m_idleTimeoutMs = ms; }

    static QByteArray successPage();
    static QByteArray failurePage();

signals:
    void signInSucceeded(const OAuth::SignInResult &result);
    void signInFailed(const QString &reason);
    void refreshSucceeded(const QString &accessToken, const QDateTime &expiresAt,
                          const QString &maybeRotatedRefreshToken);
    void refreshFailed(const QString &reason);

protected:
    enum class Failure {
        NotConfigured,
        RefreshNotConfigured,
        ListenFailed, // detail: the listener's error
        BrowserFailed,
        NoCode,
        NoAccessToken,
        NoRefreshToken,
        RefreshWithoutAccessToken,
    };

    virtual bool isConfigured() const = 0;
    virtual QString logTag() const = 0;
    virtual QUrl authorizationUrl() const = 0;
    virtual QUrl tokenEndpoint() const = 0;
    virtual FormItems codeExchangeForm(const QString &code) const = 0;
    virtual FormItems refreshForm(const QString &refreshToken) const = 0;
    virtual QString failureText(Failure failure, const QString &detail = QString()) const = 0;
    // The reason of a redirect that carries "error".
    virtual QString deniedText(const QString &error, const QString &description) const = 0;
    // The e-mail address among the identity token's claims.
    virtual QString emailFrom(const QJsonObject &claims) const;

    // The running sign-in's values, for the provider's URL and forms.
    QString redirectUri() const { return m_redirectUri; }
    QString codeVerifier() const { return m_codeVerifier; }
    QString codeChallenge() const;
    QString state() const { return m_state; }

private:
    void onNewConnection();
    void onLoopbackRequest(QTcpSocket *socket, const QByteArray &requestLine);
    void exchangeCode(const QString &code);
    void onTokenReply(QNetworkReply *reply);
    void onRefreshReply(QNetworkReply *reply);
    QNetworkReply *postForm(const FormItems &items);
    void fail(const QString &reason);
    void succeed(const SignInResult &result);
    bool finish();

    QTcpServer *m_listener = nullptr;
    QNetworkAccessManager *m_network;
    QString m_codeVerifier;
    QString m_state;
    QString m_redirectUri;
    bool m_started = false;
    bool m_redirectTaken = false;
    bool m_finished = false;
    int m_idleTimeoutMs = defaultIdleTimeoutMs;
};

} // namespace OAuth

Q_DECLARE_METATYPE(OAuth::SignInResult)
