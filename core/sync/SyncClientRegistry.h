#pragma once

// Which sync client serves which account type. Each client registers a factory for its type;
// "Sync now" runs one client per enabled account and reports types that have none.

#include "model/Records.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class AppState;

// One sync run of one account. Ends with exactly one of the two terminal signals; each calendar
// it syncs is announced by calendarSyncStarted and ends with one of the two calendar signals, or
// is held: not synced (or not to its end) because the gate held it, and kept back there.
class AccountSyncRun : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    virtual void start() = 0;

    // Only these calendars of the account (local ids) are synced; all enabled ones when empty.
    // Set before start.
    void setCalendarFilter(const QStringList &calendarIds) { m_calendarFilter = calendarIds; }
    QStringList calendarFilter() const { return m_calendarFilter; }

    // Not before this time should the account be synced again by itself (the source asked to
    // be left alone until then); invalid when it did not ask.
    QDateTime retryAfter() const { return m_retryAfter; }
    // Ends the run as failed from outside (its source went silent); the caller deletes it
    // before it can do anything more.
    void stop(const QString &calendarId, const QString &reason) { emit failed(calendarId, reason); }

signals:
    void finished();
    void failed(const QString &calendarId, const QString &reason);
    void calendarSyncStarted(const QString &calendarId);
    // eventCount: the items the pull received over all pages.
    void calendarSyncCompleted(const QString &calendarId, int eventCount);
    void calendarSyncFailed(const QString &calendarId, const QString &reason);
    void calendarSyncHeld(const QString &calendarId);
    // An answer of the source came in (a listing, a page, a push result): the run is not stuck.
    void progressed();

protected:
    void setRetryAfter(const QDateTime &when) { m_retryAfter = when; }

private:
    QDateTime m_retryAfter;
    QStringList m_calendarFilter;
};

namespace SyncClientRegistry {

using Factory
    = std::function<AccountSyncRun *(AppState *state, const Account &account, QObject *parent)>;

// A later registration for the same type replaces the earlier one; an empty factory removes it.
void registerClient(const QString &accountType, Factory factory);
bool hasClient(const QString &accountType);
// Null when no client is registered for the account's type.
AccountSyncRun *create(AppState *state, const Account &account, QObject *parent);

} // namespace SyncClientRegistry
