#pragma once

#include "model/Records.h"

#include <QList>
#include <QObject>
#include <QStringList>

#include <optional>

class Database;

// The rules that hide or dim events. Their order here (priority, then name) is the order the
// filter engine applies them in. Removal leaves a pending tombstone for the configuration sync.
// An edit is dated now, or at the stored time when that is later (a copy from another device
// may be dated ahead of this clock), so it is never older than what it changed.
class FilterRuleRepository : public QObject
{
    Q_OBJECT
public:
    explicit FilterRuleRepository(Database *db, QObject *parent = nullptr);

    QList<FilterRule> listActive() const;
    // The active rules that are switched on: what the views apply.
    QList<FilterRule> listEnabled() const;
    // Tombstones included.
    QList<FilterRule> listAll() const;
    // Tombstones included.
    std::optional<FilterRule> byId(const QString &id) const;

    bool insert(const FilterRule &rule);
    bool update(const FilterRule &rule);
    bool setEnabled(const QString &id, bool enabled);
    bool remove(const QString &id);
    bool hardDelete(const QString &id);
    // Writes the rule exactly as given, its times included, over any row with its id (live or
    // tombstone): a rule as another device last wrote it.
    bool storeSynced(const FilterRule &rule);
    // Priorities 10, 20, 30 ... in list order, all or nothing.
    bool reorder(const QStringList &ids);

signals:
    void filterRulesChanged();

private:
    QList<FilterRule> list(const QString &sql, const char *logName) const;

    Database *m_db;
};
