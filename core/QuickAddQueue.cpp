#include "core/QuickAddQueue.h"

#include "core/Store.h"
#include "model/Clock.h"
#include "model/Identifiers.h"
#include "platform/FileAccess.h"
#include "storage/Database.h"
#include "storage/QuickAddKeyRepository.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <utility>

namespace {

const auto kText = QStringLiteral("text");
const auto kCalendar = QStringLiteral("calendar");
const auto kTyped = QStringLiteral("typed");
const auto kKey = QStringLiteral("key");
// Keys outlive the file that held their lines by far: a file left that long is read first.
constexpr int kKeyDays = 60;

// The whole objects in a JSON array, also when it was cut short or damaged further on (a crash
// or a full disk in the middle of a write that did not go through a save file).
QList<QJsonObject> wholeObjects(const QByteArray &data)
{
    QList<QJsonObject> objects;
    int depth = 0;
    bool inString = false;
    bool escaped = false;
    qsizetype start = -1;
    for (qsizetype i = 0; i < data.size(); ++i) {
        const char c = data.at(i);
        if (inString) {
            if (escaped)
                escaped = false;
            else if (c == '\\')
                escaped = true;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth == 2 && c == '{')
                start = i;
        } else if (c == ']' || c == '}') {
            if (depth == 2 && c == '}' && start >= 0) {
                const QJsonDocument doc = QJsonDocument::fromJson(data.mid(start, i + 1 - start));
                if (doc.isObject())
                    objects.append(doc.object());
            }
            if (depth == 2)
                start = -1;
            depth = std::max(0, depth - 1);
        }
    }
    return objects;
}

} // namespace

QuickAddQueue::QuickAddQueue(const Store &store, QObject *parent)
    : QObject(parent)
    , m_store(store)
{
    m_retry.setInterval(kRetryIntervalMs);
    connect(&m_retry, &QTimer::timeout, this, &QuickAddQueue::retry);
}

QuickAddQueue::Line QuickAddQueue::newLine(const QString &text, const QString &calendar,
                                           const QDateTime &now)
{
    return {text, calendar, now, newId(), {}};
}

QuickAddOutcome QuickAddQueue::add(const QString &line, const QString &preferredCalendarId,
                                   const QDateTime &now)
{
    m_waiting.append(newLine(line, preferredCalendarId, now));
    // Behind a waiting line this one waits too, so that lines are stored in the order given.
    if (m_waiting.size() > 1 || m_held) {
        keep();
        emit waiting(line, waitingCount());
        return QuickAddOutcome::Busy;
    }
    const QuickAddOutcome outcome = tryFirst();
    if (outcome != QuickAddOutcome::Busy && m_kept)
        keep();
    return outcome;
}

void QuickAddQueue::release()
{
    if (!std::exchange(m_held, false))
        return;
    if (!m_waiting.isEmpty())
        QTimer::singleShot(0, this, &QuickAddQueue::retry);
}

QuickAddOutcome QuickAddQueue::tryFirst()
{
    const Line line = m_waiting.first();
    const QuickAddResult result
        = addFromQuickAdd(m_store, line.text, line.preferredCalendarId, line.now, line.key);
    switch (result.outcome) {
    case QuickAddOutcome::Busy:
        if (!m_retry.isActive()) {
            m_retry.start();
            keep();
            emit waiting(line.text, waitingCount());
        }
        return result.outcome;
    case QuickAddOutcome::Stored:
        m_waiting.removeFirst();
        emit added(line.text, result.id);
        break;
    case QuickAddOutcome::Refused:
        m_waiting.removeFirst();
        emit refused(line.text, result.reason);
        break;
    }
    if (m_restored > 0) {
        --m_restored;
        if (result.outcome == QuickAddOutcome::Stored)
            ++m_restoredStored;
        if (m_restored == 0 && m_restoredStored > 0)
            emit restoredAdded(std::exchange(m_restoredStored, 0));
    }
    if (m_waiting.isEmpty())
        m_retry.stop();
    return result.outcome;
}

