#pragma once

// Asks which calendar should receive imported events; only calendars that take writes are shown.

#include "model/Records.h"

#include <QDialog>
#include <QList>

class AppState;
class QComboBox;

class CalendarPickerDialog : public QDialog
{
    Q_OBJECT
public:
    CalendarPickerDialog(AppState *state, const QString &prompt, QWidget *parent);

    // Calendars that are not read-only, in the repository's order.
    static QList<Calendar> writableCalendars(AppState *state);

    bool hasCalendars() const;
    QString selectedCalendarId() const;
    void selectCalendar(const QString &calendarId);

    // Fills a combo box with the writable calendars, each with its colour and, where two share a
    // name, its account's name; the preferred one (or the default calendar) selected.
    static void fillCalendarCombo(QComboBox *combo, AppState *state,
                                  const QString &preferredId = QString());

private:
    QComboBox *m_calendars;
};
