#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

#include <map>
#include <unordered_map>

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
    QSqlDatabase &connection() const { return *m_db; }

private:
    struct Entry
    {
        QSqlQuery query;
        bool prepared = false;
    };
    QSqlDatabase *m_db;
    std::map<QString, Entry> m_queries;
    // Statements by the address of their text: a statement kept in a constant is found again
    // without comparing its text (long statements share long beginnings). Each address is that
    // of a key of m_queries, which holds on to the text, so no other text can take it.
    std::unordered_map<const QChar *, std::map<QString, Entry>::iterator> m_byText;
};

} // namespace Sql
