#include "services/net/RequestPolicy.h"

#include "platform/Endpoints.h"

#include <QCoreApplication>
#include <QLocale>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPointer>
#include <QTimeZone>
#include <QTimer>

#include <algorithm>
#include <utility>

Q_LOGGING_CATEGORY(lcNet, "calendar.net", QtInfoMsg)

namespace Net {

namespace {

Limits &current()
{
    static Limits limits;
    return limits;
}

// The reason is kept on the reply itself: it is read in the reply's own finished handler.
constexpr const char *kFailureProperty = "larkNetFailure";

// What Qt may hold of a reply between two reads of it.
constexpr qint64 kReadBuffer = 1024 * 1024;

constexpr const char *kReceivedName = "larkNetReceived";

// The body as far as it came, taken off Qt's buffer at every readyRead: Qt stops reading the
// connection while its buffer is full, so a reply left unread until it ends would stall there
// and end as a silent server instead of arriving or being stopped at the cap.
class Received : public QObject
{
public:
    explicit Received(QObject *parent)
        : QObject(parent)
    {
        setObjectName(QLatin1String(kReceivedName));
    }
    QByteArray bytes;
};

Received *receivedOf(const QNetworkReply *reply)
{
    return dynamic_cast<Received *>(
        reply->findChild<QObject *>(QLatin1String(kReceivedName), Qt::FindDirectChildrenOnly));
}

QString shown(const QUrl &url)
{
    return url.toDisplayString(QUrl::RemoveUserInfo | QUrl::RemovePath | QUrl::RemoveQuery
                               | QUrl::RemoveFragment);
}

enum class Abort { Queued, Now };

void endWith(QNetworkReply *reply, const QString &reason, Abort when = Abort::Queued)
{
    if (!reply->property(kFailureProperty).toString().isEmpty() || reply->isFinished())
        return;
    reply->setProperty(kFailureProperty, reason);
    if (when == Abort::Now) {
        reply->abort();
        return;
    }
    // Not from inside a signal that runs before the body: it finishes on the next turn instead.
    QMetaObject::invokeMethod(reply, &QNetworkReply::abort, Qt::QueuedConnection);
}

QString tooLarge()
{
    return QCoreApplication::translate("Net", "The server's reply is too large");
}

} // namespace

Limits limits()
{
    return current();
}

LimitsOverride::LimitsOverride(const Limits &limits)
    : m_saved(current())
{
    current() = limits;
}

LimitsOverride::~LimitsOverride()
{
    current() = m_saved;
}

bool isAllowedAddress(const QUrl &url)
{
    return Endpoints::isSecureOrLoopback(url);
}

bool sameOrigin(const QUrl &a, const QUrl &b)
{
    const int defaultA = a.scheme() == QLatin1String("https") ? 443 : 80;
    const int defaultB = b.scheme() == QLatin1String("https") ? 443 : 80;
    return a.scheme() == b.scheme() && a.host().compare(b.host(), Qt::CaseInsensitive) == 0
        && a.port(defaultA) == b.port(defaultB);
}

QNetworkRequest request(const QUrl &url)
{
    QNetworkRequest request(url);
    request.setTransferTimeout(current().silenceMs);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::UserVerifiedRedirectPolicy);
    return request;
}

QNetworkReply *send(QNetworkAccessManager *network, QNetworkRequest request, const QByteArray &verb,
                    const QByteArray &body)
{
    if (!body.isEmpty())
        return network->sendCustomRequest(request, verb, body);
    if (verb == "GET")
        return network->get(request);
    if (verb == "DELETE")
        return network->deleteResource(request);
    request.setHeader(QNetworkRequest::ContentLengthHeader, 0);
    return network->sendCustomRequest(request, verb, static_cast<QIODevice *>(nullptr));
}

