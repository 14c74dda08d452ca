#pragma once

#include "model/Records.h"

#include <QDateTime>
#include <QFrame>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <optional>

class AppState;
class QComboBox;
class QFont;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTimer;
class QToolButton;

namespace NLParser {
struct ParseResult;
}

// The popover's texts and placement, free of the widget so tests can call them.
namespace TrayPopoverText {

inline constexpr int kScreenMargin = 8;

// Top-left corner for a popover of this size centred above anchor, kept 8 pixels inside the
// available area (when it is not null).
[[nodiscard]] QPoint position(const QPoint &anchor, const QSize &size, const QRect &area);
// "now", "in 5 min", "in 1h 30m", "in 2h" for the seconds until a start.
[[nodiscard]] QString relativeTime(qint64 secs);
// "Monday, Jan 8  ·  10:07 AM".
[[nodiscard]] QString header(const QDateTime &now, const QString &timeFormat);
// The card's time line for the next event.
[[nodiscard]] QString nextTime(const Event &event, const QDateTime &now, const QString &timeFormat);
// How a quick-add line is understood.
[[nodiscard]] QString preview(const NLParser::ParseResult &result, const QString &timeFormat);
// The colour an event is drawn in: its own, else its calendar's, else none; text that does not
// parse is the default blue.
[[nodiscard]] QColor eventColor(const QString &eventColor, const QString &calendarColor);
// The text in at most maxLines lines of that width, broken where it is to show, the last one
// ending in "…" when the text goes on.
[[nodiscard]] QString clampLines(const QString &text, const QFont &font, int width, int maxLines);

} // namespace TrayPopoverText

// The small window above the tray icon: date and time, the active group, the next event, the
// rest of today and tomorrow, a quick-add line and three commands.
class WinTrayPopover : public QFrame
{
    Q_OBJECT
public:
    // The width at font scale 100 %; it grows with the scale and with the texts.
    static constexpr int kWidth = 340;
    static constexpr int kHeaderIntervalMs = 30000;
    static constexpr int kMaxListHeight = 320;
    // However low the screen, the list shows this many rows.
    static constexpr int kLeastListRows = 2;
    // A long title ends in "…" after this many lines, so the card leaves room for the list.
    static constexpr int kTitleLines = 3;

    // List item data.
    static constexpr int DateRole = Qt::UserRole + 1;
    static constexpr int HeaderRole = Qt::UserRole + 2;
    static constexpr int EventIdRole = Qt::UserRole + 3;

    explicit WinTrayPopover(AppState *appState, QWidget *parent = nullptr);

    void showAt(const QPoint &point);
    void refresh();
    void rebuildGroups();
    void updateHeader();

    std::optional<Event> nextEvent() const { return m_nextEvent; }
    bool headerTimerActive() const;

signals:
    void openMainWindow();
    void requestFocusOnEvent(const QString &eventId, const QDate &date);
    void openSettings();
    void syncNowRequested();

protected:
    bool event(QEvent *e) override;
    void changeEvent(QEvent *e) override;
    void showEvent(QShowEvent *e) override;
    void hideEvent(QHideEvent *e) override;

private:
    void onGroupActivated(int index);
    void onItemClicked(QListWidgetItem *item);
    void updatePreview(const QString &text);
    void submitQuickAdd();
    QDateTime now() const;
    QString timeFormat() const;
    void fitListToRows();
    // Height and place for the anchor, within the screen that holds it.
    void fitToScreen();
    void showTitle();
    void setHint(const QString &text);
    void updateWidth();
    void addSectionHeader(const QString &text);
    void addPlaceholder(const QString &text, bool muted);
    void addOccurrence(const Event &occurrence, const QColor &color);

    AppState *m_appState;
    QLabel *m_header;
    QComboBox *m_groups;
    QFrame *m_card;
    QLabel *m_dot;
    QLabel *m_nextTitle;
    QLabel *m_nextTime;
    QLabel *m_nextLocation;
    QListWidget *m_list;
    QLineEdit *m_quickAdd;
    QLabel *m_hint;
    QPushButton *m_openButton;
    QPushButton *m_syncButton;
    QToolButton *m_prefsButton;
    QTimer *m_headerTimer;
    std::optional<Event> m_nextEvent;
    QString m_title;
    bool m_hasCard = false;
    QPoint m_anchor;
};
