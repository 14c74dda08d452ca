#pragma once

// The main window: a status bar, the slots other parts of the program reach it through and the
// close-to-tray rule.

#include <QDate>
#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QString>

#include <optional>

class AppState;
class ImportControl;
class NotificationService;
class QAction;
class QLabel;
class QMenu;
class QSystemTrayIcon;
namespace Sync {
class SyncCoordinator;
}

struct UpdateChannelConfig;

namespace LarkUpdate {
struct UiCallbacks;
}

namespace LarkAccount {
class AccountScreen;
}

class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(AppState *state, QWidget *parent = nullptr);
    ~MainWindow() override;

    AppState *appState() const { return m_state; }

    // Handed over after the tray is set up; the tray icon is null when the system has none.
    void setTrayIcon(QSystemTrayIcon *trayIcon);
    QSystemTrayIcon *trayIcon() const { return m_trayIcon; }
    void setNotificationService(NotificationService *service);
    NotificationService *notificationService() const { return m_notifications; }

    bool isQuitting() const { return m_quitting; }

    // Most commands kept waiting for an open dialog; further ones are refused.
    static constexpr int kMaxWaitingCommands = 50;

    // Whether closing hides the window instead of closing it.
    static bool closeHidesWindow(bool closeToTray, bool hasTrayIcon, bool quitting);

    // The details popover focusOnEvent opened last, while it is open.
    QWidget *detailsPopover() const { return m_detailsPopover; }
    QMenu *developerMenu() const { return m_developerMenu; }
    QMenu *accountMenu() const { return m_accountMenu; }
    LarkAccount::AccountScreen *accountScreen() const;
    QMenu *helpMenu() const { return m_helpMenu; }
    // Where a failed settings sync stays shown until one goes through; hidden while all is well.
    // A field of its own, so no calendar sync's message covers it: shown whole, on one line where
    // that leaves the message a third of the bar, else wrapped onto more lines.
    QLabel *settingsSyncStatus() const { return m_settingsSyncStatus; }

public slots:
    void focusWindow();
    void showToday();
    void openNewEventDialog();
    // Commands from the command line or a second start. The two that open a dialog wait while
    // any dialog is showing, so none is ever opened inside another.
    void newEventFromCommand();
    // True when the line was stored, or waits kept on disk.
    bool quickAddFromCommand(const QString &text);
    void importIcsFromCommand(const QString &path);
    // The .ics files handed over that no import has taken yet, oldest first.
    QStringList waitingImports() const;
    void syncNow();
    void focusOnEvent(const QString &eventId, const QDate &date);
    void quitApplication();
    void showPreferences();

    // Takes back an import the last run left unfinished, if there is one, behind a dialog that
    // shows how far it got, and then says how it went.
    void takeBackInterruptedImport();
    void openAccountsAndCalendars();
    void importIcsFromMenu();

    void loadSampleData();
    void removeSampleData();

    // The cloud account: sign-in through the browser, the account screen (one for the
    // window's life), sign-out.
    void signInToCloud();
    void openAccountScreen();
    void signOutOfCloud();
    // The Help menu. Without a release feed or a feedback page in this build, each says so in
    // the status bar instead.
    void checkForUpdates();
    void showWhatsNew();
    void sendFeedback();
    void showAbout();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool event(QEvent *event) override;

private:
    void buildMenus();
    void buildAccountMenu();
    void updateAccountActions();
    void showStatus(const QString &text);
    // The settings sync's trouble, apart from the status message (a ConfigSyncService state).
    void showSettingsSyncState(int state, const QString &reason);
    bool ensureCalendarExists();
    bool hasCalendar() const;
    void refreshSummary();

    struct DialogCommand
    {
        bool newEvent = false; // else an import of icsPath
        QString icsPath;
        bool operator==(const DialogCommand &other) const
        {
            return newEvent == other.newEvent && icsPath == other.icsPath;
        }
    };
    void queueDialogCommand(const DialogCommand &command);
    void runDialogCommands();
    // Status-bar reporting for the update flows; safe after the window is gone.
    LarkUpdate::UiCallbacks updateCallbacks();
    // The release feed of this build; without one, says so in the status bar.
    std::optional<UpdateChannelConfig> releaseFeed(const QString &withoutFeed);

    AppState *m_state = nullptr;
    ImportControl *m_imports = nullptr;
    QSystemTrayIcon *m_trayIcon = nullptr;
    NotificationService *m_notifications = nullptr;
    Sync::SyncCoordinator *m_sync = nullptr;
    QPointer<QWidget> m_detailsPopover;
    QMenu *m_developerMenu = nullptr;
    QMenu *m_accountMenu = nullptr;
    QAction *m_signInAction = nullptr;
    QAction *m_accountAction = nullptr;
    QAction *m_signOutAction = nullptr;
    QPointer<LarkAccount::AccountScreen> m_accountScreen;
    QMenu *m_helpMenu = nullptr;
    QLabel *m_summary = nullptr;
    QLabel *m_settingsSyncStatus = nullptr;
    bool m_quitting = false;
    QList<DialogCommand> m_waitingCommands;
    bool m_runningCommands = false;
};
