#include "core/QuickAddQueue.h"

#include "core/Store.h"
#include "model/Clock.h"
#include "storage/Database.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <utility>

namespace {

const auto kText = QStringLiteral("text");
const auto kCalendar = QStringLiteral("calendar");
const auto kTyped = QStringLiteral("typed");

} // namespace

QuickAddQueue::QuickAddQueue(const Store &store, QObject *parent)
    : QObject(parent)
    , m_store(store)
{
    m_retry.setInterval(kRetryIntervalMs);
    connect(&m_retry, &QTimer::timeout, this, &QuickAddQueue::retry);
}

QuickAddOutcome QuickAddQueue::add(const QString &line, const QString &preferredCalendarId,
                                   const QDateTime &now)
{
    m_waiting.append({line, preferredCalendarId, now});
    // Behind a waiting line this one waits too, so that lines are stored in the order given.
    if (m_waiting.size() > 1) {
        keep();
        emit waiting(line, waitingCount());
        return QuickAddOutcome::Busy;
    }
    return tryFirst();
}

QuickAddOutcome QuickAddQueue::tryFirst()
{
    const Line line = m_waiting.first();
    const QuickAddResult result
        = addFromQuickAdd(m_store, line.text, line.preferredCalendarId, line.now);
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
        emit refused(line.text);
        break;
    }
    if (m_restored > 0) {
        --m_restored;
        if (result.outcome == QuickAddOutcome::Stored)
            ++m_restoredStored;
        if (m_restored == 0 && m_restoredStored > 0)
            emit restoredAdded(std::exchange(m_restoredStored, 0));
    }
    if (m_kept)
        keep();
    if (m_waiting.isEmpty())
        m_retry.stop();
    return result.outcome;
}

void QuickAddQueue::retry()
{
    while (!m_waiting.isEmpty() && tryFirst() != QuickAddOutcome::Busy) { }
}

void QuickAddQueue::keepWaitingLinesIn(const QString &path)
{
    m_keepPath = path;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    QJsonParseError error {};
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &error);
    if (!doc.isArray()) {
        // Left where it is for the user to look at; the next waiting line writes over it.
        qWarning("[QuickAdd] the waiting lines in %s cannot be read: %s", qUtf8Printable(path),
                 qUtf8Printable(error.errorString()));
        return;
    }
    QList<Line> restored;
    for (const QJsonValue &value : doc.array()) {
        const QJsonObject object = value.toObject();
        const QString text = object.value(kText).toString();
        const QDateTime typed
            = QDateTime::fromString(object.value(kTyped).toString(), Qt::ISODateWithMs);
        if (!text.trimmed().isEmpty())
            restored.append({text, object.value(kCalendar).toString(),
                             typed.isValid() ? typed.toLocalTime() : Clock::now()});
    }
    m_kept = true;
    m_restored += int(restored.size());
    m_waiting = restored + m_waiting;
    // From the event loop: whoever tells the user is listening by then.
    QTimer::singleShot(0, this, &QuickAddQueue::retry);
}

int QuickAddQueue::tryOnceMoreBeforeQuit(int waitMs)
{
    if (m_waiting.isEmpty())
        return 0;
    Database *db = m_store.database();
    if (db)
        db->setBusyTimeouts(waitMs, waitMs);
    retry();
    m_retry.stop();
    if (db)
        db->setBusyTimeouts(Database::kBusyTimeoutMs, Database::kMigrationBusyTimeoutMs);
    return waitingCount();
}

void QuickAddQueue::keep()
{
    if (m_keepPath.isEmpty())
        return;
    if (m_waiting.isEmpty()) {
        if (QFile::remove(m_keepPath) || !QFile::exists(m_keepPath))
            m_kept = false;
        return;
    }
    QJsonArray lines;
    for (const Line &line : std::as_const(m_waiting))
        lines.append(QJsonObject {{kText, line.text},
                                  {kCalendar, line.preferredCalendarId},
                                  {kTyped, line.now.toUTC().toString(Qt::ISODateWithMs)}});
    QSaveFile file(m_keepPath);
    if (file.open(QIODevice::WriteOnly) && file.write(QJsonDocument(lines).toJson()) >= 0
        && file.commit())
        m_kept = true;
    else
        qWarning("[QuickAdd] %d waiting lines cannot be kept in %s: %s", waitingCount(),
                 qUtf8Printable(m_keepPath), qUtf8Printable(file.errorString()));
}
