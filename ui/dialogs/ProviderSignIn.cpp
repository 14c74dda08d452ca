#include "ui/dialogs/ProviderSignIn.h"
#include "model/Identifiers.h"

#include "core/AppState.h"
#include "core/sync/SyncCoordinator.h"
#include "services/sync/google/AuthService.h"
#include "services/sync/microsoft/AuthService.h"
#include "storage/AccountRepository.h"
#include "storage/Database.h"
#include "ui/MessagePresenter.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPointer>
#include <QUuid>
#include <QVBoxLayout>

#include <memory>

namespace {

QString title(ProviderSignIn::Provider provider)
{
    return provider == ProviderSignIn::Provider::Google ? ProviderSignIn::tr("Google sign-in")
                                                        : ProviderSignIn::tr("Microsoft sign-in");
}

QDialog *makeWaitDialog(ProviderSignIn::Provider provider, QWidget *parent)
{
    auto *wait = new QDialog(parent);
    wait->setObjectName(QStringLiteral("providerSignInWait"));
    wait->setAttribute(Qt::WA_DeleteOnClose);
    wait->setWindowTitle(title(provider));
    auto *label = new QLabel(
        ProviderSignIn::tr("Finish signing in in your browser. This window closes by itself "
                           "when you are done."),
        wait);
    label->setWordWrap(true);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, wait);
    QObject::connect(buttons, &QDialogButtonBox::rejected, wait, &QDialog::reject);
    auto *layout = new QVBoxLayout(wait);
    layout->addWidget(label);
    layout->addWidget(buttons);
    return wait;
}

} // namespace

bool ProviderSignIn::isOffered(Provider provider)
{
    return provider == Provider::Google ? hasBuiltInGoogleCredentials()
                                        : hasBuiltInMicrosoftClientId();
}

QString ProviderSignIn::accountType(Provider provider)
{
    return provider == Provider::Google ? QStringLiteral("google") : QStringLiteral("microsoft");
}

void ProviderSignIn::start(AppState *state, Provider provider, QWidget *parent)
{
    OAuth::LoopbackAuthService *service = nullptr;
    if (provider == Provider::Google)
        service = new Google::AuthService(parent);
    else
        service = new Microsoft::AuthService(parent);
    QPointer<QDialog> wait = makeWaitDialog(provider, parent);
    auto cancelled = std::make_shared<bool>(false);
    QObject::connect(wait, &QDialog::rejected, service, [service, cancelled] {
        *cancelled = true;
        service->cancel();
    });
    const auto closeWait = [wait] {
        if (wait && wait->isVisible())
            wait->accept();
    };
    QObject::connect(service, &OAuth::LoopbackAuthService::signInSucceeded, service,
                     [=](const OAuth::SignInResult &result) {
                         closeWait();
                         service->deleteLater();
                         const QString accountId = storeAccount(state, provider, result);
                         if (accountId.isEmpty())
                             MessagePresenter::show(MessagePresenter::Kind::Warning, parent,
                                                    title(provider),
                                                    tr("The account could not be saved."));
                         else // Its calendars listed and stored at once, then synced.
                             state->syncCoordinator()->syncAccount(accountId);
                     });
    QObject::connect(service, &OAuth::LoopbackAuthService::signInFailed, service,
                     [=](const QString &reason) {
                         closeWait();
                         service->deleteLater();
                         if (!*cancelled)
                             MessagePresenter::show(MessagePresenter::Kind::Warning, parent,
                                                    title(provider), reason);
                     });
    wait->open();
    service->startSignIn();
}

QString ProviderSignIn::storeAccount(AppState *state, Provider provider,
                                     const OAuth::SignInResult &result)
{
    const QString type = accountType(provider);
    std::optional<Account> existing;
    if (!result.email.isEmpty()) {
        const QList<Account> accounts = state->accounts()->listActive();
        for (const Account &account : accounts) {
            if (account.type == type
                && account.username.compare(result.email, Qt::CaseInsensitive) == 0)
                existing = account;
        }
    }
    const QString id = existing ? existing->id : newId();
    const OAuth::StoredTokens tokens {result.accessToken, result.refreshToken, result.expiresAt};
    const QString key = provider == Provider::Google ? Google::AuthService::tokenKey(id)
                                                     : Microsoft::AuthService::tokenKey(id);
    if (!OAuth::saveTokens(key, tokens))
        return QString();
    if (existing)
        return id;

    const QDateTime now = state->database()->currentDateTimeUtc();
    Account account;
    account.id = id;
    account.type = type;
    account.name = !result.email.isEmpty() ? result.email
        : !result.name.isEmpty()           ? result.name
        : provider == Provider::Google     ? QStringLiteral("Google")
                                           : QStringLiteral("Microsoft");
    account.username = result.email;
    account.created_at = now;
    account.updated_at = now;
    if (!state->accounts()->insert(account)) {
        // No account, so no tokens either.
        (void)OAuth::removeTokens(key);
        return QString();
    }
    return id;
}
