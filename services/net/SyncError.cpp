#include "services/net/SyncError.h"

namespace Net {

Sync::ErrorKind syncErrorKind(int status, std::optional<Sync::ErrorKind> sourceKind)
{
    using Sync::ErrorKind;
    if (sourceKind)
        return *sourceKind;
    switch (status) {
    case 0:
        return ErrorKind::Network;
    case 401:
        return ErrorKind::Auth;
    case 404:
        return ErrorKind::NotFound;
    case 410:
        return ErrorKind::Gone;
    case 412:
        return ErrorKind::Conflict;
    case 429:
        return ErrorKind::RateLimited;
    default:
        return status >= 200 && status <= 299 ? ErrorKind::Malformed : ErrorKind::Server;
    }
}

Sync::Error syncError(int status, const QString &reason, std::optional<Sync::ErrorKind> sourceKind,
                      const RetryAfter &retryAfter, const QDateTime &now)
{
    Sync::Error error {syncErrorKind(status, sourceKind), reason, QDateTime()};
    if (error.kind == Sync::ErrorKind::RateLimited && now.isValid()) {
        error.retryAfter = retryAfter.from(now);
        error.reason = withNextTry(reason, error.retryAfter);
    }
    return error;
}

} // namespace Net
