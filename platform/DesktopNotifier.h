#pragma once

// The desktop's notification service on the session bus (org.freedesktop.Notifications): the
// way a reminder reaches the user when there is no tray icon to show a balloon. The bus stays
// inside this class, so the layers above need not see the bus library.

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QDBusConnection;

class DesktopNotifier : public QObject
{
    Q_OBJECT
public:
    static constexpr int kCallTimeoutMs = 5000;

    // On the user's session bus.
    explicit DesktopNotifier(QObject *parent = nullptr);
    // On the bus at this address (a test's private one, or one that is not there).
    DesktopNotifier(const QString &busAddress, QObject *parent = nullptr);
    ~DesktopNotifier() override;

    // A notification service answers on the bus (or can be started by it).
    [[nodiscard]] bool isAvailable() const;
    // How long a call waits for the service's answer before it counts as not shown.
    void setCallTimeout(int ms) { m_callTimeoutMs = ms; }

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
    DesktopNotifier(const QDBusConnection &bus, QObject *parent);
    void listen();

    std::unique_ptr<QDBusConnection> m_bus;
    int m_callTimeoutMs = kCallTimeoutMs;
};
