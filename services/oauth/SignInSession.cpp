#include "services/oauth/SignInSession.h"

#include "model/Clock.h"

#include <QPointer>

#include <utility>

namespace OAuth {

SignInSession::SignInSession(int minimumLeftSecs, QObject *parent)
    : QObject(parent)
    , m_minimumLeftSecs(minimumLeftSecs)
{ }

void SignInSession::setTokens(const Tokens &tokens)
{
    ++m_generation;
    m_tokens = tokens;
}

QString SignInSession::accessToken(const QDateTime &now) const
{
    if (m_tokens.access.isEmpty() || !m_tokens.expiresAt.isValid())
        return {};
    // Whole seconds, so that a token's "exp" and a stored expiry read alike.
    const qint64 left = m_tokens.expiresAt.toSecsSinceEpoch() - now.toSecsSinceEpoch();
    return left >= m_minimumLeftSecs ? m_tokens.access : QString();
}

bool SignInSession::needsRenewal(const QDateTime &now) const
{
    return !m_tokens.refresh.isEmpty() && accessToken(now).isEmpty();
}

void SignInSession::ensureFresh(const QDateTime &now, Done done)
{
    if (!accessToken(now).isEmpty()) {
        if (done)
            done(Renewal::Renewed);
        return;
    }
    renew(std::move(done));
}

void SignInSession::refused(const QString &refusedToken, Done done)
{
    // Another request renewed it meanwhile (or one is renewing it): no second renewal.
    if (!m_inFlight && !refusedToken.isEmpty() && refusedToken != m_tokens.access) {
        if (done)
            done(Renewal::Renewed);
        return;
    }
    renew(std::move(done));
}

void SignInSession::renew(Done done)
{
    if (done)
        m_waiting.append(std::move(done));
    if (m_inFlight)
        return;
    if (m_tokens.refresh.isEmpty() || !m_renew) {
        m_failureReason.clear();
        finish(Renewal::Rejected);
        return;
    }
    m_inFlight = true;
    const quint64 generation = m_generation;
    // The answer may come after the session is gone (a reply outlives it at shutdown).
    const QPointer<SignInSession> self(this);
    Renewed renewed = [this, self, generation](const Tokens &fresh) {
        if (!self)
            return;
        if (generation != m_generation) {
            // Signed out or in anew meanwhile: the old renewal must not come back.
            finish(accessToken(Clock::nowUtc()).isEmpty() ? Renewal::Rejected : Renewal::Renewed);
            return;
        }
        // A reply without a refresh token keeps the one we have: losing it would sign the user
        // out at the next renewal.
        Tokens next = fresh;
        if (next.refresh.isEmpty())
            next.refresh = m_tokens.refresh;
        m_tokens = next;
        m_failureReason.clear();
        if (m_keep)
            m_keep(m_tokens);
        finish(Renewal::Renewed);
    };
    Failed failed = [this, self, generation](bool rejected, const QString &reason) {
        if (!self)
            return;
        if (generation != m_generation) {
            // The tokens it started from were replaced: its refusal says nothing about them.
            finish(accessToken(Clock::nowUtc()).isEmpty() ? Renewal::Failed : Renewal::Renewed);
            return;
        }
        m_failureReason = reason;
        finish(rejected ? Renewal::Rejected : Renewal::Failed);
    };
    m_renew(m_tokens.refresh, std::move(renewed), std::move(failed));
}

void SignInSession::finish(Renewal result)
{
    m_inFlight = false;
    // Taken out first: a caller may start the next renewal from its completion.
    const QList<Done> waiting = std::exchange(m_waiting, {});
    for (const Done &done : waiting)
        done(result);
}

} // namespace OAuth
