#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

namespace LarkAccount {

// Why a store could not give or keep a secret, when the user can do something about it. Other
// failures (a refused value, an unwritable vault) are told by the results alone.
enum class TokenStoreFailure : int {
    None = 0,
    // The desktop keyring holds the secrets but stays locked: the user declined to unlock it.
    KeyringLocked = 1,
    // The secrets are kept in the desktop keyring, which does not answer (not running in this
    // session, or gone while the program runs).
    KeyringUnavailable = 2,
};

// A sentence for the user about the failure, empty for None.
QString tokenStoreFailureText(TokenStoreFailure failure);

// Secrets (CalDAV passwords, provider tokens, the cloud account's tokens) by entry key, one
// name space per service name. Values are text, kept as UTF-8. Nothing secret goes anywhere else.
class TokenStore
{
public:
    virtual ~TokenStore();
    virtual std::optional<QString> get(const QString &key) = 0;
    virtual bool set(const QString &key, const QString &value) = 0;
    virtual bool remove(const QString &key) = 0;
    // Removes the cloud account's two token entries and nothing else.
    virtual void clear();
    // What kept the latest get, set or remove from succeeding; None after a success and after a
    // get that found no entry where one could have been.
    virtual TokenStoreFailure lastFailure() const;
};

// The store every caller uses. Never returns null. The first call of a run decides between the
// desktop keyring and the vault file, and says so in the log. Where the keyring answers, a
// service's entries in the vault move into it the first time a run asks for that service.
std::unique_ptr<TokenStore> createTokenStore(const QString &serviceName);

// Tests replace the store behind createTokenStore (an empty function restores the real one).
using TokenStoreFactory = std::function<std::unique_ptr<TokenStore>(const QString &serviceName)>;
void setTokenStoreFactory(TokenStoreFactory factory);

struct CredentialMove
{
    int moved = 0;
    int kept = 0; // still in the source, where they were
};

// Moves the entries of `keys` from one store to another: each is written to the target, read
// back, and only then removed from the source. An entry that fails any step stays in the source
// and is taken out of the target again, so it is never lost and never held twice.
CredentialMove moveCredentials(TokenStore &from, const QStringList &keys, TokenStore &to);

} // namespace LarkAccount
