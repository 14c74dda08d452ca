#pragma once

// The sign-in session of one Google or Microsoft account: renewed through the provider's sign-in
// service (one made for each renewal and deleted once it answered), its tokens kept in the
// credential store under the provider's key for the account. The Google and Microsoft providers
// and the configuration discovery each make theirs here.

#include "services/oauth/SignInSession.h"

#include <QObject>
#include <QString>

#include <functional>

namespace OAuth {

class LoopbackAuthService;

using AuthFactory = std::function<LoopbackAuthService *(QObject *parent)>;

// A child of owner, without tokens until they are set.
SignInSession *newProviderSession(const AuthFactory &makeAuth, const QString &tokenKey,
                                  int minimumLeftSecs, QObject *owner);

template<typename AuthService>
SignInSession *newProviderSession(const QString &accountId, int minimumLeftSecs, QObject *owner)
{
    return newProviderSession([](QObject *parent) { return new AuthService(parent); },
                              AuthService::tokenKey(accountId), minimumLeftSecs, owner);
}

} // namespace OAuth
