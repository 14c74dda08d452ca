#include "ui/mainwindow/MainWindow.h"

#include "core/AppState.h"
#include "core/LocalCalendar.h"
#include "core/QuickAdd.h"
#include "core/QuickAddQueue.h"
#include "core/SampleData.h"
#include "core/TimeFormat.h"
#include "core/sync/SyncCoordinator.h"
#include "model/Clock.h"
#include "platform/DataPaths.h"
#include "services/account/AuthClient.h"
#include "services/account/Client.h"
#include "services/sync/cloud/ConfigSyncService.h"
#include "services/update/UpdateConfig.h"
#include "storage/CalendarRepository.h"
#include "storage/Database.h"
#include "storage/EventRepository.h"
#include "storage/PreferenceKeys.h"
#include "storage/PreferencesRepository.h"
#include "storage/TaskRepository.h"
#include "ui/WindowFit.h"
#include "ui/account/AccountScreen.h"
#include "ui/dialogs/AboutDialog.h"
#include "ui/dialogs/AccountsCalendarsDialog.h"
#include "ui/dialogs/EventDetailsPopover.h"
#include "ui/dialogs/EventFormDialog.h"
#include "ui/dialogs/PreferencesDialog.h"
#include "ui/mainwindow/ElidingStatusBar.h"
#include "ui/mainwindow/ImportControl.h"
#include "ui/mainwindow/QuickAddStatus.h"
#include "ui/theme/Theme.h"
#include "ui/update/UpdateFlows.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTimer>

namespace {
const QString kProductName = QStringLiteral("Larkspindle Calendar");

// The desktop's key for Preferences; most have none outside macOS and KDE: Ctrl+, there.
QList<QKeySequence> preferencesKeys()
{
    const QList<QKeySequence> keys = QKeySequence::keyBindings(QKeySequence::Preferences);
    return keys.isEmpty() ? QList<QKeySequence> {QKeySequence(Qt::CTRL | Qt::Key_Comma)} : keys;
}

// A text beside the status message, shown whole: on one line where that leaves the message a
// third of the bar, else wrapped onto as many lines as it needs, the bar growing to hold them.
class StatusSideLabel : public QLabel
{
public:
    explicit StatusSideLabel(QStatusBar *bar)
        : QLabel(bar)
        , m_bar(bar)
    {
        setWordWrap(true);
        bar->installEventFilter(this);
    }
    QSize sizeHint() const override
    {
        const QMargins m = contentsMargins();
        const int extra = m.left() + m.right() + 2 * margin();
        const int line = fontMetrics().boundingRect(QRect(), Qt::TextSingleLine, text()).width();
        // What the bar keeps right of it (margins, the size grip) comes off its share too.
        const int room = std::max(1, m_bar->width() - m_bar->width() / 3 - 48);
        const int width = std::min(line + extra + 2, room);
        return {width, heightForWidth(width)};
    }
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // The room it takes follows the bar's width.
        if (event->type() == QEvent::Resize)
            updateGeometry();
        return QLabel::eventFilter(watched, event);
    }

private:
    QStatusBar *m_bar;
};

} // namespace

