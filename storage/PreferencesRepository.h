#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>

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

signals:
    void changed(const QString &key);

private:
    Database *m_db;
};
