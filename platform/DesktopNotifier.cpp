#include "platform/DesktopNotifier.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDebug>
#include <QVariantMap>

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");

} // namespace

DesktopNotifier::DesktopNotifier(QObject *parent)
    : DesktopNotifier(QDBusConnection::sessionBus(), parent)
{ }

DesktopNotifier::DesktopNotifier(const QString &busAddress, QObject *parent)
    : DesktopNotifier(
        QDBusConnection::connectToBus(busAddress, QStringLiteral("lark-notifier ") + busAddress),
        parent)
{ }

DesktopNotifier::DesktopNotifier(const QDBusConnection &bus, QObject *parent)
    : QObject(parent)
    , m_bus(std::make_unique<QDBusConnection>(bus))
{
    listen();
}

DesktopNotifier::~DesktopNotifier() = default;

void DesktopNotifier::listen()
{
    if (!m_bus->isConnected())
        return;
    m_bus->connect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                   SLOT(onActionInvoked(uint, QString)));
    m_bus->connect(kService, kPath, kInterface, QStringLiteral("NotificationClosed"), this,
                   SLOT(onNotificationClosed(uint, uint)));
}

bool DesktopNotifier::isAvailable() const
{
    if (!m_bus->isConnected() || !m_bus->interface())
        return false;
    if (m_bus->interface()->isServiceRegistered(kService).value())
        return true;
    const QDBusReply<QStringList> activatable
        = m_bus->interface()->call(QStringLiteral("ListActivatableNames"));
    return activatable.isValid() && activatable.value().contains(kService);
}

void DesktopNotifier::notify(const QString &title, const QString &body, int timeoutMs,
                             std::function<void(std::optional<uint>)> done)
{
    QDBusMessage call
        = QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Notify"));
    // The body may be read as markup by the service: its text is escaped.
    call << QStringLiteral("Larkspindle Calendar") << uint(0) << QStringLiteral("x-office-calendar")
         << title << body.toHtmlEscaped() << QStringList {QStringLiteral("default"), tr("Open")}
         << QVariantMap {{QStringLiteral("category"), QStringLiteral("x-lark.reminder")}}
         << qint32(timeoutMs);
    auto *watcher = new QDBusPendingCallWatcher(m_bus->asyncCall(call, m_callTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [done = std::move(done)](QDBusPendingCallWatcher *w) {
                const QDBusPendingReply<uint> reply = *w;
                w->deleteLater();
                if (reply.isError()) {
                    qWarning() << "[Reminders] The desktop did not show a notification:"
                               << reply.error().message();
                    done(std::nullopt);
                    return;
                }
                done(reply.value());
            });
}

void DesktopNotifier::onActionInvoked(uint id, const QString &actionKey)
{
    if (actionKey == QLatin1String("default"))
        emit activated(id);
}

void DesktopNotifier::onNotificationClosed(uint id, uint)
{
    emit closed(id);
}
