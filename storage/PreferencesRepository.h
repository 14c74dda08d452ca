#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class Database;

// The user's preferences and small pieces of program state, one settings row per key.
// Booleans are stored as "1" and "0", integers as base-10 text.
class PreferencesRepository : public QObject
{
    Q_OBJECT
public:
    explicit PreferencesRepository(Database *db, QObject *parent = nullptr);

    std::optional<QString> get(const QString &key) const;
    QString getString(const QString &key, const QString &defaultValue = QString()) const;
    bool getBool(const QString &key, bool defaultValue) const;
    int getInt(const QString &key, int defaultValue) const;

    bool set(const QString &key, const QString &value);
    bool setBool(const QString &key, bool value);
    bool setInt(const QString &key, int value);
    bool remove(const QString &key);

    // The values stored under keys in the database file at path, read without writing to it,
    // so also while another program has it open; keys not stored, or a file that cannot be
    // read, are left out.
    [[nodiscard]] static QHash<QString, QString> readFromFile(const QString &path,
                                                              const QStringList &keys);

    // What became of settings written together.
    enum class Stored {
        All,
        NoneBusy, // nothing stored: another program is writing to the database
        None, // nothing stored: the database refused the write
    };
    // Runs write, which sets preferences through this repository, as one write kept whole or
    // not at all: a form the user confirmed never leaves half its settings stored. Listeners hear
    // of each of keys once it is kept, and of nothing otherwise.
    [[nodiscard]] Stored setTogether(const QString &name, const QStringList &keys,
                                     const std::function<bool()> &write);

signals:
    void changed(const QString &key);

private:
    Database *m_db;
};
