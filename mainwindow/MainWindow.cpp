#include "mainwindow/MainWindow.h"

#include "app/AppState.h"
#include "storage/PreferenceKeys.h"
#include "storage/PreferencesRepository.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QSystemTrayIcon>

MainWindow::MainWindow(AppState *state, QWidget *parent)
    : QMainWindow(parent)
    , m_state(state)
{
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(tr("Larkspindle Calendar"));
    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("summaryLabel"));
    m_summary->setAlignment(Qt::AlignCenter);
    setCentralWidget(m_summary);
    statusBar()->setObjectName(QStringLiteral("statusBar"));
    resize(1100, 720);
    if (m_state)
        connect(m_state, &AppState::syncNowRequested, this, &MainWindow::syncNow);
}

MainWindow::~MainWindow() = default;

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
    const bool closeToTray = m_state && m_state->preferences()
        ? m_state->preferences()->getBool(Prefs::CloseToTray, Prefs::CloseToTrayDefault)
        : Prefs::CloseToTrayDefault;
    if (closeHidesWindow(closeToTray, m_trayIcon != nullptr, m_quitting)) {
        event->ignore();
        hide();
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
    if (m_state)
        m_state->setCurrentDate(QDate::currentDate());
}

void MainWindow::openNewEventDialog() { }

void MainWindow::quickAddFromCommand(const QString &text)
{
    focusWindow();
    if (text.trimmed().isEmpty())
        return;
}

void MainWindow::importIcsFromCommand(const QString &path)
{
    Q_UNUSED(path)
}

QString MainWindow::importIcsInto(const QString &path, const QString &calendarId)
{
    Q_UNUSED(path)
    Q_UNUSED(calendarId)
    return QString();
}

void MainWindow::syncNow() { }

void MainWindow::focusOnEvent(const QString &eventId, const QDate &date)
{
    Q_UNUSED(eventId)
    if (date.isValid() && m_state)
        m_state->setCurrentDate(date);
    focusWindow();
}

void MainWindow::quitApplication()
{
    m_quitting = true;
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget *w : windows)
        w->close();
    QCoreApplication::quit();
}

void MainWindow::showPreferences() { }

void MainWindow::loadSampleData() { }

void MainWindow::removeSampleData() { }

void MainWindow::buildMenus() { }

void MainWindow::showStatus(const QString &text)
{
    statusBar()->showMessage(text);
}

bool MainWindow::ensureCalendarExists()
{
    return false;
}
