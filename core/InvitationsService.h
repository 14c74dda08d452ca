#pragma once

// Meeting invitations among the stored events: events with an attendee whose address is one of
// the user's own account addresses. Answers are written into the stored event and leave through
// the event outbox like any other edit.

#include "model/Records.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QPair>
#include <QSet>
#include <QString>

class AccountRepository;
class CalendarRepository;
class EventRepository;

namespace Invitations {

class Service : public QObject
{
    Q_OBJECT
public:
    // Reads accounts, calendars and events through these repositories; any may be null, and
    // then there is nothing to list or answer.
    Service(AccountRepository *accounts, CalendarRepository *calendars, EventRepository *events,
            QObject *parent = nullptr);

    // First: invitations awaiting an answer, soonest first. Second: answered or already over,
    // latest first. Only events of visible calendars from 90 days back to a year ahead.
    QPair<QList<Event>, QList<Event>> list() const;
    QPair<QList<Event>, QList<Event>> list(const QDateTime &now) const;
    int pendingCount() const;
    int pendingCount(const QDateTime &now) const;
    // Sets the status of every attendee entry of the event with this address and saves it.
    bool respond(const QString &eventId, const QString &email, const QString &status);
    // Lower-cased user names of the active accounts that look like e-mail addresses.
    QSet<QString> ownAddresses() const;

signals:
    void invitationsChanged();

private:
    AccountRepository *m_accounts;
    CalendarRepository *m_calendars;
    EventRepository *m_events;
};

} // namespace Invitations