MainWindow::MainWindow(AppState *state, QWidget *parent)
    : QMainWindow(parent)
    , m_state(state)
{
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(tr("Larkspindle Calendar"));
    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("summaryLabel"));
    m_summary->setAlignment(Qt::AlignCenter);
    m_summary->setTextFormat(Qt::PlainText);
    setCentralWidget(m_summary);
    auto *bar = new ElidingStatusBar(this);
    setStatusBar(bar);
    statusBar()->setObjectName(QStringLiteral("statusBar"));
    resize(1100, 720);
    buildMenus();
    m_imports = new ImportControl(state, this);
    connect(m_imports, &ImportControl::status, this, &MainWindow::showStatus);
    connect(m_imports, &ImportControl::readyToQuit, this, &MainWindow::quitApplication);
    connect(m_imports, &ImportControl::ended, this, [this] {
        if (!m_waitingCommands.isEmpty())
            QTimer::singleShot(0, this, &MainWindow::runDialogCommands);
    });

    m_sync = m_state->syncCoordinator();
    connect(m_sync, &Sync::SyncCoordinator::statusMessage, this, &MainWindow::showStatus);
    connect(m_state, &AppState::syncNowRequested, this, &MainWindow::syncNow);
    QuickAddQueue *quickAdds = m_state->quickAdds();
    // A long line gives way in the bar, not the words saying what became of it.
    connect(quickAdds, &QuickAddQueue::added, this,
            [this, bar](const QString &line, const QString &id) {
                // A line read as nothing dated is kept as a task without a date, which no
                // calendar view shows: the user is told where it went.
                const std::optional<Task> task = m_state->tasks()->byId(id);
                bar->showMessageShortening(task && !task->due_date
                                               ? tr("Added \"%1\" as a task without a date.")
                                               : tr("Added \"%1\"."),
                                           line.trimmed());
            });
    connect(quickAdds, &QuickAddQueue::refused, this,
            [bar](const QString &line, const QString &reason) {
                bar->showMessageShortening(
                    reason.isEmpty()
                        ? tr("Could not add \"%1\".")
                        : tr("Could not add \"%1\": %2").arg(QStringLiteral("%1"), reason),
                    line.trimmed());
            });
    reportWaitingQuickAdds(*quickAdds, *bar);
    connect(m_state, &AppState::currentDateChanged, this, &MainWindow::refreshSummary);
    connect(m_state->calendars(), &CalendarRepository::calendarsChanged, this,
            &MainWindow::refreshSummary);
    // The settings sync runs by itself, beside the calendar sync; its trouble has a place of its
    // own in the status bar, so the calendar sync's word never covers it.
    m_settingsSyncStatus = new StatusSideLabel(statusBar());
    m_settingsSyncStatus->setObjectName(QStringLiteral("settingsSyncStatus"));
    m_settingsSyncStatus->setTextFormat(Qt::PlainText);
    m_settingsSyncStatus->hide();
    statusBar()->addPermanentWidget(m_settingsSyncStatus);
    if (Larkspindle::ConfigSyncService *configSync = m_state->configSync()) {
        connect(configSync, &Larkspindle::ConfigSyncService::stateChanged, this,
                [this, configSync](Larkspindle::ConfigSyncService::State state) {
                    showSettingsSyncState(state, configSync->failureReason());
                });
    }
    refreshSummary();
}

MainWindow::~MainWindow() = default;

void MainWindow::buildMenus()
{
    QMenu *file = menuBar()->addMenu(tr("&File"));
    file->addAction(tr("&New Event…"), QKeySequence::New, this, &MainWindow::openNewEventDialog);
    file->addAction(tr("&Import .ics File…"), this, &MainWindow::importIcsFromMenu);
    file->addSeparator();
    file->addAction(tr("&Sync Now"), QKeySequence(Qt::Key_F5), this, &MainWindow::syncNow);
    file->addSeparator();
    file->addAction(tr("&Quit"), QKeySequence::Quit, this, &MainWindow::quitApplication);

    QMenu *view = menuBar()->addMenu(tr("&View"));
    view->addAction(tr("&Today"), QKeySequence(Qt::CTRL | Qt::Key_T), this, &MainWindow::showToday);

    QMenu *tools = menuBar()->addMenu(tr("&Tools"));
    tools->addAction(tr("&Accounts and Calendars…"), this, &MainWindow::openAccountsAndCalendars);
    tools->addAction(tr("&Preferences…"), this, &MainWindow::showPreferences)
        ->setShortcuts(preferencesKeys());

    buildAccountMenu();

    m_helpMenu = menuBar()->addMenu(tr("&Help"));
    m_helpMenu->setObjectName(QStringLiteral("helpMenu"));
    m_helpMenu->addAction(tr("Check for &Updates…"), this, &MainWindow::checkForUpdates);
    m_helpMenu->addAction(tr("&What's New"), this, &MainWindow::showWhatsNew);
    m_helpMenu->addAction(tr("Send &Feedback…"), this, &MainWindow::sendFeedback);
    m_helpMenu->addSeparator();
    m_helpMenu->addAction(tr("&About %1").arg(kProductName), this, &MainWindow::showAbout);

    if (isDevInstance()) {
        m_developerMenu = menuBar()->addMenu(tr("&Developer"));
        m_developerMenu->setObjectName(QStringLiteral("developerMenu"));
        m_developerMenu->addAction(tr("Load sample data"), this, &MainWindow::loadSampleData);
        m_developerMenu->addAction(tr("Remove sample data"), this, &MainWindow::removeSampleData);
    }
    WindowFit::keepMenuTitlesWhole(menuBar());
}

