#pragma once

// Adding a Google or Microsoft account: the browser sign-in behind a wait dialog, then the
// account and its tokens stored.

#include <QCoreApplication>
#include <QString>

class AppState;
class QWidget;

namespace OAuth {
struct SignInResult;
}

class ProviderSignIn
{
    Q_DECLARE_TR_FUNCTIONS(ProviderSignIn)
public:
    enum class Provider { Google, Microsoft };

    // The build carries this provider's OAuth client identity, so the sign-in is offered.
    static bool isOffered(Provider provider);
    static QString accountType(Provider provider);

    // Runs one sign-in over parent and returns at once. A wait dialog ("providerSignInWait")
    // cancels it; success stores the account, a failure is shown, a cancel leaves nothing.
    static void start(AppState *state, Provider provider, QWidget *parent);

    // Stores the signed-in account and its tokens. An account of this provider with the same
    // e-mail address takes the new tokens instead of getting a twin. The account's id, or empty
    // when it could not be stored (then nothing is left behind).
    static QString storeAccount(AppState *state, Provider provider,
                                const OAuth::SignInResult &result);
};
