#include "ui/tray/TrayManager.h"

#include "core/AppState.h"
#include "core/TimeFormat.h"
#include "core/UpcomingOccurrences.h"
#include "model/Clock.h"
#include "model/DateText.h"
#include "storage/EventRepository.h"
#include "ui/FirstPaint.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/tray/WinTrayPopover.h"

#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QPainter>
#include <QSystemTrayIcon>
#include <QTimer>

namespace TrayLook {

std::optional<QColor> badgeColor(bool busy, bool errored)
{
    if (errored)
        return QColor(229, 57, 53);
    if (busy)
        return QColor(66, 133, 244);
    return std::nullopt;
}

QRect badgeRect(int size)
{
    const int d = std::max(size * 38 / 100, 6);
    return QRect(size - d, size - d, d - 1, d - 1);
}

int badgePenWidth(int size)
{
    return std::max(size / 6, 1);
}

QPixmap badgedPixmap(const QPixmap &base, int size, const QColor &color)
{
    QPixmap out = base;
    QPainter p(&out);
    p.setRenderHint(QPainter::Antialiasing);
    QColor outline(Qt::white);
    outline.setAlpha(230);
    p.setPen(QPen(outline, badgePenWidth(size)));
    p.setBrush(color);
    p.drawEllipse(badgeRect(size));
    return out;
}

QIcon statusIcon(const QIcon &appIcon, bool busy, bool errored)
{
    const std::optional<QColor> color = badgeColor(busy, errored);
    if (!color)
        return appIcon;
    QIcon icon;
    for (int size : kIconSizes) {
        const QPixmap base = appIcon.pixmap(size, size);
        if (!base.isNull())
            icon.addPixmap(badgedPixmap(base, size, *color));
    }
    return icon;
}

QString tooltip(bool lastSyncErrored, const QString &errorReason, const std::optional<Event> &next,
                const QDateTime &now, const QString &timeFormat)
{
    if (lastSyncErrored) {
        if (errorReason.isEmpty())
            return QObject::tr("Larkspindle Calendar — Last sync failed");
        return QObject::tr("Larkspindle Calendar — Sync failed: %1").arg(errorReason);
    }
    if (!next)
        return QObject::tr("Larkspindle Calendar — No upcoming events");

    const QString title = next->title.isEmpty() ? QObject::tr("Untitled") : next->title;
    const QDate today = now.toLocalTime().date();
    const QDate date
        = next->is_all_day ? next->start_time.date() : next->start_time.toLocalTime().date();
    if (next->is_all_day) {
        QString when = DateText::format(date, DateText::Style::ShortWeekdayMonthDay);
        if (date == today)
            when = QObject::tr("today");
        else if (date == today.addDays(1))
            when = QObject::tr("tomorrow");
        return QObject::tr("Larkspindle Calendar — Next: %1 (%2, all day)").arg(title, when);
    }
    const QString when = DateText::dayAndTime(
        date, today, DateText::time(next->start_time.toLocalTime().time(), timeFormat));
    return QObject::tr("Larkspindle Calendar — Next: %1 %2").arg(title, when);
}

bool togglesPopover(QSystemTrayIcon::ActivationReason reason)
{
    return reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick
        || reason == QSystemTrayIcon::MiddleClick;
}

} // namespace TrayLook

TrayManager::TrayManager(AppState *appState, MainWindow *mainWindow, QObject *parent)
    : QObject(parent)
    , m_appState(appState)
    , m_mainWindow(mainWindow)
{ }

TrayManager::~TrayManager()
{
    // The menu has no parent, and the popover's parent is the main window, which may outlive us.
    delete m_menu;
    delete m_popover;
}

