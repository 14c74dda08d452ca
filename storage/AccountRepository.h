#pragma once

#include "model/Records.h"

#include <QList>
#include <QObject>
#include <QStringList>

#include <optional>

class Database;
namespace Sql {
class Reader;
}

// The accounts table. Accounts are soft-deleted so that the configuration sync can push the
// deletion; reapTombstone removes the row once the push was accepted.
class AccountRepository : public QObject
{
    Q_OBJECT
public:
    explicit AccountRepository(Database *db, QObject *parent = nullptr);

    QList<Account> listActive() const;
    QList<Account> listAll() const;
    std::optional<Account> byId(const QString &id) const;
    std::optional<Account> byIdentity(const QString &type, const QString &serverUrl,
                                      const QString &username) const;

    bool insert(const Account &account);
    bool update(const Account &account);
    bool remove(const QString &id);
    bool reapTombstone(const QString &id);
    // Brings a removed account back under its own id.
    bool restore(const QString &id);
    // Deletes the account row for good, live or tombstoned; its calendars must be gone first.
    // Returns how many rows went.
    int purge(const QString &id);
    bool reorder(const QStringList &ids);

    // Collapses CalDAV-family accounts with the same type, server and user name into the
    // oldest one; returns how many were merged away.
    int dedupeAccounts();

signals:
    void accountsChanged();

private:
    QList<Account> list(const QString &sql, const QStringList &values, const char *logName) const;
    static Account readRow(const Sql::Reader &r);
    bool softRemove(const QString &id);

    Database *m_db;
};
