#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <initializer_list>

class QObject;

namespace LarkTest {

// The same instant expressed with a chosen kind of suffix: "Z", "local", "offset <hours>" or a
// zone id.
QDateTime expressed(const QDateTime &instant, const QString &form);

// Absolute path of a file below tests/data.
QString dataPath(const QString &relative);

// Reads a file below tests/data; an empty array when it cannot be read.
QByteArray readData(const QString &relative);

// Installs the English catalogue, owned by owner: counts read as English does ("1 minute",
// "15 minutes") only through it. False when it cannot be loaded.
[[nodiscard]] bool installEnglish(QObject *owner);

// A list of texts from plain literals (the build forbids implicit conversion from char *).
inline QStringList strings(std::initializer_list<const char *> items)
{
    QStringList out;
    for (const char *item : items)
        out << QString::fromUtf8(item);
    return out;
}

// The ids of a list of records, in list order.
template<typename Record> QStringList idsOf(const QList<Record> &records)
{
    QStringList out;
    for (const Record &r : records)
        out << r.id;
    return out;
}

// A settable clock for code that takes "now" through a seam.
class TestClock
{
public:
    explicit TestClock(QDateTime start = QDateTime(QDate(2024, 1, 10), QTime(10, 7, 42)))
        : m_now(std::move(start))
    { }
    QDateTime now() const { return m_now; }
    void set(const QDateTime &t) { m_now = t; }
    void advanceSecs(qint64 s) { m_now = m_now.addSecs(s); }
    void advanceMSecs(qint64 ms) { m_now = m_now.addMSecs(ms); }

private:
    QDateTime m_now;
};

} // namespace LarkTest
