#pragma once

// The signed-in user's cloud account: profile and password, the group, the devices that have
// synced, the signed-in sessions, and deletion of the account. Every action reports on the
// status line under the pages once the server has answered.

#include "ui/account/AccountWidgets.h"

#include <QDateTime>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <optional>

class QLabel;
class QListWidget;
class QPushButton;
class QStackedWidget;
class QTimer;
class QVBoxLayout;

namespace LarkAccount {

class AccountGroupPage;
class Client;
struct Device;
struct Session;
struct User;

class AccountScreen : public QWidget
{
    Q_OBJECT
public:
    static constexpr int errorShownMs = 4000;
    static constexpr int successShownMs = 3000;

    AccountScreen(Client *client, QWidget *parent);

    // Loads the user, the group, the devices and the sessions; each page fills when its answer
    // arrives.
    void refreshAll();
    void refreshProfile();
    void refreshGroup();
    void refreshDevices();
    void refreshSessions();

    void showError(const QString &text);
    void showSuccess(const QString &text);

    QListWidget *pageList() const { return m_pageList; }
    QStackedWidget *pages() const { return m_stack; }
    QLabel *statusLabel() const { return m_status; }
    AccountGroupPage *groupPage() const { return m_groupPage; }

    // Prompts of this window; while one is open, replaced page content is kept alive.
    bool ask(const QString &title, const QString &text);
    std::optional<QString> askText(const QString &title, const QString &label,
                                   bool password = false, const QString &initial = QString());
    void inform(const QString &title, const QString &text);
    AccountWidgets::ContentSwap *contentSwap() const { return m_swap; }

    // An action that waits for the server: the pressed button is off until the answer, which
    // shows success (then runs then) or failure on the status line.
    using Action = std::function<void(std::function<void(bool ok)> done)>;
    void runAction(QPushButton *button, const QString &success, const QString &failure,
                   const std::function<void()> &then, const Action &action);

signals:
    void logoutRequested();

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QWidget *createProfileTab();
    QWidget *createListTab(const QString &title, QVBoxLayout *&layout, const char *name);
    QWidget *createPrivacyTab();
    void styleSideList();
    void showStatus(const QString &text, const QColor &color, int ms);
    void updateOwnerState();

    void showUser(const User &user);
    void populateDevices(const QList<Device> &devices);
    void populateSessions(const QList<Session> &sessions);

    void editDisplayName();
    void changePassword();
    void deleteAccount();
    void removeDevice(const QString &id, const QString &storedName, QPushButton *button);
    void revokeSession(const QString &id, QPushButton *button);

    Client *m_client;
    QListWidget *m_pageList = nullptr;
    QStackedWidget *m_stack = nullptr;
    QLabel *m_status = nullptr;
    QTimer *m_statusTimer = nullptr;
    QLabel *m_nameLabel = nullptr;
    QLabel *m_emailLabel = nullptr;
    QString m_displayName;
    QPushButton *m_editNameButton = nullptr;
    QPushButton *m_passwordButton = nullptr;
    QPushButton *m_deleteButton = nullptr;
    QLabel *m_ownerHint = nullptr;
    AccountGroupPage *m_groupPage = nullptr;
    QVBoxLayout *m_devicesLayout = nullptr;
    QPointer<QWidget> m_devicesContent;
    QVBoxLayout *m_securityLayout = nullptr;
    QPointer<QWidget> m_sessionsContent;
    AccountWidgets::ContentSwap *m_swap;
};

} // namespace LarkAccount
