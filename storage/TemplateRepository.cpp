#include "storage/TemplateRepository.h"

#include "model/Identifiers.h"
#include "model/JsonText.h"
#include "storage/Database.h"
#include "storage/SqlHelpers.h"
#include "storage/SqlReader.h"
#include "storage/StoredDateTime.h"

#include <QDebug>
#include <QJsonArray>
#include <QJsonDocument>

#include <cmath>
#include <limits>

namespace {

const QString kSelect = QStringLiteral(
    "SELECT id, name, title, description, location, color, is_all_day, duration_minutes, "
    "recurrence_rule, calendar_id, reminders, sort_order, created_at, updated_at, deleted_at "
    "FROM event_templates");

// Reminder offsets are a JSON array of minute counts; elements that are not numbers are skipped
// and numbers that are not whole ints read as 0.
QList<int> parseReminders(const QString &text)
{
    QList<int> out;
    const QJsonArray array = jsonArrayOf(text);
    for (const QJsonValue &v : array) {
        if (!v.isDouble())
            continue;
        const double d = v.toDouble();
        const bool whole = std::floor(d) == d && d >= std::numeric_limits<int>::min()
            && d <= std::numeric_limits<int>::max();
        out.append(whole ? int(d) : 0);
    }
    return out;
}

QString serializeReminders(const QList<int> &minutes)
{
    QJsonArray array;
    for (int m : minutes)
        array.append(m);
    return QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Compact));
}

EventTemplate readRow(const Sql::Reader &r)
{
    EventTemplate t;
    t.id = r.text(0);
    t.name = r.text(1);
    t.title = r.text(2);
    t.description = r.text(3);
    t.location = r.text(4);
    t.color = r.text(5);
    t.is_all_day = r.integer(6) != 0;
    t.duration_minutes = r.integer(7);
    t.recurrence_rule = r.text(8);
    t.calendar_id = r.text(9);
    t.reminders = parseReminders(r.text(10));
    t.sort_order = r.integer(11);
    t.created_at = r.dateTime(12);
    t.updated_at = r.dateTime(13);
    t.deleted_at = r.optionalDateTime(14);
    return t;
}

// The eleven values from name to sort order, shared by insert and update.
QVariantList templateValues(const EventTemplate &t)
{
    return {Sql::text(t.name),
            Sql::text(t.title),
            Sql::text(t.description),
            Sql::text(t.location),
            Sql::text(t.color),
            t.is_all_day ? 1 : 0,
            t.duration_minutes,
            Sql::text(t.recurrence_rule),
            Sql::text(t.calendar_id),
            serializeReminders(t.reminders),
            t.sort_order};
}

} // namespace

TemplateRepository::TemplateRepository(Database *db, QObject *parent)
    : QObject(parent)
    , m_db(db)
{ }

QList<EventTemplate> TemplateRepository::listActive() const
{
    return Sql::readAll<EventTemplate>(
        m_db->connection(),
        kSelect + QStringLiteral(" WHERE deleted_at IS NULL ORDER BY sort_order, name"), {},
        "TemplateRepository::listActive failed:", &readRow);
}

QList<EventTemplate> TemplateRepository::listAll() const
{
    return Sql::readAll<EventTemplate>(m_db->connection(),
                                       kSelect + QStringLiteral(" ORDER BY sort_order, name"), {},
                                       "TemplateRepository::listAll failed:", &readRow);
}

std::optional<EventTemplate> TemplateRepository::byId(const QString &id) const
{
    return Sql::readOne<EventTemplate>(
        m_db->connection(), kSelect + QStringLiteral(" WHERE deleted_at IS NULL AND id = ?"), {id},
        "TemplateRepository::byId failed:", &readRow);
}

bool TemplateRepository::insert(const EventTemplate &t)
{
    const QDateTime now = m_db->currentDateTimeUtc();
    const QString id = t.id.isEmpty() ? newId() : t.id;
    const QVariantList values = QVariantList {id} + templateValues(t)
        + QVariantList {Sql::dateTime(t.created_at.isValid() ? t.created_at : now),
                        Sql::dateTime(now)};
    QString error;
    if (!Sql::run(m_db->connection(),
                  QStringLiteral("INSERT INTO event_templates (id, name, title, description, "
                                 "location, color, is_all_day, duration_minutes, recurrence_rule, "
                                 "calendar_id, reminders, sort_order, sync_status, created_at, "
                                 "updated_at) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                                 "'pending', ?, ?)"),
                  values, &error)) {
        qWarning() << "TemplateRepository::insert failed:" << error;
        return false;
    }
    emit templatesChanged();
    return true;
}

bool TemplateRepository::storeSynced(const EventTemplate &t)
{
    if (t.id.isEmpty())
        return false;
    const QVariantList values = QVariantList {t.id} + templateValues(t)
        + QVariantList {Sql::dateTime(t.created_at), Sql::dateTime(t.updated_at),
                        Sql::dateTime(t.deleted_at)};
    QString error;
    if (!Sql::run(m_db->connection(),
                  QStringLiteral("INSERT OR REPLACE INTO event_templates (id, name, title, "
                                 "description, location, color, is_all_day, duration_minutes, "
                                 "recurrence_rule, calendar_id, reminders, sort_order, "
                                 "sync_status, created_at, updated_at, deleted_at) VALUES (?, ?, "
                                 "?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 'pending', ?, ?, ?)"),
                  values, &error)) {
        qWarning() << "TemplateRepository::storeSynced failed:" << error;
        return false;
    }
    emit templatesChanged();
    return true;
}

bool TemplateRepository::update(const EventTemplate &t)
{
    const QVariantList values
        = templateValues(t) + QVariantList {Sql::dateTime(m_db->currentDateTimeUtc()), t.id};
    QString error;
    if (!Sql::run(m_db->connection(),
                  QStringLiteral("UPDATE event_templates SET name = ?, title = ?, description = ?, "
                                 "location = ?, color = ?, is_all_day = ?, duration_minutes = ?, "
                                 "recurrence_rule = ?, calendar_id = ?, reminders = ?, "
                                 "sort_order = ?, sync_status = 'pending', "
                                 "updated_at = MAX(?, updated_at) WHERE id = ?"),
                  values, &error)) {
        qWarning() << "TemplateRepository::update failed:" << error;
        return false;
    }
    emit templatesChanged();
    return true;
}

bool TemplateRepository::remove(const QString &id)
{
    if (!Sql::markDeleted(m_db->connection(), QStringLiteral("event_templates"), id,
                          Sql::dateTime(m_db->currentDateTimeUtc())))
        return false;
    emit templatesChanged();
    return true;
}

bool TemplateRepository::hardDelete(const QString &id)
{
    if (!Sql::run(m_db->connection(), QStringLiteral("DELETE FROM event_templates WHERE id = ?"),
                  {id}))
        return false;
    emit templatesChanged();
    return true;
}
