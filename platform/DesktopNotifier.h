#pragma once

// The desktop's notification service on the session bus (org.freedesktop.Notifications): the
// way a reminder reaches the user when there is no tray icon to show a balloon.

#include <QDBusConnection>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class DesktopNotifier : public QObject
{
    Q_OBJECT
public:
    static constexpr int kCallTimeoutMs = 5000;

    // On the user's session bus.
    explicit DesktopNotifier(QObject *parent = nullptr);
    // On the given bus (a test's private one, or one that is not connected).
    DesktopNotifier(const QDBusConnection &bus, QObject *parent = nullptr);

    // A notification service answers on the bus (or can be started by it).
    [[nodiscard]] bool isAvailable() const;

    // Shows a notification with a default action (a click on it); done gets the id the service
    // gave it, or nothing when it was not shown.
    void notify(const QString &title, const QString &body, int timeoutMs,
                std::function<void(std::optional<uint>)> done);

signals:
    // The user clicked the notification with this id.
    void activated(uint id);
    // The notification with this id is gone (expired, dismissed or clicked away).
    void closed(uint id);

private slots:
    void onActionInvoked(uint id, const QString &actionKey);
    void onNotificationClosed(uint id, uint reason);

private:
    void listen();

    QDBusConnection m_bus;
};
