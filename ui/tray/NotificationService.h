#pragma once

#include "model/Records.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class AppState;
class QSystemTrayIcon;
class QTimer;

// The decisions of a reminder pass, free of the database and the tray so tests can call them.
namespace Reminders {

// How long after an item's start (or due time) its reminder may still fire.
constexpr qint64 kLateCutoffSecs = 1800;

// An event reminder fires once its trigger time has come, until 30 minutes after the start.
// An invalid trigger or start never fires.
[[nodiscard]] bool eventReminderFires(const QDateTime &trigger, const QDateTime &start,
                                      const QDateTime &now);
// A task reminder fires from minutesBefore ahead of the due time until 30 minutes after it.
[[nodiscard]] bool taskReminderFires(const QDateTime &due, int minutesBefore, const QDateTime &now);

// A reminder of a repeating event at `now`: the occurrences it reminds of now (their trigger
// after handledUntil, not after now, and not over for 30 minutes), and when to look at it again.
struct SeriesReminders
{
    QList<Event> due; // by start
    QDateTime nextTrigger;
};
// overrides are the series' stored overrides; those with reminders of their own remind by
// themselves, and cancelled ones not at all.
[[nodiscard]] SeriesReminders seriesReminders(const Event &master, const QList<Event> &overrides,
                                              int minutesBefore,
                                              const std::optional<QDateTime> &handledUntil,
                                              const QDateTime &now);

// Whether the filter rules hide the event or silence its reminders.
[[nodiscard]] bool suppressed(const Event &event, const QList<FilterRule> &rules);

// The balloon text of an event reminder; timeText is the start's time of day. The band follows
// the configured offset, not the time left.
[[nodiscard]] QString eventBody(int minutesBefore, const QString &timeText,
                                const QString &location);
// The balloon text of a task reminder; timeText is the due time of day (unused for date-only).
[[nodiscard]] QString taskBody(bool dateOnly, int minutesBefore, const QString &timeText);
// The item's title, or "Reminder" for an untitled one.
[[nodiscard]] QString balloonTitle(const QString &title);

} // namespace Reminders

// Raises due event and task reminders as tray balloons and acknowledges them so they fire once;
// a reminder of a repeating event moves on to the next occurrence instead. Reminders whose event
// was over before they could be shown (the program was closed) are settled without a balloon.
// Balloons that fall due together are queued and shown one after another.
class NotificationService : public QObject
{
    Q_OBJECT
public:
    static constexpr int kPollIntervalMs = 30000;
    static constexpr int kFirstPollDelayMs = 2000;
    static constexpr int kBalloonMs = 15000;

    struct Balloon
    {
        QString title;
        QString body;
        QString eventId; // empty for task reminders and the test balloon
        QDate date; // invalid for the test balloon
    };

    NotificationService(AppState *appState, QSystemTrayIcon *trayIcon, QObject *parent = nullptr);

    // "Now" for the due checks; the wall clock unless a test replaces it.
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }
    // How a balloon reaches the screen; true when it was shown. The tray icon unless replaced.
    void setPresenter(std::function<bool(const Balloon &)> presenter)
    {
        m_presenter = std::move(presenter);
    }
    // How long a balloon stays before the next queued one replaces it.
    void setBalloonDuration(int ms);

    // The balloon on screen now, if any, and those waiting behind it.
    const Balloon *currentBalloon() const { return m_showing ? &m_current : nullptr; }
    int queuedCount() const { return m_queue.size(); }

public slots:
    // One pass: read due reminders, queue their balloons, acknowledge them.
    void poll();
    void showTestNotification();
    // The user clicked the balloon on screen.
    void onBalloonClicked();

signals:
    void reminderClicked(const QString &eventId, const QDate &date);

private:
    void enqueue(const Balloon &balloon);
    void showNext();
    bool presentOnTray(const Balloon &balloon);
    QString timeText(const QDateTime &dt) const;
    // One pass over the event reminders; false when they could not be read.
    bool pollEvents(const QDateTime &now);
    void pollTasks(const QDateTime &now);

    AppState *m_appState;
    QSystemTrayIcon *m_trayIcon;
    QTimer *m_pollTimer;
    QTimer *m_balloonTimer;
    std::function<QDateTime()> m_clock;
    std::function<bool(const Balloon &)> m_presenter;
    QList<Balloon> m_queue;
    Balloon m_current;
    bool m_showing = false;
};
