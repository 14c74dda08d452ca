#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

#include <map>

namespace Sql {

// Prepared statements kept for the life of a repository: compiling an insert into a table
// with many indexes costs more than running it. Only for statements that are never nested
// (writes, single-row lookups), since one statement object serves every call.
class StatementCache
{
public:
    // Keeps the connection by address: a copy of the handle would keep the connection
    // registered after its owner closed it.
    explicit StatementCache(QSqlDatabase *db)
        : m_db(db)
    { }
    QSqlQuery &get(const QString &statement);

private:
    struct Entry
    {
        QSqlQuery query;
        bool prepared = false;
    };
    QSqlDatabase *m_db;
    std::map<QString, Entry> m_queries;
};

} // namespace Sql
