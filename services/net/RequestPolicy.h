#pragma once

// What every request to a remote service is held to, whoever sends it: a silence timeout and a
// total deadline (a trickling server ends as a failure, never as a stuck run), a cap on the size
// of the reply, plain http to this machine only, and credentials only for the host they were
// given for (a redirect elsewhere is refused and logged). A client prepares its request here,
// sends it, hands the reply to watch() and, when it ends, asks failureOf() first: a reply the
// policy ended, one the server stopped sending or one cut short is a failure whatever its status,
// said in words the user can read, and nothing of its body counts.

#include <QDateTime>
#include <QLoggingCategory>
#include <QNetworkRequest>
#include <QString>
#include <QUrl>

Q_DECLARE_LOGGING_CATEGORY(lcNet)

class QNetworkAccessManager;
class QNetworkReply;

namespace Net {

enum class ReplyKind {
    Api, // listings, PROPFIND and every other API answer
    Token, // OAuth token replies: small by nature
};

struct Limits
{
    int silenceMs = 30000; // longest pause in a transfer
    int deadlineMs = 120000; // longest whole request, however steadily it trickles
    qint64 apiBytes = 20 * 1024 * 1024;
    qint64 tokenBytes = 64 * 1024;
};

Limits limits();

// Swaps the limits for as long as it lives, so that a test of a trickle or an oversized reply
// takes milliseconds. Not for the program itself: its limits are fixed.
class LimitsOverride
{
public:
    explicit LimitsOverride(const Limits &limits);
    ~LimitsOverride();
    LimitsOverride(const LimitsOverride &) = delete;
    LimitsOverride &operator=(const LimitsOverride &) = delete;

private:
    Limits m_saved;
};

// https anywhere, http only to this machine.
bool isAllowedAddress(const QUrl &url);
// Same scheme, host and port: what was given for one may go to the other.
bool sameOrigin(const QUrl &a, const QUrl &b);

// The request for url with the silence timeout, and redirects left to watch(). Callers that
// follow redirects themselves set the manual policy afterwards.
QNetworkRequest request(const QUrl &url);

// Sends verb with body. Without a body nothing is handed over to upload: Qt reads even an empty
// upload through a device on this thread, and a server that answers before that read is done
// leaves the answer unread on the connection until the silence timeout.
QNetworkReply *send(QNetworkAccessManager *network, QNetworkRequest request, const QByteArray &verb,
                    const QByteArray &body);

// Holds a sent reply to the deadline and the size cap of its kind, reading its body as it comes
// (so that an endless reply cannot fill memory before it is stopped, and a large one never waits
// on a full buffer), and follows a redirect only within the origin it was sent to.
void watch(QNetworkReply *reply, ReplyKind kind);

// The body of a watched reply: what watch() read as it came and what is left. Taken once.
QByteArray body(QNetworkReply *reply);

// The failure of a request whose server redirected it to another address.
QString redirectRefusedText();

// Why the reply did not arrive whole: the policy ended it, the server stopped answering (the
// silence timeout), or the transfer broke after the server began to answer. Empty when it
// arrived whole, whatever its status, and when no server answered at all (the caller names that).
QString failureOf(const QNetworkReply *reply);

// The HTTP status of a reply that arrived whole; 0 when failureOf() names a failure or no server
// answered.
int statusOf(const QNetworkReply *reply);

// What a message says instead of a status when no server answered.
QString noAnswerText();

// A failure named by the answer's status (withStatus holds "%1" for it); when no server answered,
// the reason there was none (noAnswerText() when it is not known): never "HTTP 0".
QString statusFailure(const QString &withStatus, int status, const QString &noAnswer = {});

// A Retry-After header: a number of seconds or an HTTP date.
struct RetryAfter
{
    // The longest wait either form may ask for: a day. A source that wants longer answers the
    // next try the same way, while a wrong or hostile header keeps the account away a day at
    // most.
    static constexpr qint64 longestSecs = 24 * 3600;

    qint64 seconds = -1; // when given as seconds
    QDateTime at; // when given as a date

    bool isValid() const { return seconds >= 0 || at.isValid(); }
    // The time it names, counted from now; invalid when the header said nothing usable.
    QDateTime from(const QDateTime &now) const;
};
RetryAfter readRetryAfter(const QByteArray &header);

// The reason a service asked to wait, with when the next try will be when it said so.
QString withNextTry(const QString &reason, const QDateTime &when);

} // namespace Net
