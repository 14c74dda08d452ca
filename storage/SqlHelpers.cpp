#include "storage/SqlHelpers.h"

#include <QSqlError>
#include <QUuid>

namespace Sql {

QVariant text(const QString &value)
{
    if (value.isNull())
        return QVariant(QMetaType::fromType<QString>());
    return value;
}

QString isoText(const QDateTime &value)
{
    if (!value.isValid())
        return {};
    return value.toString(Qt::ISODate);
}

QVariant dateTime(const QDateTime &value)
{
    return text(isoText(value));
}

QVariant dateTime(const std::optional<QDateTime> &value)
{
    if (!value)
        return text(QString());
    return dateTime(*value);
}

QDateTime parseDateTime(const QVariant &value)
{
    const QString s = value.toString();
    if (s.isEmpty())
        return {};
    return QDateTime::fromString(s, Qt::ISODate);
}

std::optional<QDateTime> parseOptionalDateTime(const QVariant &value)
{
    const QString s = value.toString();
    if (s.isEmpty())
        return std::nullopt;
    return QDateTime::fromString(s, Qt::ISODate);
}

QString placeholders(int n, const QString &separator)
{
    QString out;
    out.reserve(n * (1 + separator.size()));
    for (int i = 0; i < n; ++i) {
        if (i)
            out += separator;
        out += QLatin1Char('?');
    }
    return out;
}

QString newId()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}

bool forEachChunk(const QStringList &ids, const std::function<bool(const QStringList &)> &fn,
                  int chunkSize)
{
    for (qsizetype i = 0; i < ids.size(); i += chunkSize) {
        if (!fn(ids.mid(i, chunkSize)))
            return false;
    }
    return true;
}

void bindAll(QSqlQuery &query, const QStringList &values)
{
    for (const QString &v : values)
        query.addBindValue(v);
}

bool exec(QSqlDatabase &db, const QString &statement, QString *error)
{
    QSqlQuery q(db);
    if (q.exec(statement))
        return true;
    if (error)
        *error = q.lastError().text();
    return false;
}

Savepoint::Savepoint(QSqlDatabase db, const QString &name)
    : m_db(std::move(db))
    , m_name(name)
{
    m_active = exec(m_db, QStringLiteral("SAVEPOINT ") + m_name, &m_error);
}

Savepoint::~Savepoint()
{
    if (m_active)
        rollback();
}

bool Savepoint::release()
{
    if (!m_active)
        return false;
    if (exec(m_db, QStringLiteral("RELEASE ") + m_name, &m_error)) {
        m_active = false;
        return true;
    }
    // A failed release of the outermost savepoint is a failed commit: the transaction is
    // still open and must not swallow the session's later writes.
    rollback();
    return false;
}

void Savepoint::rollback()
{
    if (!m_active)
        return;
    exec(m_db, QStringLiteral("ROLLBACK TO ") + m_name);
    exec(m_db, QStringLiteral("RELEASE ") + m_name);
    m_active = false;
}

} // namespace Sql
