#pragma once

#include "model/Records.h"
#include "ui/tray/WinTrayPopover.h"

#include <QColor>
#include <QDateTime>
#include <QIcon>
#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <QSystemTrayIcon>

#include <optional>

class AppState;
class MainWindow;
class QMenu;
class QTimer;

// The tray icon's look and texts, free of the tray so tests can call them.
namespace TrayLook {

// The sizes the badged icon is drawn at.
inline constexpr int kIconSizes[] = {16, 24, 32, 48};

// Red when the last sync failed (even while another runs), blue while one runs, else none.
[[nodiscard]] std::optional<QColor> badgeColor(bool busy, bool errored);
// The badge's bounding square in a pixmap of the given size: the bottom-right corner.
[[nodiscard]] QRect badgeRect(int size);
[[nodiscard]] int badgePenWidth(int size);
// A copy of the pixmap with the status badge drawn in its corner.
[[nodiscard]] QPixmap badgedPixmap(const QPixmap &base, int size, const QColor &color);
// The application icon with the badge for this state at every tray size.
[[nodiscard]] QIcon statusIcon(const QIcon &appIcon, bool busy, bool errored);

// The tooltip: the sync failure, else the next upcoming event. timeFormat is the time-of-day
// format; now decides "today" and "tomorrow".
[[nodiscard]] QString tooltip(bool lastSyncErrored, const QString &errorReason,
                              const std::optional<Event> &next, const QDateTime &now,
                              const QString &timeFormat);

// A click, double click or middle click toggles the popover; the context menu is the platform's.
[[nodiscard]] bool togglesPopover(QSystemTrayIcon::ActivationReason reason);

} // namespace TrayLook

// The tray icon with its status badge, tooltip, context menu and popover. Without a system
// tray it creates nothing and the program runs without it.
class TrayManager : public QObject
{
    Q_OBJECT
public:
    static constexpr int kTooltipIntervalMs = 60000;

    TrayManager(AppState *appState, MainWindow *mainWindow, QObject *parent = nullptr);
    ~TrayManager() override;

    void setup();
    // Null when the system has no tray.
    QSystemTrayIcon *trayIcon() const { return m_trayIcon; }
    // Null until the window's first paint.
    WinTrayPopover *popover() const { return m_popover; }
    QMenu *menu() const { return m_menu; }

public slots:
    void updateIcon();
    void updateTooltip();

signals:
    void syncNowRequested();

private:
    void createPopover();
    void togglePopover();

    AppState *m_appState;
    QPointer<MainWindow> m_mainWindow;
    QSystemTrayIcon *m_trayIcon = nullptr;
    QTimer *m_tooltipTimer = nullptr;
    QMenu *m_menu = nullptr;
    QPointer<WinTrayPopover> m_popover;
};