void MainWindow::buildAccountMenu()
{
    m_accountMenu = menuBar()->addMenu(tr("A&ccount"));
    m_accountMenu->setObjectName(QStringLiteral("accountMenu"));
    m_signInAction = m_accountMenu->addAction(tr("Sign &In…"), this, &MainWindow::signInToCloud);
    m_accountAction
        = m_accountMenu->addAction(tr("&Account…"), this, &MainWindow::openAccountScreen);
    m_signOutAction = m_accountMenu->addAction(tr("Sign &Out"), this, &MainWindow::signOutOfCloud);
    LarkAccount::Client *client = m_state->accountClient();
    if (client) {
        LarkAccount::AuthClient *auth = client->authClient();
        connect(client, &LarkAccount::Client::authStateChanged, this,
                &MainWindow::updateAccountActions);
        connect(auth, &LarkAccount::AuthClient::loginSucceeded, this,
                [this] { showStatus(tr("Signed in.")); });
        connect(auth, &LarkAccount::AuthClient::loginFailed, this,
                [this](const QString &error) { showStatus(tr("Sign-in failed: %1").arg(error)); });
    }
    updateAccountActions();
}

LarkAccount::AccountScreen *MainWindow::accountScreen() const
{
    return m_accountScreen;
}

void MainWindow::updateAccountActions()
{
    const LarkAccount::Client *client = m_state->accountClient();
    const bool signedIn = client && client->isAuthenticated();
    m_signInAction->setEnabled(client && !signedIn);
    m_accountAction->setEnabled(signedIn);
    m_signOutAction->setEnabled(signedIn);
    // The screen shows one user's account; it goes away with the sign-out.
    if (!signedIn && m_accountScreen)
        m_accountScreen->hide();
}

void MainWindow::signInToCloud()
{
    if (LarkAccount::Client *client = m_state->accountClient()) {
        showStatus(tr("Continue the sign-in in your browser."));
        client->authClient()->loginWithBrowser();
    }
}

void MainWindow::openAccountScreen()
{
    LarkAccount::Client *client = m_state->accountClient();
    if (!client || !client->isAuthenticated())
        return;
    if (!m_accountScreen) {
        m_accountScreen = new LarkAccount::AccountScreen(client, this);
        m_accountScreen->setWindowTitle(tr("Larkspindle Account"));
        connect(m_accountScreen, &LarkAccount::AccountScreen::logoutRequested, this,
                &MainWindow::signOutOfCloud);
    }
    m_accountScreen->refreshAll();
    // Larger text needs a larger window to show the same rows.
    QSize size
        = (QSize(640, 560) * Theme::fontScale / 100).expandedTo(m_accountScreen->minimumSizeHint());
    if (const QScreen *screen = this->screen())
        size = size.boundedTo(screen->availableSize());
    m_accountScreen->resize(size);
    m_accountScreen->show();
    m_accountScreen->raise();
    m_accountScreen->activateWindow();
}

void MainWindow::signOutOfCloud()
{
    if (LarkAccount::Client *client = m_state->accountClient()) {
        client->authClient()->logout();
        showStatus(tr("Signed out."));
    }
}

void MainWindow::refreshSummary()
{
    const QDate date = m_state->currentDate().isValid() ? m_state->currentDate() : Clock::today();
    const int calendars = int(m_state->calendars()->listAll().size());
    m_summary->setText(tr("%1\n\n%n calendar(s)", nullptr, calendars)
                           .arg(QLocale().toString(date, QLocale::LongFormat)));
}

void MainWindow::setTrayIcon(QSystemTrayIcon *trayIcon)
{
    m_trayIcon = trayIcon;
}

void MainWindow::setNotificationService(NotificationService *service)
{
    m_notifications = service;
}

bool MainWindow::closeHidesWindow(bool closeToTray, bool hasTrayIcon, bool quitting)
{
    return closeToTray && hasTrayIcon && !quitting;
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    const bool closeToTray
        = m_state->preferences()->getBool(Prefs::CloseToTray, Prefs::CloseToTrayDefault);
    if (closeHidesWindow(closeToTray, m_trayIcon != nullptr, m_quitting)) {
        event->ignore();
        hide();
        // Once, so that a first close is not taken for the program quitting.
        PreferencesRepository *prefs = m_state->preferences();
        if (!prefs->getBool(Prefs::CloseToTrayBalloonShown,
                            Prefs::CloseToTrayBalloonShownDefault)) {
            m_trayIcon->showMessage(
                tr("Larkspindle Calendar is still running"),
                tr("It keeps running in the system tray, so your reminders still come. Click the "
                   "tray icon to open it, or choose Quit from its menu to end it."),
                QSystemTrayIcon::Information, 8000);
            // Where the store refuses the write, the notice comes again next time: no harm.
            prefs->setBool(Prefs::CloseToTrayBalloonShown, true);
        }
        return;
    }
    QMainWindow::closeEvent(event);
}