void QuickAddQueue::retry()
{
    if (m_held)
        return;
    // A slice stores for at least as long as writing the file takes, so that a long list does
    // not spend most of its time rewriting the file.
    if (storeSlice(int(std::max<qint64>(kSliceMs, m_lastKeepMs))))
        QTimer::singleShot(0, this, &QuickAddQueue::retry);
}

bool QuickAddQueue::storeSlice(int budgetMs)
{
    QElapsedTimer spent;
    spent.start();
    bool stored = false;
    bool outOfTime = false;
    while (!m_waiting.isEmpty() && !outOfTime && tryFirst() != QuickAddOutcome::Busy) {
        stored = true;
        outOfTime = spent.hasExpired(budgetMs);
    }
    // A file that could not be written is tried again with each slice.
    if (stored || m_notKept)
        keep();
    return outOfTime && !m_waiting.isEmpty();
}

void QuickAddQueue::keepWaitingLinesIn(const QString &path)
{
    m_keepPath = path;
    readKeptLines();
    // From the event loop: whoever tells the user is listening by then.
    QTimer::singleShot(0, this, [this] {
        if (!m_keptAside.isEmpty())
            emit keptAside(m_keptAside);
        retry();
    });
}

QuickAddQueue::Read QuickAddQueue::readFile(const QString &path)
{
    Read read;
    const QFileInfo info(path);
    if (info.isSymLink()) {
        // Not ours: what it points at is not read, and the next write replaces the link.
        qWarning("[QuickAdd] %s is a link; it is not followed", qUtf8Printable(path));
        return read;
    }
    if (!info.exists())
        return read;
    QFile file;
    qint64 size = 0;
    QString error;
    const RegularFileOpen opened = openRegularFile(file, path, &size, &error);
    if (opened != RegularFileOpen::Opened) {
        qWarning("[QuickAdd] the waiting lines in %s cannot be read: %s", qUtf8Printable(path),
                 opened == RegularFileOpen::NotRegular ? "not a file" : qUtf8Printable(error));
        return read;
    }
    const QByteArray data = size > kMaxKeptBytes ? QByteArray() : file.read(kMaxKeptBytes + 1);
    file.close();
    if (size > kMaxKeptBytes || data.size() > kMaxKeptBytes) {
        qWarning("[QuickAdd] %s is too large to hold waiting lines", qUtf8Printable(path));
        read.keptAside = keepAside(path);
        return read;
    }
    QJsonParseError parsed {};
    const QJsonDocument doc = QJsonDocument::fromJson(data, &parsed);
    QList<QJsonObject> objects;
    if (doc.isArray()) {
        const QJsonArray lines = doc.array();
        for (const QJsonValue &line : lines)
            objects.append(line.toObject());
    } else {
        qWarning("[QuickAdd] the waiting lines in %s cannot be read whole: %s",
                 qUtf8Printable(path), qUtf8Printable(parsed.errorString()));
        // Kept for the user to look at, never written over by the next waiting line.
        read.keptAside = keepAside(path);
        objects = wholeObjects(data);
    }
    for (const QJsonObject &object : objects) {
        const QString text = object.value(kText).toString();
        const QDateTime typed
            = QDateTime::fromString(object.value(kTyped).toString(), Qt::ISODateWithMs);
        if (text.trimmed().isEmpty())
            continue;
        Line line = newLine(text, object.value(kCalendar).toString(),
                            typed.isValid() ? typed.toLocalTime() : Clock::now());
        // A line an older run kept has no key yet: the new one is written before a try.
        if (const QString key = object.value(kKey).toString(); !key.isEmpty())
            line.key = key;
        read.lines.append(line);
    }
    return read;
}

