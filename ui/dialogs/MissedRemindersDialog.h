#pragma once

// The reminders that came while there was no way to show them (no tray icon, no desktop
// notification service), listed when the main window is shown. Not modal: the window stays
// usable beside it. It is as large as its text and rows need, within the screen.

#include "core/ReminderRound.h"

#include <QDate>
#include <QDialog>
#include <QList>

class QLabel;
class QListWidget;

class MissedRemindersDialog : public QDialog
{
    Q_OBJECT
public:
    explicit MissedRemindersDialog(QWidget *parent);

    // Adds one reminder below those listed: of an event (its id) or of a task (due that day). An
    // event's row says the time left, and keeps saying it as the clock goes on while the list
    // stays open.
    void add(const ReminderNotice &notice);
    QListWidget *list() const { return m_list; }

signals:
    // The user opened the reminder of this event.
    void eventChosen(const QString &eventId, const QDate &date);
    // The user opened the reminder of a task due on this day.
    void taskChosen(const QDate &date);

private:
    // Grows the dialog to show the text and every row, as far as the screen allows.
    void fitToContents();
    // Says each event's time left again as of now.
    void reword();

    QLabel *m_intro;
    QListWidget *m_list;
    QList<ReminderNotice> m_notices; // by row
};
