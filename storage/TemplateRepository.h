#pragma once

#include "model/Records.h"

#include <QList>
#include <QObject>

#include <optional>

class Database;

// The user's event templates. Every write leaves the row "pending" for the configuration sync,
// and removal leaves a tombstone that the sync carries to other devices. An edit is dated now, or
// at the stored time when that is later (a copy from another device may be dated ahead of this
// clock).
class TemplateRepository : public QObject
{
    Q_OBJECT
public:
    explicit TemplateRepository(Database *db, QObject *parent = nullptr);

    // By sort order, then name.
    QList<EventTemplate> listActive() const;
    // The same order, tombstones included.
    QList<EventTemplate> listAll() const;
    // Active rows only.
    std::optional<EventTemplate> byId(const QString &id) const;

    // A template without an id gets a new one, seen by listing again.
    bool insert(const EventTemplate &eventTemplate);
    bool update(const EventTemplate &eventTemplate);
    bool remove(const QString &id);
    bool hardDelete(const QString &id);
    // Writes the template exactly as given, its times included, over any row with its id (live
    // or tombstone): a template as another device last wrote it.
    bool storeSynced(const EventTemplate &eventTemplate);

signals:
    void templatesChanged();

private:
    Database *m_db;
};
