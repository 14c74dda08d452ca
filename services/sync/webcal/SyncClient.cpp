#include "services/sync/webcal/SyncClient.h"

#include "core/AppState.h"
#include "storage/AccountRepository.h"
#include "storage/Database.h"

#include <QtDebug>

namespace Webcal {

const QString SyncClient::subscriptionsAccountId = QStringLiteral("webcal-subscriptions-account");

std::optional<Account> SyncClient::ensureSubscriptionsAccount(AppState *state)
{
    if (!state || !state->accounts())
        return std::nullopt;
    AccountRepository *accounts = state->accounts();
    if (std::optional<Account> active = accounts->byId(subscriptionsAccountId))
        return active;

    // A removed account keeps its row (and its id) as a tombstone: a second insert would clash.
    const QList<Account> all = accounts->listAll();
    const bool tombstoned = std::any_of(
        all.cbegin(), all.cend(), [](const Account &a) { return a.id == subscriptionsAccountId; });
    if (tombstoned) {
        if (!accounts->restore(subscriptionsAccountId)) {
            qWarning() << "[Webcal] could not restore the subscriptions account";
            return std::nullopt;
        }
        return accounts->byId(subscriptionsAccountId);
    }

    Account account;
    account.id = subscriptionsAccountId;
    account.name = QStringLiteral("Calendar Subscriptions");
    account.type = QStringLiteral("webcal");
    account.color = QStringLiteral("#4285F4");
    account.created_at = account.updated_at = state->database()->currentDateTimeUtc();
    if (!accounts->insert(account)) {
        qWarning() << "[Webcal] could not create the subscriptions account";
        return std::nullopt;
    }
    return account;
}

} // namespace Webcal
