#pragma once

// One account's sign-in at a source, which every request of the account goes through: Google,
// Microsoft and the cloud account each keep one, with the same rules.
//   - The access token is used while it has at least the given seconds left (60 for Google and
//     Microsoft, 30 for the cloud account); after that it is renewed with the refresh token.
//   - A token the source refuses (401) is renewed once; the request goes again with the new one.
//     A request refused with a token that a renewal has replaced meanwhile goes again at once.
//   - At most one renewal is in flight however many requests wait for it; each waiting caller
//     hears its outcome once, in the order they asked.
//   - Only a failed renewal means "sign in again": Rejected when the source refused the refresh
//     token (or there is none), Failed for anything else (the tokens stay as they were).
// How a renewal is sent (the source's token request) and where the tokens are kept are the
// source's own; so are the texts its failures are told in.

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>

namespace OAuth {

enum class Renewal { Renewed, Rejected, Failed };

class SignInSession : public QObject
{
    Q_OBJECT
public:
    struct Tokens
    {
        QString access;
        QString refresh;
        QDateTime expiresAt; // UTC; invalid when unknown, and the access token is then not used
    };
    using Done = std::function<void(Renewal)>;
    // The source's answer to a renewal: the new tokens (an empty refresh token keeps the one
    // renewed with), or whether it refused the refresh token and why not.
    using Renewed = std::function<void(const Tokens &tokens)>;
    using Failed = std::function<void(bool rejected, const QString &reason)>;
    using Renew = std::function<void(const QString &refreshToken, Renewed renewed, Failed failed)>;
    // Stores renewed tokens (and says so when the store refuses them: they still serve the run).
    using Keep = std::function<void(const Tokens &tokens)>;

    explicit SignInSession(int minimumLeftSecs, QObject *parent = nullptr);

    void setRenewal(Renew renew) { m_renew = std::move(renew); }
    void setKeeper(Keep keep) { m_keep = std::move(keep); }

    // Replaces the tokens (loaded, signed in, or signed out with empty ones). A renewal under way
    // then stores nothing when it ends: a signed-out user stays signed out.
    void setTokens(const Tokens &tokens);
    const Tokens &tokens() const { return m_tokens; }

    // The access token while it has at least the minimum left at `now`; empty otherwise.
    QString accessToken(const QDateTime &now) const;
    // A refresh token to renew with, and no access token to use.
    bool needsRenewal(const QDateTime &now) const;

    // Renews now, or waits for the renewal under way.
    void renew(Done done);
    // Before a request: Renewed at once when the access token is good, else after a renewal.
    void ensureFresh(const QDateTime &now, Done done);
    // The source refused a request sent with `refusedToken`.
    void refused(const QString &refusedToken, Done done);

    // Why the latest renewal failed; empty after one that went through.
    QString failureReason() const { return m_failureReason; }

private:
    void finish(Renewal result);

    int m_minimumLeftSecs;
    Tokens m_tokens;
    Renew m_renew;
    Keep m_keep;
    bool m_inFlight = false;
    QList<Done> m_waiting;
    // Moves whenever the tokens are replaced, so that a renewal started before stores nothing.
    quint64 m_generation = 0;
    QString m_failureReason;
};

} // namespace OAuth
