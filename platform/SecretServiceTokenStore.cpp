#include "platform/SecretServiceTokenStore.h"

#include "platform/Credentials.h"

// GLib's headers name struct members "signals", which Qt defines as a keyword.
#pragma push_macro("signals")
#undef signals
#include <libsecret/secret.h>
#pragma pop_macro("signals")

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace LarkAccount {

namespace {

using namespace std::chrono_literals;

// A healthy keyring answers in milliseconds; one that hangs fails the call instead.
constexpr auto kCallTimeout = 5s;
// Unlocking may put the desktop's password prompt in front of the user.
constexpr auto kPromptTimeout = 120s;

// Cancels the calls given its cancellable once the time is up. libsecret's synchronous calls
// wait in a private main loop of their own, so the watch runs on a thread beside it.
class Deadline
{
public:
    explicit Deadline(std::chrono::milliseconds limit)
        : m_cancellable(g_cancellable_new())
        , m_watch([this, limit] {
            std::unique_lock<std::mutex> lock(m_mutex);
            if (!m_ended.wait_for(lock, limit, [this] { return m_done; }))
                g_cancellable_cancel(m_cancellable);
        })
    { }
    ~Deadline()
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_done = true;
        }
        m_ended.notify_one();
        m_watch.join();
        g_object_unref(m_cancellable);
    }
    Deadline(const Deadline &) = delete;
    Deadline &operator=(const Deadline &) = delete;

    GCancellable *cancellable() const { return m_cancellable; }

private:
    GCancellable *m_cancellable;
    std::mutex m_mutex;
    std::condition_variable m_ended;
    bool m_done = false;
    std::thread m_watch;
};

struct ErrorHolder
{
    GError *error = nullptr;
    ~ErrorHolder() { g_clear_error(&error); }
    QString text() const { return error ? QString::fromUtf8(error->message) : QString(); }
};

struct ItemsDeleter
{
    void operator()(GList *items) const { g_list_free_full(items, g_object_unref); }
};
using Items = std::unique_ptr<GList, ItemsDeleter>;

struct AttributesDeleter
{
    void operator()(GHashTable *table) const { g_hash_table_unref(table); }
};
using Attributes = std::unique_ptr<GHashTable, AttributesDeleter>;

struct ValueDeleter
{
    void operator()(SecretValue *value) const { secret_value_unref(value); }
};
using Value = std::unique_ptr<SecretValue, ValueDeleter>;

const SecretSchema *credentialSchema()
{
    static const SecretSchema schema = [] {
        SecretSchema s {};
        s.name = "com.larkspindle.calendar.Credential";
        s.flags = SECRET_SCHEMA_NONE;
        s.attributes[0] = {"service", SECRET_SCHEMA_ATTRIBUTE_STRING};
        s.attributes[1] = {"key", SECRET_SCHEMA_ATTRIBUTE_STRING};
        return s;
    }();
    return &schema;
}

SecretService *&sharedService()
{
    static SecretService *service = nullptr;
    return service;
}

// Once the user declined to unlock the keyring, the run does not ask again for every secret;
// unlocking it by other means makes the secrets reachable again.
bool &unlockDeclined()
{
    static bool declined = false;
    return declined;
}

void noteUnlockDeclined()
{
    if (!unlockDeclined())
        qWarning("[TokenStore] the desktop keyring stays locked; its credentials cannot be used");
    unlockDeclined() = true;
}

Attributes entryAttributes(const QString &serviceName, const QString &key)
{
    return Attributes(secret_attributes_build(credentialSchema(), "service",
                                              serviceName.toUtf8().constData(), "key",
                                              key.toUtf8().constData(), nullptr));
}

TokenStoreFailure failureOf(const GError *error)
{
    if (g_error_matches(error, SECRET_ERROR, SECRET_ERROR_IS_LOCKED))
        return TokenStoreFailure::KeyringLocked;
    return TokenStoreFailure::KeyringUnavailable;
}

enum class Found { Items, None, Failed };

// Every item of the entry, locked or not, unlocked; the user may be asked for the password.
Found findUnlocked(const QString &serviceName, const QString &key, Items &items,
                   TokenStoreFailure &failure)
{
    SecretService *service = sharedService();
    if (!service) {
        failure = TokenStoreFailure::KeyringUnavailable;
        return Found::Failed;
    }
    ErrorHolder error;
    {
        const Attributes attributes = entryAttributes(serviceName, key);
        const Deadline deadline(kCallTimeout);
        items.reset(secret_service_search_sync(service, credentialSchema(), attributes.get(),
                                               SECRET_SEARCH_ALL, deadline.cancellable(),
                                               &error.error));
    }
    if (error.error) {
        failure = failureOf(error.error);
        return Found::Failed;
    }
    if (!items)
        return Found::None;

    GList *locked = nullptr;
    for (GList *item = items.get(); item; item = item->next) {
        if (secret_item_get_locked(SECRET_ITEM(item->data)))
            locked = g_list_append(locked, item->data);
    }
    if (!locked) {
        unlockDeclined() = false;
        return Found::Items;
    }
    if (unlockDeclined()) {
        g_list_free(locked);
        failure = TokenStoreFailure::KeyringLocked;
        return Found::Failed;
    }
    const guint lockedCount = g_list_length(locked);
    const Deadline deadline(kPromptTimeout);
    const gint unlocked = secret_service_unlock_sync(service, locked, deadline.cancellable(),
                                                     nullptr, &error.error);
    g_list_free(locked);
    if (error.error && !g_error_matches(error.error, G_IO_ERROR, G_IO_ERROR_CANCELLED)) {
        failure = failureOf(error.error);
        return Found::Failed;
    }
    if (unlocked < 0 || guint(unlocked) < lockedCount) {
        // Declined, dismissed or left unanswered: the secrets are there but out of reach.
        noteUnlockDeclined();
        failure = TokenStoreFailure::KeyringLocked;
        return Found::Failed;
    }
    return Found::Items;
}

