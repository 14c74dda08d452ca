#include "services/oauth/LoopbackAuthService.h"

#include "model/Clock.h"
#include "platform/BrowserLauncher.h"
#include "services/net/RequestPolicy.h"

#include <QCryptographicHash>
#include <QHostAddress>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRandomGenerator>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrlQuery>

#include <cmath>
#include <memory>
#include <vector>

namespace OAuth {

namespace {

QByteArray base64Url(const QByteArray &bytes)
{
    return bytes.toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals);
}

const QByteArray kNotFoundReply = "HTTP/1.1 404 Not Found\r\n"
                                  "Content-Type: text/plain; charset=utf-8\r\n"
                                  "Content-Length: 0\r\n"
                                  "Connection: close\r\n\r\n";

void answer(QTcpSocket *socket, const QByteArray &page)
{
    socket->write(page);
    socket->flush();
    // Graceful: what was written still reaches the browser before the connection closes.
    socket->disconnectFromHost();
}

// The reply as it arrived, with a transport failure read as status 0 and no body.
TokenReply tokenReplyOf(QNetworkReply *reply)
{
    // A reply cut short or stalled is no answer, whatever its status.
    const int status = Net::statusOf(reply);
    return readTokenReply(status, status != 0 ? Net::body(reply) : QByteArray());
}

} // namespace

TokenReply readTokenReply(int status, const QByteArray &body)
{
    TokenReply out;
    out.status = status;
    out.body = body;
    if (!out.httpOk())
        return out;
    const QJsonObject json = QJsonDocument::fromJson(body).object();
    out.accessToken = json.value(QStringLiteral("access_token")).toString();
    out.refreshToken = json.value(QStringLiteral("refresh_token")).toString();
    out.idToken = json.value(QStringLiteral("id_token")).toString();
    const QJsonValue expiresIn = json.value(QStringLiteral("expires_in"));
    if (expiresIn.isDouble()) {
        const double secs = expiresIn.toDouble();
        if (std::trunc(secs) == secs && std::fabs(secs) <= 1e9)
            out.expiresInSecs = int(secs);
    }
    return out;
}

RedirectRequest readRedirectRequest(const QByteArray &requestLine)
{
    RedirectRequest out;
    const qsizetype first = requestLine.indexOf(' ');
    const qsizetype second = first < 0 ? -1 : requestLine.indexOf(' ', first + 1);
    if (second < 0)
        return out;
    const QByteArray method = requestLine.left(first);
    const QByteArray target = requestLine.mid(first + 1, second - first - 1);
    const QUrl url(QStringLiteral("http://127.0.0.1") + QString::fromLatin1(target));
    out.kind = RedirectRequest::Kind::OtherRequest;
    if (method != "GET" || !target.startsWith('/') || !url.isValid()
        || url.path() != QLatin1String("/"))
        return out;
    out.kind = RedirectRequest::Kind::Redirect;
    const QUrlQuery query(url.query(QUrl::FullyEncoded));
    const auto item = [&query](const char *key) {
        return query.queryItemValue(QString::fromLatin1(key), QUrl::FullyDecoded);
    };
    out.state = item("state");
    out.code = item("code");
    out.error = item("error");
    out.errorDescription = item("error_description");
    return out;
}

QString randomUrlSafeToken(int byteCount)
{
    std::vector<quint32> words(size_t((qMax(byteCount, 0) + 3) / 4));
    QRandomGenerator::system()->fillRange(words.data(), qsizetype(words.size()));
    const QByteArray bytes(reinterpret_cast<const char *>(words.data()), qMax(byteCount, 0));
    return QString::fromLatin1(base64Url(bytes));
}

QJsonObject decodeJwtPayload(const QString &token)
{
    const QStringList parts = token.split(QLatin1Char('.'), Qt::KeepEmptyParts);
    if (parts.size() < 2)
        return {};
    QByteArray payload = parts.at(1).toUtf8();
    while (payload.size() % 4 != 0)
        payload.append('=');
    return QJsonDocument::fromJson(QByteArray::fromBase64(payload, QByteArray::Base64UrlEncoding))
        .object();
}

