#pragma once

// Records built from rows that reads return again and again (the week on screen, the tray's
// coming hours), kept with the exact column values they were built from. A row whose values are
// unchanged since it was last read gives back the record built then, sharing its texts, instead
// of decoding every text and time again; a row that changed in any column is built anew. Reads
// still run their statements: the cache only saves turning rows into records. A read that
// begins where the data stood when a row was last checked takes the row without comparing it,
// and must read again, at the new version, if the version moved while it read; rows written
// meanwhile on the connection must have been forgotten.

#include "storage/SqlReader.h"

#include <QByteArray>
#include <QHash>

namespace Sql {

template<typename Record> class RowCache
{
public:
    explicit RowCache(qsizetype capacity)
        : m_capacity(capacity)
    { }

    // Starts a read: rows it uses stay when the cache makes room.
    void beginRead() { ++m_read; }

    // Drops the record of a row that was written.
    void forget(qint64 key) { m_entries.remove(key); }

    // The record of the reader's current row, keyed by something that names the row (its rowid).
    // `at` is the data version the read began at: a row checked against the database at that
    // same version is taken as it is; any other is compared column by column.
    template<typename Build>
    Record get(const Reader &r, qint64 key, const DataVersion &at, Build &&build)
    {
        const auto it = m_entries.find(key);
        if (it != m_entries.end() && (it->checkedAt == at || r.rowEquals(it->image))) {
            it->read = m_read;
            it->checkedAt = at;
            return it->record;
        }
        if (it == m_entries.end() && !makeRoom())
            return build(r);
        // The image is taken before building: reading a column as text can change the type
        // SQLite reports for it afterwards.
        QByteArray image = r.rowImage();
        Record record = build(r);
        if (it != m_entries.end())
            *it = Entry {std::move(image), record, m_read, at};
        else
            m_entries.insert(key, Entry {std::move(image), record, m_read, at});
        return record;
    }

private:
    struct Entry
    {
        QByteArray image;
        Record record;
        quint64 read = 0;
        DataVersion checkedAt;
    };

    // Drops the rows earlier reads used once the cache is full; false when the current read
    // alone fills it.
    bool makeRoom()
    {
        if (m_entries.size() < m_capacity)
            return true;
        m_entries.removeIf([this](const auto &entry) { return entry.value().read != m_read; });
        return m_entries.size() < m_capacity;
    }

    qsizetype m_capacity;
    quint64 m_read = 0;
    QHash<qint64, Entry> m_entries;
};

} // namespace Sql
