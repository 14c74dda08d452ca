#pragma once

// The HTTP side of one CalDAV account: Basic authorization on every request, an optional pinned
// server certificate, redirects followed by hand within the server (so that PROPFIND keeps its
// verb and body), and the common request policy (timeouts, size cap) on every request. Requests end
// in a callback with a Response, never in an exception; a request still running when the client
// goes is dropped without its callback.

#include <QByteArray>
#include <QList>
#include <QLoggingCategory>
#include <QObject>
#include <QPair>
#include <QString>
#include <QUrl>

#include <functional>
#include <memory>

Q_DECLARE_LOGGING_CATEGORY(lcCalDav)

class QNetworkAccessManager;
class QNetworkReply;

// The credential-store key of a CalDAV account's password.
inline QString caldavPasswordKey(const QString &accountId)
{
    return QStringLiteral("caldav-password-") + accountId;
}

class CalDavClient : public QObject
{
    Q_OBJECT
public:
    using RawHeader = QPair<QByteArray, QByteArray>;

    struct Response
    {
        int status = 0; // HTTP status; 0 when no answer came (see error)
        QByteArray body;
        QList<RawHeader> headers; // as received, names as sent by the server
        QString error; // readable reason when status is 0
        QUrl url; // the address that answered, after redirects

        bool isSuccess() const { return status >= 200 && status < 300; }
        // Case-insensitive header lookup; empty when absent.
        QByteArray header(const QByteArray &name) const;
    };
    using Callback = std::function<void(const Response &)>;

    static constexpr int maxRedirects = 5;

    explicit CalDavClient(QObject *parent);

    // Sent only to the origin of the first address the client is asked to reach, the
    // account's server.
    void setCredentials(const QString &userName, const QString &password);
    // SHA-256 of the server's leaf certificate, as hex digits with or without ":" separators.
    // A certificate that fails validation is accepted only when it matches this pin.
    void setTrustedFingerprint(const QString &sha256);
    QString trustedFingerprint() const { return m_pin; }

    // Any verb; headers are added to the authorization and the content type of a body.
    void send(const QByteArray &method, const QUrl &url, const QByteArray &body,
              const QList<RawHeader> &headers, Callback done);
    // PROPFIND with a Depth header (0, 1) and an XML body.
    void propfind(const QUrl &url, int depth, const QByteArray &body, Callback done);

    // A readable reason for a response that is not a success.
    static QString failureReason(const Response &response);
    // Lower-case hex digits without separators; empty when text is not 32 bytes of hex.
    static QString normalizeFingerprint(const QString &text);

private:
    struct Pending;
    void issue(const std::shared_ptr<Pending> &pending);
    void onFinished(QNetworkReply *reply, const std::shared_ptr<Pending> &pending);

    QNetworkAccessManager *m_network;
    QByteArray m_authorization;
    QString m_pin;
    QUrl m_credentialOrigin;
};
