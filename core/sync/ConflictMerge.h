#pragma once

// What counts as a local edit of a synced row, and how one is settled when the remote copy
// changed too before the edit was sent: rather than keep the old entity tag (which the source
// refuses at every push) the row takes the remote copy's identity and tag, and its fields are
// merged against the version both sides last agreed on: a field changed on one side only takes that
// side, a field changed on both keeps the local edit. The schedule (start, end, all-day, zone) is
// one field, so the merged row is one either side could have written. Guests are merged by
// address, and the cancelled and extra dates of both sides are moved with the merged schedule
// and merged as sets, so a date cancelled on either side stays cancelled. The row stays pending,
// so its push brings the source to the merged version.

#include "model/Records.h"

#include <optional>

namespace Sync {

// Whether a row still holds what was read before its push: then marking it synced loses no
// edit. Stored times have whole seconds, so the contents are compared too.
bool sameLocalContent(const Event &a, const Event &b);
bool sameLocalContent(const Task &a, const Task &b);

// local: the pending row; remote: the new remote copy as a row (its remote id and etag set);
// agreed: the last agreed version, or nullopt when the row keeps none (the local edit is then
// kept whole). The result has the local row's id, calendar and deletion.
Event settledEdit(const Event &local, const Event &remote, const std::optional<Event> &agreed);
// Tasks keep no agreed version: the local edit is kept whole.
Task settledEdit(const Task &local, const Task &remote, const std::optional<Task> &agreed);

} // namespace Sync
