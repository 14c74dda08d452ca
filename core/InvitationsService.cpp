#include "core/InvitationsService.h"

#include "model/Clock.h"
#include "storage/AccountRepository.h"
#include "storage/CalendarRepository.h"
#include "storage/EventRepository.h"

#include <algorithm>

namespace Invitations {

Service::Service(AccountRepository *accounts, CalendarRepository *calendars,
                 EventRepository *events, QObject *parent)
    : QObject(parent)
    , m_accounts(accounts)
    , m_calendars(calendars)
    , m_events(events)
{
    if (m_events)
        connect(m_events, &EventRepository::eventsChanged, this, &Service::invitationsChanged);
    if (m_accounts)
        connect(m_accounts, &AccountRepository::accountsChanged, this,
                &Service::invitationsChanged);
}

QSet<QString> Service::ownAddresses() const
{
    QSet<QString> addresses;
    if (!m_accounts)
        return addresses;
    for (const Account &account : m_accounts->listActive()) {
        if (account.username.contains(QLatin1Char('@')))
            addresses.insert(account.username.toLower());
    }
    return addresses;
}

QPair<QList<Event>, QList<Event>> Service::list() const
{
    return list(Clock::now());
}

QPair<QList<Event>, QList<Event>> Service::list(const QDateTime &now) const
{
    QPair<QList<Event>, QList<Event>> out;
    if (!m_events || !m_calendars)
        return out;
    const QSet<QString> own = ownAddresses();
    if (own.isEmpty())
        return out;

    QStringList visible;
    for (const Calendar &calendar : m_calendars->listAll()) {
        if (calendar.is_visible)
            visible << calendar.id;
    }
    // An empty list would mean every calendar to the range query.
    if (visible.isEmpty())
        return out;

    const QDate today = now.toLocalTime().date();
    const QDateTime from(today.addDays(-90), QTime(0, 0));
    const QDateTime to(today.addDays(366), QTime(0, 0));
    for (const Event &event : m_events->listInRange(from, to, visible)) {
        if (event.status == QLatin1String("cancelled"))
            continue;
        const auto mine
            = std::find_if(event.attendees.cbegin(), event.attendees.cend(),
                           [&own](const Attendee &a) { return own.contains(a.email.toLower()); });
        if (mine == event.attendees.cend())
            continue;
        const QDateTime ends = event.end_time.value_or(event.start_time);
        if (ends < now)
            out.second << event;
        else if (mine->status.toLower() == QLatin1String("needs-action"))
            out.first << event;
        else
            out.second << event;
    }
    std::sort(out.first.begin(), out.first.end(),
              [](const Event &a, const Event &b) { return a.start_time < b.start_time; });
    std::sort(out.second.begin(), out.second.end(),
              [](const Event &a, const Event &b) { return a.start_time > b.start_time; });
    return out;
}

int Service::pendingCount() const
{
    return pendingCount(Clock::now());
}

int Service::pendingCount(const QDateTime &now) const
{
    return list(now).first.size();
}

bool Service::respond(const QString &eventId, const QString &email, const QString &status)
{
    if (!m_events)
        return false;
    std::optional<Event> event = m_events->byId(eventId);
    if (!event)
        return false;

    const QString address = email.toLower();
    bool matched = false;
    for (Attendee &attendee : event->attendees) {
        if (attendee.email.toLower() == address) {
            attendee.status = status;
            matched = true;
        }
    }
    if (!matched)
        return false;

    event->last_modified = Clock::nowUtc();
    event->sync_status = QStringLiteral("pending");
    const bool saved = m_events->update(*event);
    if (saved)
        emit invitationsChanged();
    return saved;
}

} // namespace Invitations
