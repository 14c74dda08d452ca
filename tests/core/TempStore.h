#pragma once

// A store over a database in its own temporary folder with the on-device account, for the use
// cases that work on the store alone. By default without the "Personal" calendar, so a test
// starts from the calendars it adds itself.

#include "core/LocalCalendar.h"
#include "core/Store.h"
#include "model/Clock.h"
#include "model/Identifiers.h"
#include "storage/CalendarRepository.h"
#include "storage/Database.h"

#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVariant>

namespace LarkTest {

// The rows of a table; -1 when it cannot be read.
inline int countRows(const Store &store, const QString &table)
{
    QSqlQuery q(store.database()->connection());
    if (!q.exec(QStringLiteral("SELECT COUNT(*) FROM ") + table) || !q.next())
        return -1;
    return q.value(0).toInt();
}

class TempStore
{
public:
    enum Calendars { AccountOnly, WithPersonal };

    explicit TempStore(Calendars calendars = AccountOnly)
    {
        m_valid = m_dir.isValid() && m_store.open(m_dir.filePath(QStringLiteral("cal.db")));
        if (!m_valid)
            return;
        LocalCalendar::ensurePersonal(m_store.accounts(), m_store.calendars(), Clock::now());
        if (calendars == AccountOnly)
            m_valid = m_store.calendars()->remove(kPersonalCalendarId);
    }

    bool isValid() const { return m_valid; }
    const Store &store() const { return m_store; }
    const Store *operator->() const { return &m_store; }
    QString dir() const { return m_dir.path(); }

    // A calendar of the on-device account; sortOrder orders the list.
    bool addCalendar(const QString &id, int sortOrder, bool visible = true, bool isDefault = false,
                     bool readOnly = false,
                     const QString &components = QStringLiteral("[\"VEVENT\"]"))
    {
        Calendar c;
        c.id = id;
        c.account_id = kOnDeviceAccountId;
        c.url = QStringLiteral("local://calendar/") + id;
        c.name = id;
        c.is_visible = visible;
        c.is_default = isDefault;
        c.is_read_only = readOnly;
        c.supported_components = components;
        c.sort_order = sortOrder;
        c.created_at = c.updated_at = QDateTime::fromSecsSinceEpoch(0, Qt::UTC);
        return m_store.calendars()->insert(c);
    }

    int count(const QString &table) const { return countRows(m_store, table); }

    bool exec(const QString &sql) const
    {
        QSqlQuery q(m_store.database()->connection());
        return q.exec(sql);
    }

private:
    QTemporaryDir m_dir;
    Store m_store;
    bool m_valid = false;
};

} // namespace LarkTest
