#pragma once

// The new-event form: title, start, end, all day and calendar. The event is stored "pending"
// so the next sync of its calendar sends it.

#include "model/Records.h"

#include <QDateTime>
#include <QDialog>

class AppState;
class QCheckBox;
class QComboBox;
class QDateTimeEdit;
class QLabel;
class QLineEdit;
class ScrollingBody;

class EventFormDialog : public QDialog
{
    Q_OBJECT
public:
    // The form starts at the next full hour after now, one hour long.
    EventFormDialog(AppState *state, const QDateTime &now, QWidget *parent);

    // The event the form describes, with a new identity and its stored text.
    Event buildEvent(const QDateTime &nowUtc) const;
    // Stores the form's event; its id, or empty (with the reason shown on the form) when the
    // form is incomplete or the store refused it.
    QString save();
    // Why the form cannot be saved as it stands; empty when it can.
    QString validationError() const;

    QLineEdit *titleEdit() const { return m_title; }
    QDateTimeEdit *startEdit() const { return m_start; }
    QDateTimeEdit *endEdit() const { return m_end; }
    QCheckBox *allDayCheck() const { return m_allDay; }
    QComboBox *calendarCombo() const { return m_calendar; }
    QString savedEventId() const { return m_savedId; }

private:
    void onAllDayToggled(bool allDay);
    void showError(const QString &text);

    AppState *m_state;
    QLineEdit *m_title;
    QDateTimeEdit *m_start;
    QDateTimeEdit *m_end;
    QCheckBox *m_allDay;
    QComboBox *m_calendar;
    QLabel *m_error;
    ScrollingBody *m_body = nullptr;
    QString m_savedId;
    // The form's own refusal on screen (a missing title...), empty while none is.
    QString m_refusal;
    QDateTime m_previousStart;
};
