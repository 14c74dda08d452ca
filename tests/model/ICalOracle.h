#pragma once

// Runs libical (through tests/model/ical_oracle.py) on an iCalendar text and hands back what it
// read, so tests can hold our reader and writers against an independent parser.

#include <QDateTime>
#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimeZone>

namespace ICalOracle {

struct Result
{
    QString error; // empty on success
    QJsonArray components; // VEVENT and VTODO, in file order
};

inline QString scriptPath()
{
    return qEnvironmentVariable("LARK_SOURCE_DIR") + QStringLiteral("/tests/model/ical_oracle.py");
}

inline Result read(const QByteArray &text)
{
    Result result;
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("in.ics")));
    if (!dir.isValid() || !file.open(QIODevice::WriteOnly) || file.write(text) != text.size()) {
        result.error = QStringLiteral("cannot write the input file");
        return result;
    }
    file.close();
    QProcess python;
    // The system interpreter carries the GObject bindings; another python3 on PATH may not.
    const QString interpreter = QFile::exists(QStringLiteral("/usr/bin/python3"))
        ? QStringLiteral("/usr/bin/python3")
        : QStringLiteral("python3");
    python.start(interpreter, {scriptPath(), file.fileName()});
    if (!python.waitForFinished(60000) || python.exitCode() != 0) {
        result.error
            = QStringLiteral("oracle failed: ") + QString::fromUtf8(python.readAllStandardError());
        return result;
    }
    const QJsonObject root = QJsonDocument::fromJson(python.readAllStandardOutput()).object();
    if (root.contains(QStringLiteral("error")))
        result.error = root.value(QStringLiteral("error")).toString();
    result.components = root.value(QStringLiteral("components")).toArray();
    return result;
}

// The properties of one component with the given name, in order.
inline QJsonArray properties(const QJsonObject &component, const QString &name)
{
    QJsonArray out;
    const QJsonArray all = component.value(QStringLiteral("properties")).toArray();
    for (const QJsonValue &p : all) {
        if (p.toObject().value(QStringLiteral("name")).toString() == name)
            out.append(p);
    }
    return out;
}

inline QJsonValue value(const QJsonObject &component, const QString &name)
{
    const QJsonArray props = properties(component, name);
    return props.isEmpty() ? QJsonValue() : props.first().toObject().value(QStringLiteral("value"));
}

inline QJsonArray subComponents(const QJsonObject &component)
{
    return component.value(QStringLiteral("components")).toArray();
}

// Our value in the oracle's form: {"date"}, {"utc"} or {"floating"}, chosen by the oracle's
// own value so both sides describe the same thing.
inline QJsonObject asOracleTime(const QDateTime &dt, bool dateOnly, const QJsonObject &like)
{
    if (!dt.isValid())
        return {{QStringLiteral("invalid"), true}};
    if (dateOnly)
        return {{QStringLiteral("date"), dt.date().toString(QStringLiteral("yyyyMMdd"))}};
    if (like.contains(QStringLiteral("floating")))
        return {{QStringLiteral("floating"), dt.toString(QStringLiteral("yyyyMMdd'T'HHmmss"))}};
    return {{QStringLiteral("utc"), dt.toSecsSinceEpoch()}};
}

// A stored date-list entry (yyyyMMdd or yyyyMMddTHHmmssZ) in the oracle's form.
inline QJsonObject storedDateAsOracle(const QString &entry)
{
    if (entry.size() == 8)
        return {{QStringLiteral("date"), entry}};
    QDateTime dt = QDateTime::fromString(entry.chopped(1), QStringLiteral("yyyyMMdd'T'HHmmss"));
    dt.setTimeZone(QTimeZone::utc());
    return {{QStringLiteral("utc"), dt.toSecsSinceEpoch()}};
}

// libical reads some wall-clock times otherwise than RFC 5545 3.3.5: it takes the later instance
// of a repeated hour and the offset after a skipped one (a floating time the machine's zone
// skips reads one hour later on the clock). Tests name such values ("<UID> DTSTART")
// with the seconds between libical's instant and the RFC's.
using Shifts = QHash<QString, int>;

inline QJsonObject shifted(QJsonObject time, int seconds)
{
    const QString floating = QStringLiteral("floating");
    if (seconds != 0 && time.contains(QStringLiteral("utc")))
        time[QStringLiteral("utc")] = time.value(QStringLiteral("utc")).toInteger() + seconds;
    if (seconds != 0 && time.contains(floating)) {
        // Worked out as UTC: the clock time itself may not exist in the machine's zone.
        const QString text = time.value(floating).toString();
        const QDateTime clock(QDate::fromString(text.left(8), QStringLiteral("yyyyMMdd")),
                              QTime::fromString(text.mid(9), QStringLiteral("HHmmss")), Qt::UTC);
        time[floating] = clock.addSecs(seconds).toString(QStringLiteral("yyyyMMdd'T'HHmmss"));
    }
    return time;
}

} // namespace ICalOracle