void MainWindow::focusWindow()
{
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
}

void MainWindow::showToday()
{
    focusWindow();
    m_state->setCurrentDate(Clock::today());
}

bool MainWindow::hasCalendar() const
{
    return !m_state->calendars()->listAll().isEmpty();
}

bool MainWindow::ensureCalendarExists()
{
    if (hasCalendar())
        return true;
    openAccountsAndCalendars();
    return hasCalendar();
}

void MainWindow::openAccountsAndCalendars()
{
    AccountsCalendarsDialog dialog(m_state, this);
    dialog.exec();
}

void MainWindow::openNewEventDialog()
{
    if (!ensureCalendarExists())
        return;
    EventFormDialog dialog(m_state, Clock::now(), this);
    if (dialog.exec() == QDialog::Accepted)
        showStatus(tr("Event \"%1\" saved.").arg(dialog.titleEdit()->text().trimmed()));
}

void MainWindow::newEventFromCommand()
{
    focusWindow();
    queueDialogCommand({true, QString()});
}

bool MainWindow::quickAddFromCommand(const QString &text)
{
    focusWindow();
    if (text.trimmed().isEmpty())
        return false;
    if (!hasCalendar()) {
        showStatus(tr("Quick add needs a calendar: add one first."));
        return false;
    }
    // The queue tells how it went (in the status bar, through its signals).
    QuickAddQueue *lines = m_state->quickAdds();
    const QuickAddOutcome outcome = lines->add(text, QString(), Clock::now());
    return outcome == QuickAddOutcome::Stored
        || (outcome == QuickAddOutcome::Busy && lines->waitingLinesKept());
}

void MainWindow::importIcsFromMenu()
{
    const QString path = QFileDialog::getOpenFileName(this, tr("Import .ics File"), QString(),
                                                      tr("Calendar files (*.ics)"));
    if (!path.isEmpty())
        importIcsFromCommand(path);
}

void MainWindow::importIcsFromCommand(const QString &path)
{
    focusWindow();
    queueDialogCommand({false, path});
}

QStringList MainWindow::waitingImports() const
{
    QStringList paths;
    for (const DialogCommand &command : m_waitingCommands) {
        if (!command.newEvent)
            paths << command.icsPath;
    }
    return paths;
}

void MainWindow::queueDialogCommand(const DialogCommand &command)
{
    // The same request made again while it waits is carried out once.
    if (!m_waitingCommands.contains(command)) {
        if (m_waitingCommands.size() >= kMaxWaitingCommands) {
            qWarning("[MainWindow] %d commands are waiting for a dialog; one more was refused",
                     kMaxWaitingCommands);
            showStatus(tr("Too many requests are waiting for the open dialog; this one was "
                          "ignored."));
            return;
        }
        m_waitingCommands.append(command);
    }
    runDialogCommands();
}

void MainWindow::runDialogCommands()
{
    // Only the outermost call works through the list: a command that arrives while its dialog
    // is open is appended and picked up once that dialog has closed. A dialog opened elsewhere
    // holds the list until the window is unblocked.
    if (m_runningCommands)
        return;
    m_runningCommands = true;
    // One import at a time: a cancel takes back what its own import wrote.
    // On the way out none is begun: what still waits is kept for the next start.
    while (!m_waitingCommands.isEmpty() && !QApplication::activeModalWidget()
           && !m_imports->isRunning() && !m_quitting) {
        const DialogCommand command = m_waitingCommands.takeFirst();
        if (command.newEvent)
            openNewEventDialog();
        else
            m_imports->importFile(command.icsPath);
    }
    m_runningCommands = false;
}

bool MainWindow::event(QEvent *event)
{
    if (event->type() == QEvent::WindowUnblocked && !m_waitingCommands.isEmpty())
        QTimer::singleShot(0, this, &MainWindow::runDialogCommands);
    return QMainWindow::event(event);
}

void MainWindow::syncNow()
{
    m_sync->syncNow();
}

void MainWindow::takeBackInterruptedImport()
{
    m_imports->takeBackLeftover();
}

