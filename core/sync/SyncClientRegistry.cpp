#include "core/sync/SyncClientRegistry.h"

#include <QHash>

namespace SyncClientRegistry {
namespace {
QHash<QString, Factory> &factories()
{
    static QHash<QString, Factory> map;
    return map;
}
} // namespace

void registerClient(const QString &accountType, Factory factory)
{
    if (factory)
        factories().insert(accountType, std::move(factory));
    else
        factories().remove(accountType);
}

bool hasClient(const QString &accountType)
{
    return factories().contains(accountType);
}

AccountSyncRun *create(AppState *state, const Account &account, QObject *parent)
{
    const auto it = factories().constFind(account.type);
    return it == factories().constEnd() ? nullptr : (*it)(state, account, parent);
}

} // namespace SyncClientRegistry