bool defaultCollectionLocked(SecretService *service)
{
    ErrorHolder error;
    const Deadline deadline(kCallTimeout);
    SecretCollection *collection = secret_collection_for_alias_sync(
        service, SECRET_COLLECTION_DEFAULT, SECRET_COLLECTION_NONE, deadline.cancellable(),
        &error.error);
    if (!collection)
        return false;
    const bool locked = secret_collection_get_locked(collection);
    g_object_unref(collection);
    return locked;
}

} // namespace

SecretServiceTokenStore::SecretServiceTokenStore(QString serviceName)
    : m_serviceName(std::move(serviceName))
{ }

bool SecretServiceTokenStore::connect(QString *reason)
{
    if (sharedService())
        return true;
    ErrorHolder error;
    SecretService *service = nullptr;
    {
        const Deadline deadline(kCallTimeout);
        service = secret_service_get_sync(SECRET_SERVICE_OPEN_SESSION, deadline.cancellable(),
                                          &error.error);
    }
    if (!service) {
        if (reason)
            *reason = error.text();
        return false;
    }
    // Kept for the whole run: every store of the run talks over this one session.
    sharedService() = service;
    return true;
}

std::optional<QString> SecretServiceTokenStore::get(const QString &key)
{
    m_failure = TokenStoreFailure::None;
    Items items;
    if (findUnlocked(m_serviceName, key, items, m_failure) != Found::Items)
        return std::nullopt;

    // Two collections may hold the entry; the one written last is the one that counts.
    SecretItem *newest = nullptr;
    for (GList *item = items.get(); item; item = item->next) {
        SecretItem *candidate = SECRET_ITEM(item->data);
        if (!newest || secret_item_get_modified(candidate) > secret_item_get_modified(newest))
            newest = candidate;
    }
    ErrorHolder error;
    {
        const Deadline deadline(kCallTimeout);
        secret_item_load_secret_sync(newest, deadline.cancellable(), &error.error);
    }
    if (error.error) {
        m_failure = failureOf(error.error);
        return std::nullopt;
    }
    const Value value(secret_item_get_secret(newest));
    if (!value) {
        m_failure = TokenStoreFailure::KeyringLocked;
        return std::nullopt;
    }
    gsize length = 0;
    const gchar *bytes = secret_value_get(value.get(), &length);
    return QString::fromUtf8(bytes, qsizetype(length));
}

bool SecretServiceTokenStore::set(const QString &key, const QString &value)
{
    m_failure = TokenStoreFailure::None;
    if (!credentialValueFits(value))
        return false;
    SecretService *service = sharedService();
    if (!service) {
        m_failure = TokenStoreFailure::KeyringUnavailable;
        return false;
    }
    if (unlockDeclined() && defaultCollectionLocked(service)) {
        m_failure = TokenStoreFailure::KeyringLocked;
        return false;
    }
    const QByteArray utf8 = value.toUtf8();
    const Value secret(secret_value_new(utf8.constData(), utf8.size(), "text/plain"));
    const Attributes attributes = entryAttributes(m_serviceName, key);
    const QByteArray label = credentialTargetName(m_serviceName, key).toUtf8();
    ErrorHolder error;
    bool stored = false;
    {
        // Storing replaces the entry in place, and may first ask the user to unlock the keyring.
        const Deadline deadline(kPromptTimeout);
        stored = secret_service_store_sync(service, credentialSchema(), attributes.get(),
                                           SECRET_COLLECTION_DEFAULT, label.constData(),
                                           secret.get(), deadline.cancellable(), &error.error);
    }
    if (!stored) {
        m_failure = error.error ? failureOf(error.error) : TokenStoreFailure::KeyringLocked;
        if (m_failure == TokenStoreFailure::KeyringLocked)
            noteUnlockDeclined();
        return false;
    }
    unlockDeclined() = false;
    return true;
}

bool SecretServiceTokenStore::remove(const QString &key)
{
    m_failure = TokenStoreFailure::None;
    Items items;
    if (findUnlocked(m_serviceName, key, items, m_failure) != Found::Items)
        return false;
    for (GList *item = items.get(); item; item = item->next) {
        ErrorHolder error;
        const Deadline deadline(kCallTimeout);
        if (!secret_item_delete_sync(SECRET_ITEM(item->data), deadline.cancellable(),
                                     &error.error)) {
            m_failure = failureOf(error.error);
            return false;
        }
    }
    return true;
}

} // namespace LarkAccount
