#pragma once

// Records built from rows that reads return again and again (the week on screen, the weeks
// around it, the tray's coming hours), shared with the callers that only read them. A row that
// a read finds at the data version it was last checked at gives back the record built then;
// any other row is built anew. Reads still run their statements: the cache only saves turning
// rows into records. Rows written meanwhile on the connection must have been forgotten, and a
// read must read again, at the new version, if the version moved while it read. Inside a
// transaction (no valid version) nothing is taken and nothing kept.
//
// The cache holds records up to a budget of bytes, told by the size of the rows they came
// from; when it is over, the rows the oldest reads used go first, never those of the current
// read.

#include "storage/SqlReader.h"

#include <QHash>

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

namespace Sql {

template<typename Record> class RowCache
{
public:
    using Shared = std::shared_ptr<const Record>;

    explicit RowCache(qint64 budgetBytes)
        : m_budget(budgetBytes)
    { }

    // Starts a read: rows it uses stay when the cache makes room.
    void beginRead() { ++m_read; }

    // Drops the record of a row that was written.
    void forget(qint64 key)
    {
        if (!mayHold(key))
            return;
        const auto it = m_entries.constFind(key);
        if (it == m_entries.constEnd())
            return;
        m_bytes -= it->bytes;
        m_entries.erase(it);
        flag(key, false);
    }

    // The record of row `key` if it was checked at version `at`, and marks it used by this read.
    const Shared *known(qint64 key, const DataVersion &at)
    {
        if (!mayHold(key))
            return nullptr;
        const auto it = m_entries.find(key);
        if (it == m_entries.end() || it->checkedAt != at)
            return nullptr;
        it->read = m_read;
        return &it->record;
    }

    // Keeps the record of row `key`, checked at `at`; `bytes` is what the row weighs.
    void keep(qint64 key, const DataVersion &at, Shared record, qint64 bytes)
    {
        if (!at.isValid())
            return;
        bytes += kEntryBytes;
        // One lookup: a new entry weighs nothing until it is filled.
        Entry &entry = m_entries[key];
        flag(key, true);
        m_bytes += bytes - entry.bytes;
        entry = Entry {std::move(record), m_read, at, bytes};
        if (m_bytes > m_budget)
            makeRoom();
    }

    // Drops every record.
    void clear()
    {
        m_entries.clear();
        m_held.clear();
        m_bytes = 0;
    }

    qint64 bytes() const { return m_bytes; }
    qsizetype size() const { return m_entries.size(); }

private:
    // A record's own size and the cache's bookkeeping of it, beside its texts.
    static constexpr qint64 kEntryBytes = qint64(sizeof(Record)) + 96;

    struct Entry
    {
        Shared record;
        quint64 read = 0;
        DataVersion checkedAt;
        qint64 bytes = 0;
    };

    // Drops the rows of the oldest reads until a quarter of the budget is free again.
    void makeRoom()
    {
        std::map<quint64, qint64> byRead;
        for (const Entry &e : std::as_const(m_entries))
            byRead[e.read] += e.bytes;
        qint64 left = m_bytes;
        quint64 keepFrom = 0;
        for (const auto &[read, bytes] : byRead) {
            if (left <= m_budget / 4 * 3 || read == m_read)
                break;
            left -= bytes;
            keepFrom = read + 1;
        }
        m_entries.removeIf([this, keepFrom](const auto &entry) {
            if (entry.value().read >= keepFrom)
                return false;
            flag(entry.key(), false);
            return true;
        });
        m_bytes = left;
    }

    // Rows read for the first time are most of a new range: a flag per row number tells them
    // without a hash lookup, which misses the processor's caches once the cache is large.
    // Row numbers beyond the flags' reach are looked up.
    static constexpr qint64 kFlaggedKeys = qint64(1) << 26;

    bool mayHold(qint64 key) const
    {
        if (key < 0 || key >= kFlaggedKeys)
            return true;
        return size_t(key) < m_held.size() && m_held[size_t(key)];
    }

    void flag(qint64 key, bool held)
    {
        if (key < 0 || key >= kFlaggedKeys)
            return;
        if (size_t(key) >= m_held.size()) {
            if (!held)
                return;
            m_held.resize(std::max(size_t(key) + 1, 2 * m_held.size()));
        }
        m_held[size_t(key)] = held;
    }

    qint64 m_budget;
    qint64 m_bytes = 0;
    quint64 m_read = 0;
    QHash<qint64, Entry> m_entries;
    std::vector<bool> m_held;
};

} // namespace Sql
