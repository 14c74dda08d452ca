#pragma once

// Keeps windows and dialogs on the screen: a window larger than the screen's free area (a
// large scale factor on a small screen, a large font) shrinks to it and moves inside it, and a
// dialog is wide enough to show its whole title.

#include <QRect>
#include <QString>

class QApplication;
class QFont;
class QAbstractScrollArea;
class QLineEdit;
class QMenuBar;
class QWidget;

namespace WindowFit {

// Room a title bar takes besides the title: the window icon and the buttons.
inline constexpr int kTitleBarChrome = 140;

// Where a window of this frame goes in the free area: no larger than the area, inside it; a
// window that fits stays where it is. A null area changes nothing.
[[nodiscard]] QRect fitted(const QRect &frame, const QRect &area);
// The widest a window's content can be on its screen: the free area less the window's frame.
[[nodiscard]] int widestContent(const QWidget *window);
// The width a window needs to show this title whole.
[[nodiscard]] int titleWidth(const QString &title, const QFont &font);

// The width a line edit needs to show its whole placeholder text in its current font.
[[nodiscard]] int placeholderWidth(const QLineEdit *edit);

// Keeps the line edit at least as wide as its placeholder text, also when its font changes.
void keepPlaceholderWhole(QLineEdit *edit);

// Keeps the menu bar's window at least as wide as all the bar's titles, as far as the screen
// allows, also when the titles or their font change: no title goes behind the bar's overflow.
void keepMenuTitlesWhole(QMenuBar *bar);

// Widens the scroll area's window, as far as its screen allows, whenever the area's content
// comes to need more width than it has (a vertical scroll bar, a page filled in, a longer
// language): a page scrolls sideways only where the screen is too narrow for it.
void widenRatherThanScrollSideways(QAbstractScrollArea *area);
// The same down as well as sideways: a window sized lower than its content (before the content
// was measured whole, or while the screen's free area was briefly smaller) grows to show it.
void growRatherThanScroll(QAbstractScrollArea *area);

// Fits one window about to be shown (a dialog also to its title; the dialog then places itself),
// or one on screen that has grown.
void fit(QWidget *window);
// From now on every window and dialog is fitted when it is shown.
void install(QApplication *app);

} // namespace WindowFit