void watch(QNetworkReply *reply, ReplyKind kind)
{
    const Limits limits = current();
    const qint64 cap = kind == ReplyKind::Token ? limits.tokenBytes : limits.apiBytes;
    auto *deadline = new QTimer(reply);
    deadline->setSingleShot(true);
    QObject::connect(deadline, &QTimer::timeout, reply, [reply] {
        qCWarning(lcNet).noquote()
            << "request to" << shown(reply->url()) << "ran past its deadline";
        endWith(reply,
                QCoreApplication::translate("Net", "The server did not finish its reply in time."));
    });
    deadline->start(limits.deadlineMs);
    QObject::connect(reply, &QNetworkReply::finished, deadline, &QTimer::stop);

    // Bounds what waits in Qt between two reads. A request with a body starts on the next turn
    // of the event loop, and a size set before then never reaches the connection: set again then.
    reply->setReadBufferSize(kReadBuffer);
    QMetaObject::invokeMethod(
        reply, [reply] { reply->setReadBufferSize(kReadBuffer); }, Qt::QueuedConnection);
    const auto checkSize = [reply, cap](qint64 size, Abort when) {
        if (size <= cap || !reply->property(kFailureProperty).toString().isEmpty())
            return;
        qCWarning(lcNet).noquote()
            << "reply of" << shown(reply->url()) << "is over" << cap << "bytes";
        endWith(reply, tooLarge(), when);
    };
    // The announced length fails the request before any of the body is held.
    QObject::connect(reply, &QNetworkReply::metaDataChanged, reply, [reply, checkSize] {
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid())
            checkSize(length.toLongLong(), Abort::Queued);
    });
    // Read as the bytes arrive, and stopped there once over the cap: a turn of the event loop
    // later the connection may have brought many more.
    auto *received = new Received(reply);
    QObject::connect(reply, &QNetworkReply::readyRead, received, [reply, received, checkSize] {
        if (!reply->isOpen())
            return;
        const QByteArray more = reply->readAll();
        if (!reply->property(kFailureProperty).toString().isEmpty()) {
            received->bytes.clear();
            return;
        }
        received->bytes += more;
        checkSize(received->bytes.size(), Abort::Now);
    });

    // Taken now: by the time a redirect is reported the reply already names its target.
    const QUrl origin = reply->url();
    QObject::connect(reply, &QNetworkReply::redirected, reply, [reply, origin](const QUrl &target) {
        if (sameOrigin(origin, target)) {
            emit reply->redirectAllowed();
            return;
        }
        // The request carries credentials meant for its own host only.
        qCWarning(lcNet).noquote()
            << "redirect from" << shown(origin) << "to" << shown(target) << "refused";
        endWith(reply, redirectRefusedText());
    });
}

QByteArray body(QNetworkReply *reply)
{
    if (!reply)
        return {};
    QByteArray out;
    if (Received *received = receivedOf(reply))
        out = std::exchange(received->bytes, QByteArray());
    if (reply->isOpen())
        out += reply->readAll();
    return out;
}

QString redirectRefusedText()
{
    return QCoreApplication::translate(
        "Net", "The server redirected to another address; the request was not sent there.");
}

QString failureOf(const QNetworkReply *reply)
{
    if (!reply)
        return {};
    const QString ended = reply->property(kFailureProperty).toString();
    if (!ended.isEmpty())
        return ended;
    const QNetworkReply::NetworkError error = reply->error();
    // Nothing but the silence timeout cancels a reply the policy did not end.
    if (error == QNetworkReply::OperationCanceledError || error == QNetworkReply::TimeoutError)
        return QCoreApplication::translate("Net", "The server stopped answering.");
    // Errors below 200 are the connection's (and its proxy's); a broken protocol counts too. With
    // a status the server had begun to answer, so what came is only a part of the reply.
    const bool transport = (error > QNetworkReply::NoError && error < 200)
        || error == QNetworkReply::ProtocolFailure;
    if (transport && reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid())
        return QCoreApplication::translate("Net", "The reply was cut short.");
    return {};
}

int statusOf(const QNetworkReply *reply)
{
    if (!reply || !failureOf(reply).isEmpty())
        return 0;
    return reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
}

QString noAnswerText()
{
    return QCoreApplication::translate("Net", "no answer from the server");
}

QString statusFailure(const QString &withStatus, int status, const QString &noAnswer)
{
    if (status != 0)
        return withStatus.arg(status);
    return noAnswer.isEmpty() ? noAnswerText() : noAnswer;
}

RetryAfter readRetryAfter(const QByteArray &header)
{
    RetryAfter out;
    const QByteArray text = header.trimmed();
    if (text.isEmpty())
        return out;
    bool ok = false;
    const qint64 seconds = text.toLongLong(&ok);
    if (ok) {
        if (seconds >= 0)
            out.seconds = std::min(seconds, RetryAfter::longestSecs);
        return out;
    }
    // The HTTP date: "Sun, 06 Nov 1994 08:49:37 GMT", always in English and always in GMT.
    QDateTime at = QLocale::c().toDateTime(QString::fromLatin1(text),
                                           QStringLiteral("ddd, dd MMM yyyy HH:mm:ss 'GMT'"));
    if (at.isValid()) {
        at.setTimeZone(QTimeZone::utc());
        out.at = at;
    }
    return out;
}

QDateTime RetryAfter::from(const QDateTime &now) const
{
    if (seconds >= 0)
        return now.addSecs(std::min(seconds, longestSecs));
    if (!at.isValid())
        return {};
    // A date already past asks for nothing more than the next normal run.
    return at > now ? std::min(at, now.addSecs(longestSecs)) : QDateTime();
}

QString withNextTry(const QString &reason, const QDateTime &when)
{
    if (!when.isValid())
        return reason;
    const QLocale locale;
    return QCoreApplication::translate("Net", "%1 The next try will be at %2.")
        .arg(reason, locale.toString(when.toLocalTime(), QLocale::ShortFormat));
}

} // namespace Net
