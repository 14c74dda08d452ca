#pragma once

// A small card with one event's title, time, calendar, place and notes.

#include "model/Records.h"

#include <QFrame>

class QLabel;

// The time line of the card: one day with its times, an all-day range, or a range over days.
// timeFormat is the user's time-of-day format (timeOfDayFormat).
QString eventWhenText(const Event &event, const QString &timeFormat);

class EventDetailsPopover : public QFrame
{
    Q_OBJECT
public:
    EventDetailsPopover(const Event &event, const QString &calendarName, const QString &timeFormat,
                        QWidget *parent);

    QString eventId() const { return m_eventId; }
    // Shows the card centred on the given widget's window.
    void showCenteredOn(QWidget *widget);

private:
    QString m_eventId;
};
