#pragma once

// The reminders that came while there was no way to show them (no tray icon, no desktop
// notification service), listed when the main window is shown. Not modal: the window stays
// usable beside it.

#include <QDate>
#include <QDialog>

class QListWidget;

class MissedRemindersDialog : public QDialog
{
    Q_OBJECT
public:
    explicit MissedRemindersDialog(QWidget *parent);

    // Adds one reminder below those listed; eventId is empty for a task's.
    void add(const QString &title, const QString &body, const QString &eventId, const QDate &date);
    QListWidget *list() const { return m_list; }

signals:
    // The user opened the reminder of this event.
    void eventChosen(const QString &eventId, const QDate &date);

private:
    QListWidget *m_list;
};
