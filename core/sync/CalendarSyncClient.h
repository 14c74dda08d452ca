#pragma once

// One calendar brought up to date with its source: one run of the calendar's account narrowed
// to that calendar. Every syncCalendar announces calendarSyncStarted and ends with exactly one of
// calendarSyncCompleted (with the items the pull received over all pages), calendarSyncFailed, or
// calendarSyncHeld: the sync gate keeps it back (its account's run is under way or waits for its
// source, an import writes into it) and the coordinator's run syncs it once the hold is gone.
// Runs of several calendars may overlap on one client; deleting the client abandons them
// without a further signal.
// The program starts none: its runs are the coordinator's, a SyncEngine per account. This, and
// the Google, Microsoft and cloud SyncClient over it, keep the per-calendar interface for callers
// that want one calendar's run; the tests drive them.

#include "model/Records.h"

#include <QObject>
#include <QString>

class AccountSyncRun;
class AppState;

namespace Sync {

class CalendarSyncClient : public QObject
{
    Q_OBJECT
public:
    explicit CalendarSyncClient(AppState *state, QObject *parent = nullptr);

    void syncCalendar(const Calendar &calendar);

signals:
    void calendarSyncStarted(const QString &calendarId);
    void calendarSyncCompleted(const QString &calendarId, int eventCount);
    void calendarSyncFailed(const QString &calendarId, const QString &reason);
    void calendarSyncHeld(const QString &calendarId);

protected:
    // The run of the account for the calendar, a child of this client; null when the account
    // does not sync. By default the run registered for the account's type.
    virtual AccountSyncRun *newRun(const Account &account, const Calendar &calendar);
    AppState *state() const { return m_state; }

private:
    AppState *m_state;
};

} // namespace Sync
