#pragma once

#include <QObject>

class Database;

// Holds the place of a queue of sync operations: the sync clients work from the outbox columns
// of each table instead, so nothing reads or writes the queue table and the signal never fires.
class SyncQueueRepository : public QObject
{
    Q_OBJECT
public:
    explicit SyncQueueRepository(Database *db, QObject *parent = nullptr)
        : QObject(parent)
        , m_db(db)
    { }

signals:
    void queueChanged();

private:
    [[maybe_unused]] Database *m_db;
};
