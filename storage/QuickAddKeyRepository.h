#pragma once

#include <QDateTime>
#include <QSet>
#include <QString>
#include <QStringList>

class Database;

// The keys of waiting quick-add lines that are stored. A key is written in the transaction that
// stores its line's item, so whatever ends the program, a line is either stored with its key or
// not at all, and a line still in the waiting file whose key is here is not stored again.
class QuickAddKeyRepository
{
public:
    explicit QuickAddKeyRepository(Database *db)
        : m_db(db)
    { }

    // Inside the caller's transaction; false when it could not be written.
    [[nodiscard]] bool insert(const QString &key, const QDateTime &storedAt);
    // Which of keys are stored.
    [[nodiscard]] QSet<QString> storedAmong(const QStringList &keys) const;
    // Forgets keys stored before the time: the file that held their lines is long rewritten.
    void forgetBefore(const QDateTime &time);

private:
    Database *m_db;
};
