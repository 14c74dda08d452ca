#pragma once

// Feed subscriptions: every subscribed calendar belongs to one account of type "webcal".

#include "model/Records.h"

#include <QString>

#include <optional>

class AppState;

namespace Webcal {

class SyncClient
{
public:
    static const QString subscriptionsAccountId;

    // The account that owns every subscription calendar, made when it does not exist and
    // brought back when it was removed. Nothing when it cannot be written.
    static std::optional<Account> ensureSubscriptionsAccount(AppState *state);
};

} // namespace Webcal