void TrayManager::setup()
{
    if (m_trayIcon || !QSystemTrayIcon::isSystemTrayAvailable())
        return;

    m_trayIcon = new QSystemTrayIcon(this);
    updateIcon();

    m_menu = new QMenu;
    QAction *show = m_menu->addAction(tr("&Show Calendar"));
    connect(show, &QAction::triggered, this, [this] {
        if (m_mainWindow)
            m_mainWindow->focusWindow();
    });
    QAction *sync = m_menu->addAction(tr("Sync &Now"));
    connect(sync, &QAction::triggered, this, &TrayManager::syncNowRequested);
    m_menu->addSeparator();
    QAction *quit = m_menu->addAction(tr("&Quit"));
    connect(quit, &QAction::triggered, this, [this] {
        if (m_mainWindow)
            m_mainWindow->quitApplication();
        else
            QCoreApplication::quit();
    });
    m_trayIcon->setContextMenu(m_menu);

    connect(m_trayIcon, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (TrayLook::togglesPopover(reason))
                    togglePopover();
            });

    m_trayIcon->setVisible(true);

    m_tooltipTimer = new QTimer(this);
    m_tooltipTimer->setInterval(kTooltipIntervalMs);
    connect(m_tooltipTimer, &QTimer::timeout, this, &TrayManager::updateTooltip);
    m_tooltipTimer->start();

    if (m_appState) {
        if (auto *events = m_appState->events())
            connect(events, &EventRepository::eventsChanged, this, &TrayManager::updateTooltip);
        connect(m_appState, &AppState::syncBusyChanged, this, &TrayManager::updateIcon);
        connect(m_appState, &AppState::lastSyncErroredChanged, this, &TrayManager::updateIcon);
        connect(m_appState, &AppState::lastSyncErroredChanged, this, &TrayManager::updateTooltip);
    }

    // The tooltip and the popover read the coming events and the groups: not before the window
    // is on screen.
    afterFirstPaint(m_mainWindow, this, [this] {
        createPopover();
        updateTooltip();
    });
}

void TrayManager::createPopover()
{
    if (m_popover)
        return;
    m_popover = new WinTrayPopover(m_appState, m_mainWindow);
    connect(m_popover, &WinTrayPopover::openMainWindow, this, [this] {
        if (m_mainWindow)
            m_mainWindow->focusWindow();
    });
    connect(m_popover, &WinTrayPopover::requestFocusOnEvent, this,
            [this](const QString &eventId, const QDate &date) {
                if (m_mainWindow)
                    m_mainWindow->focusOnEvent(eventId, date);
            });
    connect(m_popover, &WinTrayPopover::openSettings, this, [this] {
        if (m_mainWindow)
            m_mainWindow->showPreferences();
    });
    connect(m_popover, &WinTrayPopover::syncNowRequested, this, &TrayManager::syncNowRequested);
}

void TrayManager::togglePopover()
{
    if (!m_trayIcon)
        return;
    createPopover();
    if (m_popover->isVisible()) {
        m_popover->hide();
        return;
    }
    const QRect geometry = m_trayIcon->geometry();
    m_popover->showAt(geometry.isEmpty() ? QCursor::pos() : geometry.center());
}

void TrayManager::updateIcon()
{
    const QIcon appIcon(QStringLiteral(":/icons/app-icon.png"));
    const bool busy = m_appState && m_appState->syncDepth() > 0;
    const bool errored = m_appState && m_appState->lastSyncErrored();
    if (m_trayIcon)
        m_trayIcon->setIcon(TrayLook::statusIcon(appIcon, busy, errored));
}

void TrayManager::updateTooltip()
{
    if (!m_trayIcon)
        return;
    const QDateTime now = Clock::now();
    const bool errored = m_appState && m_appState->lastSyncErrored();
    std::optional<Event> next;
    if (!errored && m_appState)
        next = nextUpcomingOccurrence(m_appState->store(), m_appState->activeViewId(), now);
    m_trayIcon->setToolTip(
        TrayLook::tooltip(errored, m_appState ? m_appState->lastSyncErrorReason() : QString(), next,
                          now, timeOfDayFormat(m_appState ? m_appState->preferences() : nullptr)));
}
