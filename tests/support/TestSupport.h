#pragma once

#include <QDateTime>
#include <QString>

namespace LarkTest {

// Absolute path of a file below tests/data.
QString dataPath(const QString &relative);

// Reads a file below tests/data; an empty array when it cannot be read.
QByteArray readData(const QString &relative);

// A settable clock for code that takes "now" through a seam.
class TestClock
{
public:
    explicit TestClock(QDateTime start = QDateTime(QDate(2024, 1, 10), QTime(10, 7, 42)))
        : m_now(std::move(start))
    {
    }
    QDateTime now() const { return m_now; }
    void set(const QDateTime &t) { m_now = t; }
    void advanceSecs(qint64 s) { m_now = m_now.addSecs(s); }
    void advanceMSecs(qint64 ms) { m_now = m_now.addMSecs(ms); }

private:
    QDateTime m_now;
};

} // namespace LarkTest
