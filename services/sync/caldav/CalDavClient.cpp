#include "services/sync/caldav/CalDavClient.h"

#include "services/net/RequestPolicy.h"

#include <QCryptographicHash>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslError>

Q_LOGGING_CATEGORY(lcCalDav, "calendar.caldav", QtWarningMsg)

namespace {

enum class TlsVerdict { None, Untrusted, PinMismatch };

bool isRedirect(int status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

QString shown(const QUrl &url)
{
    return url.toDisplayString(QUrl::RemoveUserInfo | QUrl::RemoveQuery);
}

} // namespace

struct CalDavClient::Pending
{
    QByteArray method;
    QUrl url;
    QByteArray body;
    QList<RawHeader> headers;
    Callback done;
    int hops = 0;
    TlsVerdict tls = TlsVerdict::None;
};

QByteArray CalDavClient::Response::header(const QByteArray &name) const
{
    for (const RawHeader &h : headers) {
        if (h.first.compare(name, Qt::CaseInsensitive) == 0)
            return h.second;
    }
    return {};
}

CalDavClient::CalDavClient(QObject *parent)
    : QObject(parent)
    , m_network(new QNetworkAccessManager(this))
{ }

void CalDavClient::setCredentials(const QString &userName, const QString &password)
{
    if (userName.isEmpty() && password.isEmpty()) {
        m_authorization.clear();
        return;
    }
    m_authorization
        = "Basic " + QString(userName + QLatin1Char(':') + password).toUtf8().toBase64();
}

void CalDavClient::setTrustedFingerprint(const QString &sha256)
{
    m_pin = normalizeFingerprint(sha256);
    if (!sha256.trimmed().isEmpty() && m_pin.isEmpty())
        qCWarning(lcCalDav) << "[CalDav] ignoring a pinned fingerprint that is not SHA-256";
}

QString CalDavClient::normalizeFingerprint(const QString &text)
{
    QString hex;
    for (const QChar c : text) {
        if (c == QLatin1Char(':') || c.isSpace())
            continue;
        const QChar lower = c.toLower();
        const bool digit = (lower >= QLatin1Char('0') && lower <= QLatin1Char('9'))
            || (lower >= QLatin1Char('a') && lower <= QLatin1Char('f'));
        if (!digit)
            return {};
        hex += lower;
    }
    return hex.size() == 64 ? hex : QString();
}

void CalDavClient::propfind(const QUrl &url, int depth, const QByteArray &body, Callback done)
{
    send("PROPFIND", url, body, {{"Depth", QByteArray::number(depth)}}, std::move(done));
}

void CalDavClient::send(const QByteArray &method, const QUrl &url, const QByteArray &body,
                        const QList<RawHeader> &headers, Callback done)
{
    if (!Net::isAllowedAddress(url)) {
        Response refused;
        refused.url = url;
        refused.error = url.scheme() == QLatin1String("http") && !url.host().isEmpty()
            ? tr("The server address must start with https://; without encryption the password "
                 "would travel in the clear.")
            : tr("The server address is not valid.");
        // Callbacks always come from the event loop, never from inside send().
        QMetaObject::invokeMethod(
            this, [done = std::move(done), refused] { done(refused); }, Qt::QueuedConnection);
        return;
    }
    // The credentials belong to the first address they are used for: the account's server.
    if (m_credentialOrigin.isEmpty())
        m_credentialOrigin = url;
    auto pending = std::make_shared<Pending>();
    pending->method = method;
    pending->url = url;
    pending->body = body;
    pending->headers = headers;
    pending->done = std::move(done);
    issue(pending);
}

void CalDavClient::issue(const std::shared_ptr<Pending> &pending)
{
    QNetworkRequest request = Net::request(pending->url);
    // Followed here instead: Qt would not resend a PROPFIND body to the new address.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);
    if (!m_authorization.isEmpty() && Net::sameOrigin(pending->url, m_credentialOrigin))
        request.setRawHeader("Authorization", m_authorization);
    if (!pending->body.isEmpty())
        request.setHeader(QNetworkRequest::ContentTypeHeader,
                          QByteArrayLiteral("application/xml; charset=utf-8"));
    for (const RawHeader &h : qAsConst(pending->headers))
        request.setRawHeader(h.first, h.second);
    pending->tls = TlsVerdict::None;

    qCDebug(lcCalDav).noquote() << "[CalDav]" << pending->method << shown(pending->url);
    QNetworkReply *reply = Net::send(m_network, request, pending->method, pending->body);
    Net::watch(reply, Net::ReplyKind::Api);
    connect(reply, &QNetworkReply::sslErrors, this,
            [this, reply, pending](const QList<QSslError> &errors) {
                QSslCertificate leaf = reply->sslConfiguration().peerCertificate();
                if (leaf.isNull() && !errors.isEmpty())
                    leaf = errors.first().certificate();
                const QString seen
                    = QString::fromLatin1(leaf.digest(QCryptographicHash::Sha256).toHex());
                if (!m_pin.isEmpty() && !leaf.isNull() && seen == m_pin) {
                    reply->ignoreSslErrors(errors);
                    return;
                }
                pending->tls = m_pin.isEmpty() ? TlsVerdict::Untrusted : TlsVerdict::PinMismatch;
                qCWarning(lcCalDav).noquote()
                    << "[CalDav] refusing the certificate of" << shown(pending->url)
                    << QStringLiteral("sha256=") + seen;
            });
    connect(reply, &QNetworkReply::finished, this,
            [this, reply, pending] { onFinished(reply, pending); });
}

void CalDavClient::onFinished(QNetworkReply *reply, const std::shared_ptr<Pending> &pending)
{
    reply->deleteLater();
    Response response;
    response.url = pending->url;
    const QString refused = Net::failureOf(reply);
    response.status = Net::statusOf(reply);
    if (response.status != 0)
        response.body = Net::body(reply);
    response.headers = reply->rawHeaderPairs();

    if (response.status == 0) {
        if (!refused.isEmpty())
            response.error = refused;
        else if (pending->tls == TlsVerdict::PinMismatch)
            response.error = tr("The server's certificate does not match the trusted certificate.");
        else if (pending->tls == TlsVerdict::Untrusted)
            response.error = tr("The server's certificate is not trusted.");
        else
            response.error = tr("Could not reach the server: %1").arg(reply->errorString());
        qCWarning(lcCalDav).noquote() << "[CalDav]" << pending->method << shown(pending->url)
                                      << "failed:" << reply->errorString();
        pending->done(response);
        return;
    }

    if (isRedirect(response.status) && !response.header("Location").isEmpty()) {
        const QUrl target = pending->url.resolved(
            QUrl::fromEncoded(response.header("Location").trimmed(), QUrl::TolerantMode));
        Response failure;
        failure.url = pending->url;
        if (pending->hops >= maxRedirects)
            failure.error = tr("The server redirected too many times.");
        else if (!target.isValid()
                 || (target.scheme() != QLatin1String("https")
                     && target.scheme() != QLatin1String("http")))
            failure.error = tr("The server redirected to an address that is not a web address.");
        else if (!Net::sameOrigin(pending->url, target))
            // The password is for the account's server only; another one may not have it.
            failure.error = Net::redirectRefusedText();
        if (!failure.error.isEmpty()) {
            qCWarning(lcCalDav).noquote() << "[CalDav] redirect from" << shown(pending->url) << "to"
                                          << shown(target) << "refused";
            pending->done(failure);
            return;
        }
        ++pending->hops;
        pending->url = target;
        issue(pending);
        return;
    }

    pending->done(response);
}

QString CalDavClient::failureReason(const Response &response)
{
    if (response.status == 0)
        return response.error;
    if (response.status == 401)
        return tr("The server did not accept the user name or password.");
    return tr("The server answered with HTTP status %1.").arg(response.status);
}
