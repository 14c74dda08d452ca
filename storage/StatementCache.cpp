#include "storage/StatementCache.h"

namespace Sql {

QSqlQuery &StatementCache::get(const QString &statement)
{
    auto known = m_byText.find(statement.constData());
    std::map<QString, Entry>::iterator it;
    if (known != m_byText.end() && known->second->first.size() == statement.size()) {
        it = known->second;
    } else {
        it = m_queries.find(statement);
        if (it == m_queries.end())
            it = m_queries.emplace(statement, Entry {QSqlQuery(*m_db), false}).first;
        if (it->first.constData() == statement.constData())
            m_byText[statement.constData()] = it;
    }
    // A statement that failed to prepare is tried again; executing it reports the failure.
    Entry &entry = it->second;
    if (!entry.prepared)
        entry.prepared = entry.query.prepare(statement);
    return entry.query;
}

} // namespace Sql