void MainWindow::focusOnEvent(const QString &eventId, const QDate &date)
{
    if (date.isValid())
        m_state->setCurrentDate(date);
    m_state->setSelectedEventId(eventId);
    focusWindow();

    std::optional<Event> event = m_state->events()->byId(eventId);
    if (!event || event->deleted_at)
        return;
    if (!event->recurrence_rule.isEmpty() && date.isValid()) {
        // The copy shows the occurrence on that day: same time of day, same length.
        const qint64 length = event->end_time ? event->start_time.secsTo(*event->end_time) : 0;
        QDateTime start = event->start_time;
        start.setDate(date);
        event->start_time = start;
        if (event->end_time)
            event->end_time = start.addSecs(length);
    }
    if (m_detailsPopover)
        m_detailsPopover->close();
    const std::optional<Calendar> calendar = m_state->calendars()->byId(event->calendar_id);
    auto *popover = new EventDetailsPopover(
        *event, calendar ? LocalCalendar::displayName(*calendar) : QString(),
        timeOfDayFormat(m_state->preferences()), this);
    m_detailsPopover = popover;
    popover->showCenteredOn(this);
}

void MainWindow::quitApplication()
{
    // The program ends once the import has: what a cancelled one stored is taken back first.
    if (m_imports->isRunning()) {
        m_imports->quitWhenEnded();
        return;
    }
    m_quitting = true;
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget *w : windows)
        w->close();
    QCoreApplication::quit();
}

void MainWindow::showPreferences()
{
    PreferencesDialog dialog(m_state, this);
    dialog.exec();
}

void MainWindow::loadSampleData()
{
    const int rows = SampleData::seed(m_state->store());
    showStatus(tr("Loaded %n sample row(s).", nullptr, rows));
}

void MainWindow::removeSampleData()
{
    const int rows = SampleData::clear(m_state->store());
    showStatus(tr("Removed %n sample row(s).", nullptr, rows));
}

LarkUpdate::UiCallbacks MainWindow::updateCallbacks()
{
    const QPointer<QStatusBar> bar = statusBar();
    LarkUpdate::UiCallbacks callbacks;
    callbacks.showStatus = [bar](const QString &text) {
        if (bar)
            bar->showMessage(text);
    };
    callbacks.clearStatus = [bar] {
        if (bar)
            bar->clearMessage();
    };
    callbacks.showTimedStatus = [bar](const QString &text, int ms) {
        if (bar)
            bar->showMessage(text, ms);
    };
    return callbacks;
}

std::optional<UpdateChannelConfig> MainWindow::releaseFeed(const QString &withoutFeed)
{
    const UpdateChannelConfig config = updateChannelConfig();
    if (!config.manifestBaseUrl.isEmpty())
        return config;
    showStatus(withoutFeed);
    return std::nullopt;
}

void MainWindow::checkForUpdates()
{
    if (const auto config
        = releaseFeed(tr("This build has no release feed, so it cannot check for updates.")))
        LarkUpdate::checkForUpdatesInteractive(*config, kProductName, this, updateCallbacks());
}

void MainWindow::showWhatsNew()
{
    if (const auto config
        = releaseFeed(tr("This build has no release feed, so it has no release notes to show.")))
        LarkUpdate::showWhatsNew(*config, kProductName, this, updateCallbacks());
}

void MainWindow::sendFeedback()
{
    const FeedbackConfig config = feedbackConfig();
    if (config.pageUrl.isEmpty()) {
        showStatus(tr("This build has no feedback page configured."));
        return;
    }
    LarkUpdate::openFeedbackPage(config, this);
}

void MainWindow::showAbout()
{
    AboutDialog dialog(kProductName, QStringLiteral(LARK_VERSION), this);
    dialog.exec();
}

void MainWindow::showStatus(const QString &text)
{
    statusBar()->showMessage(text);
}

void MainWindow::showSettingsSyncState(int state, const QString &reason)
{
    using Config = Larkspindle::ConfigSyncService;
    // A failure stays until a cycle has gone through; one under way changes nothing yet.
    QString text;
    if (state == Config::SignInRequired)
        text = tr("Sign in again to keep your settings in step.");
    else if (state == Config::Failed)
        text = tr("Settings sync failed: %1").arg(reason);
    else if (state == Config::Syncing)
        return;
    m_settingsSyncStatus->setText(text);
    m_settingsSyncStatus->setToolTip(text);
    m_settingsSyncStatus->setVisible(!text.isEmpty());
}