QByteArray encodeForm(const FormItems &items)
{
    QByteArray out;
    for (const auto &item : items) {
        if (!out.isEmpty())
            out += '&';
        out += QUrl::toPercentEncoding(item.first) + '=' + QUrl::toPercentEncoding(item.second);
    }
    return out;
}

LoopbackAuthService::LoopbackAuthService(QObject *parent)
    : QObject(parent)
    , m_network(new QNetworkAccessManager(this))
{
    qRegisterMetaType<OAuth::SignInResult>();
}

LoopbackAuthService::~LoopbackAuthService() = default;

QByteArray LoopbackAuthService::successPage()
{
    return QByteArrayLiteral(
        "HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\nConnection: close\r\n\r\n"
        "<!DOCTYPE html><html><head><title>Larkspindle Calendar</title><style>"
        "body{font-family:-apple-system,system-ui,sans-serif;background:#1a1a1a;color:#eee;"
        "display:flex;align-items:center;justify-content:center;height:100vh;margin:0;}"
        "div{text-align:center;}h1{font-weight:500;}p{opacity:0.7;}</style></head><body><div>"
        "<h1>Sign-in complete</h1><p>You can close this tab and return to Larkspindle "
        "Calendar.</p></div><script>setTimeout(function(){window.close();},800);</script>"
        "</body></html>");
}

QByteArray LoopbackAuthService::failurePage()
{
    return QByteArrayLiteral(
        "HTTP/1.1 400 Bad Request\r\nContent-Type: text/html; charset=utf-8\r\n"
        "Connection: close\r\n\r\n"
        "<!DOCTYPE html><html><head><title>Sign-in failed</title><style>body{font-family:"
        "sans-serif;text-align:center;padding:40px;}</style></head><body><h1>Sign-in failed</h1>"
        "<p>Return to Larkspindle Calendar for details.</p></body></html>");
}

QString LoopbackAuthService::emailFrom(const QJsonObject &claims) const
{
    return claims.value(QStringLiteral("email")).toString();
}

QString LoopbackAuthService::codeChallenge() const
{
    return QString::fromLatin1(
        base64Url(QCryptographicHash::hash(m_codeVerifier.toUtf8(), QCryptographicHash::Sha256)));
}

void LoopbackAuthService::startSignIn()
{
    if (m_started || m_finished)
        return;
    m_started = true;
    if (!isConfigured()) {
        fail(failureText(Failure::NotConfigured));
        return;
    }
    m_listener = new QTcpServer(this);
    if (!m_listener->listen(QHostAddress::LocalHost, 0)) {
        fail(failureText(Failure::ListenFailed, m_listener->errorString()));
        return;
    }
    connect(m_listener, &QTcpServer::newConnection, this, &LoopbackAuthService::onNewConnection);
    m_redirectUri = QStringLiteral("http://127.0.0.1:%1").arg(m_listener->serverPort());
    m_codeVerifier = randomUrlSafeToken(64);
    m_state = randomUrlSafeToken(16);
    if (!BrowserLauncher::open(authorizationUrl()))
        fail(failureText(Failure::BrowserFailed));
}

void LoopbackAuthService::cancel()
{
    if (m_started)
        fail(tr("Sign-in cancelled."));
}

void LoopbackAuthService::onNewConnection()
{
    while (QTcpSocket *socket = m_listener->nextPendingConnection()) {
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        Net::readRequestLine(
            socket, this, m_idleTimeoutMs, maxRequestLineBytes,
            [this](QTcpSocket *s, const QByteArray &line) { onLoopbackRequest(s, line); });
    }
}

void LoopbackAuthService::onLoopbackRequest(QTcpSocket *socket, const QByteArray &requestLine)
{
    const RedirectRequest request = readRedirectRequest(requestLine);
    if (request.kind == RedirectRequest::Kind::Malformed) {
        answer(socket, failurePage());
        return;
    }
    // Only the redirect itself counts: a favicon fetch or a probe of another path leaves the
    // sign-in waiting.
    if (request.kind == RedirectRequest::Kind::OtherRequest) {
        answer(socket, kNotFoundReply);
        return;
    }
    // One redirect per sign-in: a late or second one is refused and exchanges nothing.
    if (m_finished || m_redirectTaken) {
        answer(socket, failurePage());
        return;
    }
    if (request.state != m_state) {
        // Any local process can reach the listener: only the browser, which knows the state,
        // may end the sign-in (a denial included).
        qWarning().noquote() << logTag() << "ignored a sign-in redirect with the wrong state";
        answer(socket, failurePage());
    } else if (!request.error.isEmpty()) {
        answer(socket, failurePage());
        fail(deniedText(request.error, request.errorDescription));
    } else if (request.code.isEmpty()) {
        answer(socket, failurePage());
        fail(failureText(Failure::NoCode));
    } else {
        answer(socket, successPage());
        m_redirectTaken = true;
        m_listener->close();
        exchangeCode(request.code);
    }
}

