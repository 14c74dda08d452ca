#pragma once

// Which sync client serves which account type. Each client registers a factory for its type;
// "Sync now" runs one client per enabled account and reports types that have none.

#include "model/Records.h"

#include <QDateTime>
#include <QObject>
#include <QString>

#include <functional>

class AppState;

// One sync run of one account. Ends with exactly one of the two signals.
class AccountSyncRun : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    virtual void start() = 0;

    // Not before this time should the account be synced again by itself (the source asked to
    // be left alone until then); invalid when it did not ask.
    QDateTime retryAfter() const { return m_retryAfter; }

signals:
    void finished();
    void failed(const QString &calendarId, const QString &reason);

protected:
    void setRetryAfter(const QDateTime &when) { m_retryAfter = when; }

private:
    QDateTime m_retryAfter;
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
