#pragma once

// What the sync engine's pull and push steps share about a row: its sync state, where it keeps
// its remote id, its repository. Only the engine's own files include it.

#include "core/sync/SyncStore.h"
#include "model/Records.h"
#include "storage/EventRepository.h"
#include "storage/TaskRepository.h"

#include <QString>

#include <type_traits>

namespace Sync::EngineRows {

inline const QString kPending = QStringLiteral("pending");
inline const QString kSynced = QStringLiteral("synced");

inline bool isPending(const QString &syncStatus)
{
    return syncStatus == kPending;
}

// Where a row keeps the source's id of its remote copy.
template<typename Row> constexpr QString Row::*remoteIdField()
{
    if constexpr (std::is_same_v<Row, Event>)
        return &Event::provider_event_id;
    else
        return &Task::href;
}

template<typename Row> inline auto *repositoryOf(const SyncStore &store)
{
    if constexpr (std::is_same_v<Row, Event>)
        return store.events;
    else
        return store.tasks;
}

// The local copy after its remote copy disappeared: the next push creates it afresh.
template<typename Row> inline Row withoutRemoteCopy(Row row)
{
    row.etag.clear();
    row.href.clear();
    row.*remoteIdField<Row>() = QString();
    return row;
}

} // namespace Sync::EngineRows
