#pragma once

// What the answer to a failed request means to the sync core, read the same way for every source
// (Google, Microsoft Graph, the cloud): no answer (status 0) is Network, 401 Auth, 404 NotFound,
// 410 Gone, 412 Conflict, 429 RateLimited, a 2xx answer that could not be read Malformed, and
// anything else Server. A source that reads some answers its own way says so in `sourceKind`
// (Google's 403 rateLimitExceeded, Graph's resyncRequired and a 503 that names a Retry-After, the
// cloud's 409).

#include "core/sync/SyncProvider.h"
#include "services/net/RequestPolicy.h"

#include <QDateTime>
#include <QString>

#include <optional>

namespace Net {

Sync::ErrorKind syncErrorKind(int status, std::optional<Sync::ErrorKind> sourceKind = {});

// The error with its reason; a rate limit carries the time the answer named (Retry-After,
// measured from `now`) and says it in its reason.
Sync::Error syncError(int status, const QString &reason,
                      std::optional<Sync::ErrorKind> sourceKind = {},
                      const RetryAfter &retryAfter = {}, const QDateTime &now = {});

} // namespace Net