QNetworkReply *LoopbackAuthService::postForm(const FormItems &items)
{
    QNetworkRequest request = Net::request(tokenEndpoint());
    request.setHeader(QNetworkRequest::ContentTypeHeader,
                      QByteArrayLiteral("application/x-www-form-urlencoded"));
    QNetworkReply *reply = m_network->post(request, encodeForm(items));
    Net::watch(reply, Net::ReplyKind::Token);
    return reply;
}

void LoopbackAuthService::exchangeCode(const QString &code)
{
    QNetworkReply *reply = postForm(codeExchangeForm(code));
    connect(reply, &QNetworkReply::finished, this, [this, reply] { onTokenReply(reply); });
}

void LoopbackAuthService::onTokenReply(QNetworkReply *reply)
{
    reply->deleteLater();
    if (m_finished)
        return;
    const TokenReply token = tokenReplyOf(reply);
    if (token.status == 0) {
        fail(Net::statusFailure(QString(), 0, Net::failureOf(reply)));
    } else if (!token.httpOk()) {
        qWarning().noquote() << logTag() << "token exchange failed with HTTP status"
                             << token.status;
        fail(tr("Token exchange failed (HTTP %1): %2")
                 .arg(QString::number(token.status), QString::fromUtf8(token.body)));
    } else if (token.accessToken.isEmpty()) {
        fail(failureText(Failure::NoAccessToken));
    } else if (token.refreshToken.isEmpty()) {
        fail(failureText(Failure::NoRefreshToken));
    } else {
        const QJsonObject claims = decodeJwtPayload(token.idToken);
        SignInResult result;
        result.email = emailFrom(claims);
        result.name = claims.value(QStringLiteral("name")).toString();
        result.accessToken = token.accessToken;
        result.refreshToken = token.refreshToken;
        result.idToken = token.idToken;
        result.expiresAt = Clock::nowUtc().addSecs(token.expiresInSecs);
        succeed(result);
    }
}

void LoopbackAuthService::refreshAccessToken(const QString &refreshToken)
{
    if (!isConfigured()) {
        emit refreshFailed(failureText(Failure::RefreshNotConfigured));
        return;
    }
    QNetworkReply *reply = postForm(refreshForm(refreshToken));
    connect(reply, &QNetworkReply::finished, this, [this, reply] { onRefreshReply(reply); });
}

void LoopbackAuthService::onRefreshReply(QNetworkReply *reply)
{
    reply->deleteLater();
    const TokenReply token = tokenReplyOf(reply);
    if (token.status == 0) {
        emit refreshFailed(Net::statusFailure(QString(), 0, Net::failureOf(reply)));
    } else if (!token.httpOk()) {
        qWarning().noquote() << logTag() << "token refresh failed with HTTP status" << token.status;
        emit refreshFailed(tr("Token refresh failed (HTTP %1): %2")
                               .arg(QString::number(token.status), QString::fromUtf8(token.body)));
    } else if (token.accessToken.isEmpty()) {
        emit refreshFailed(failureText(Failure::RefreshWithoutAccessToken));
    } else {
        emit refreshSucceeded(token.accessToken, Clock::nowUtc().addSecs(token.expiresInSecs),
                              token.refreshToken);
    }
}

bool LoopbackAuthService::finish()
{
    if (m_finished)
        return false;
    m_finished = true;
    if (m_listener)
        m_listener->close();
    return true;
}

void LoopbackAuthService::fail(const QString &reason)
{
    if (finish())
        emit signInFailed(reason);
}

void LoopbackAuthService::succeed(const SignInResult &result)
{
    if (finish())
        emit signInSucceeded(result);
}

} // namespace OAuth
