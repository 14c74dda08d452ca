#pragma once

// "Sync Now": one run per enabled account through the client registered for its type, with the
// state's sync bookkeeping (busy, last error). An account whose run is still under way is not
// started again. What to show the user comes out as statusMessage.

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>

class AccountSyncRun;
class AppState;
struct Account;

namespace Sync {

class SyncCoordinator : public QObject
{
    Q_OBJECT
public:
    explicit SyncCoordinator(AppState *state, QObject *parent = nullptr);

    void syncNow();
    bool isRunning(const QString &accountId) const { return !m_runs.value(accountId).isNull(); }

signals:
    void statusMessage(const QString &text);

private:
    void run(const Account &account, AccountSyncRun *run);

    AppState *m_state;
    QHash<QString, QPointer<AccountSyncRun>> m_runs;
};

} // namespace Sync