void QuickAddQueue::readKeptLines()
{
    Read read = readFile(m_keepPath);
    if (read.lines.isEmpty() && read.keptAside.isEmpty())
        return;
    m_keptAside = read.keptAside;
    // Lines a run stored just before it ended, with the file not yet written again.
    QStringList keys;
    for (const Line &line : std::as_const(read.lines))
        keys << line.key;
    QuickAddKeyRepository *stored = m_store.quickAddKeys();
    const QSet<QString> done = stored ? stored->storedAmong(keys) : QSet<QString>();
    QList<Line> restored;
    for (const Line &line : std::as_const(read.lines)) {
        if (!done.contains(line.key))
            restored.append(line);
    }
    if (stored)
        stored->forgetBefore(Clock::nowUtc().addDays(-kKeyDays));
    m_kept = true;
    m_restored += int(restored.size());
    m_waiting = restored + m_waiting;
    // The keys must be on disk before a line is stored with one (and what a damaged file held
    // goes to a new file at once, lest a crash lose it).
    keep();
}

QString QuickAddQueue::keepAside(const QString &path)
{
    QString error;
    const QString aside = keepFileAside(path, &error);
    if (aside.isEmpty())
        qWarning("[QuickAdd] %s cannot be kept aside: %s", qUtf8Printable(path),
                 qUtf8Printable(error));
    return aside;
}

bool QuickAddQueue::keepForLater(const QString &path, const QString &line, const QDateTime &now,
                                 QString *error)
{
    Read read = readFile(path);
    read.lines.append(newLine(line, QString(), now));
    const QString failure = writeFile(path, read.lines);
    if (error)
        *error = failure;
    return failure.isEmpty();
}

int QuickAddQueue::tryOnceMoreBeforeQuit(int waitMs)
{
    if (m_waiting.isEmpty())
        return 0;
    Database *db = m_store.database();
    if (db)
        db->setBusyTimeouts(waitMs, waitMs);
    // A long list is not stored whole on the way out: what is left waits in the file.
    (void)storeSlice(waitMs);
    if (!m_waiting.isEmpty())
        keep();
    m_retry.stop();
    if (db)
        db->setBusyTimeouts(Database::kBusyTimeoutMs, Database::kMigrationBusyTimeoutMs);
    return waitingCount();
}

QString QuickAddQueue::writeFile(const QString &path, QList<Line> &lines)
{
    // Each line is turned into text once: the file is written again after every slice.
    QByteArray bytes = "[\n";
    for (Line &line : lines) {
        if (line.kept.isEmpty())
            line.kept
                = QJsonDocument(QJsonObject {{kText, line.text},
                                             {kCalendar, line.preferredCalendarId},
                                             {kTyped, line.now.toUTC().toString(Qt::ISODateWithMs)},
                                             {kKey, line.key}})
                      .toJson(QJsonDocument::Compact);
        bytes += line.kept + ",\n";
    }
    bytes.chop(2);
    bytes += "\n]\n";
    // Whole or not at all, private like the database beside it; a link in its place is
    // replaced, never written through.
    QString error;
    if (!replaceFileWhole(path, bytes, &error))
        return error;
    return {};
}

void QuickAddQueue::keep()
{
    if (m_keepPath.isEmpty())
        return;
    if (m_waiting.isEmpty()) {
        if (QFileInfo(m_keepPath).isSymLink())
            (void)QFile::remove(m_keepPath);
        if (QFile::remove(m_keepPath) || !QFile::exists(m_keepPath))
            m_kept = false;
        m_notKept = false;
        return;
    }
    QElapsedTimer writing;
    writing.start();
    const QString failure = writeFile(m_keepPath, m_waiting);
    m_lastKeepMs = writing.elapsed();
    if (failure.isEmpty()) {
        m_kept = true;
        m_notKept = false;
        return;
    }
    qWarning("[QuickAdd] %d waiting lines cannot be kept in %s: %s", waitingCount(),
             qUtf8Printable(m_keepPath), qUtf8Printable(failure));
    if (!std::exchange(m_notKept, true))
        emit notKept(waitingCount());
}
