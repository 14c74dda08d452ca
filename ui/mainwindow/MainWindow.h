#pragma once

// The main window: a status bar, the slots other parts of the program reach it through, the
// close-to-tray rule and the sync bookkeeping.

#include <QDate>
#include <QMainWindow>
#include <QPointer>
#include <QString>

#include <optional>

class AppState;
class NotificationService;
class QAction;
class QLabel;
class QMenu;
class QSystemTrayIcon;
class AccountSyncRun;

struct UpdateChannelConfig;

namespace LarkUpdate {
struct UiCallbacks;
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

    // Whether closing hides the window instead of closing it.
    static bool closeHidesWindow(bool closeToTray, bool hasTrayIcon, bool quitting);

    // The details popover focusOnEvent opened last, while it is open.
    QWidget *detailsPopover() const { return m_detailsPopover; }
    QMenu *developerMenu() const { return m_developerMenu; }
    QMenu *helpMenu() const { return m_helpMenu; }

public slots:
    void focusWindow();
    void showToday();
    void openNewEventDialog();
    void quickAddFromCommand(const QString &text);
    void importIcsFromCommand(const QString &path);
    void syncNow();
    void focusOnEvent(const QString &eventId, const QDate &date);
    void quitApplication();
    void showPreferences();

    // The import into a known calendar, without asking; shows and returns the outcome's text.
    QString importIcsInto(const QString &path, const QString &calendarId);
    void openAccountsAndCalendars();
    void importIcsFromMenu();

    void loadSampleData();
    void removeSampleData();

    // The Help menu. Without a release feed or a feedback page in this build, each says so in
    // the status bar instead.
    void checkForUpdates();
    void showWhatsNew();
    void sendFeedback();
    void showAbout();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildMenus();
    void showStatus(const QString &text);
    bool ensureCalendarExists();
    bool hasCalendar() const;
    void refreshSummary();
    void runSync(AccountSyncRun *run);
    // Status-bar reporting for the update flows; safe after the window is gone.
    LarkUpdate::UiCallbacks updateCallbacks();
    // The release feed of this build; without one, says so in the status bar.
    std::optional<UpdateChannelConfig> releaseFeed(const QString &withoutFeed);

    AppState *m_state = nullptr;
    QSystemTrayIcon *m_trayIcon = nullptr;
    NotificationService *m_notifications = nullptr;
    QPointer<QWidget> m_detailsPopover;
    QMenu *m_developerMenu = nullptr;
    QMenu *m_helpMenu = nullptr;
    QLabel *m_summary = nullptr;
    bool m_quitting = false;
};
