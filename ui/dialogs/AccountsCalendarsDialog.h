#pragma once

// Lists the accounts with their calendars and adds calendars kept on this device.

#include <QDialog>

class AppState;
class QLineEdit;
class QTreeWidget;

class AccountsCalendarsDialog : public QDialog
{
    Q_OBJECT
public:
    AccountsCalendarsDialog(AppState *state, QWidget *parent);

    // Adds a calendar of that name to the on-device account (created when missing). The new
    // calendar's id, or empty when nothing was stored.
    static QString addLocalCalendar(AppState *state, const QString &name, const QString &color);

    QTreeWidget *tree() const { return m_tree; }
    QLineEdit *nameEdit() const { return m_name; }

public slots:
    void reload();
    void addCalendarFromForm();

private:
    AppState *m_state;
    QTreeWidget *m_tree;
    QLineEdit *m_name;
};
