#pragma once

// A row edited here whose remote copy changed too before the edit was sent. Rather than keep
// the old entity tag (which the source refuses at every push) the row takes the remote copy's
// identity and tag, and its fields are merged against the version both sides last agreed on:
// a field changed on one side only takes that side, a field changed on both keeps the local
// edit. The row stays pending, so its push brings the source to the merged version.

#include "model/Records.h"

#include <optional>

namespace Sync {

// local: the pending row; remote: the new remote copy as a row (its remote id and etag set);
// agreed: the last agreed version, or nullopt when the row keeps none (the local edit is then
// kept whole). The result has the local row's id, calendar and deletion.
Event settledEdit(const Event &local, const Event &remote, const std::optional<Event> &agreed);
// Tasks keep no agreed version: the local edit is kept whole.
Task settledEdit(const Task &local, const Task &remote, const std::optional<Task> &agreed);

} // namespace Sync
