#pragma once

// An initialised AppState over a database in its own temporary folder, without the seeded
// "Personal" calendar, so a test starts from the calendars it adds itself.

#include "core/AppState.h"
#include "storage/CalendarRepository.h"
#include "storage/Database.h"

#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVariant>

#include <memory>

namespace LarkTest {

class TempAppState
{
public:
    TempAppState()
    {
        m_valid = m_dir.isValid() && m_state->initialize(m_dir.filePath(QStringLiteral("cal.db")))
            && m_state->calendars()->remove(QStringLiteral("larkspindle-personal-default"));
    }

    bool isValid() const { return m_valid; }
    AppState *state() const { return m_state.get(); }

    // A calendar of the on-device account; sortOrder orders the list.
    bool addCalendar(const QString &id, int sortOrder, bool visible = true, bool isDefault = false,
                     bool readOnly = false,
                     const QString &components = QStringLiteral("[\"VEVENT\"]"))
    {
        Calendar c;
        c.id = id;
        c.account_id = QStringLiteral("personal-local-account");
        c.url = QStringLiteral("local://calendar/") + id;
        c.name = id;
        c.is_visible = visible;
        c.is_default = isDefault;
        c.is_read_only = readOnly;
        c.supported_components = components;
        c.sort_order = sortOrder;
        c.created_at = c.updated_at = QDateTime::fromSecsSinceEpoch(0, Qt::UTC);
        return m_state->calendars()->insert(c);
    }

    int count(const QString &table) const
    {
        QSqlQuery q(m_state->database()->connection());
        if (!q.exec(QStringLiteral("SELECT COUNT(*) FROM ") + table) || !q.next())
            return -1;
        return q.value(0).toInt();
    }

    bool exec(const QString &sql) const
    {
        QSqlQuery q(m_state->database()->connection());
        return q.exec(sql);
    }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<AppState> m_state = std::make_unique<AppState>();
    bool m_valid = false;
};

} // namespace LarkTest
