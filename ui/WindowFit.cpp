#include "ui/WindowFit.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QVariant>
#include <QWidget>

#include <algorithm>
#include <functional>
#include <initializer_list>

namespace WindowFit {

namespace {

// Hands the watched object to react at each of its events of the given types; react may end the
// watch through the hook it is handed.
class EventHook : public QObject
{
public:
    using Reaction = std::function<void(QObject *watched, EventHook *hook)>;

    EventHook(QObject *watched, std::initializer_list<QEvent::Type> types, Reaction react)
        : QObject(watched)
        , m_types(types)
        , m_react(std::move(react))
    {
        watched->installEventFilter(this);
    }

    // Safe from inside a reaction; no later event reaches it.
    void stop()
    {
        parent()->removeEventFilter(this);
        deleteLater();
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (m_types.contains(event->type()))
            m_react(watched, this);
        return QObject::eventFilter(watched, event);
    }

private:
    QList<QEvent::Type> m_types;
    Reaction m_react;
};

// The room the window system's frame takes around the window; null while it is not known yet.
QMargins frameMargins(const QWidget *window)
{
    const QRect frame = window->frameGeometry();
    const QRect inner = window->geometry();
    // A frame read while the window manager reparents the window can come out smaller than the
    // window: not known yet.
    if (!frame.contains(inner))
        return {};
    return QMargins(inner.left() - frame.left(), inner.top() - frame.top(),
                    frame.right() - inner.right(), frame.bottom() - inner.bottom());
}

// A guess at the frame before the window system has put one around the window: that of another
// window on screen, which the same window manager framed, or else a title bar and thin borders.
QMargins estimatedFrame(const QWidget *window)
{
    if (window->windowFlags() & Qt::FramelessWindowHint)
        return {};
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (const QWidget *other : windows) {
        if (other == window || !other->isVisible()
            || (other->windowType() != Qt::Window && other->windowType() != Qt::Dialog))
            continue;
        const QMargins margins = frameMargins(other);
        if (!margins.isNull())
            return margins;
    }
    const int title = window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window);
    return QMargins(1, title, 1, 1);
}

// Whether the window system has framed the window (a frameless one has nothing to wait for).
bool frameKnown(const QWidget *window)
{
    return !frameMargins(window).isNull() || (window->windowFlags() & Qt::FramelessWindowHint);
}

// The frame as far as it is known, else as estimated: widening and fitting must agree on it, or
// the one undoes what the other did until the frame arrives.
QMargins frameOrEstimate(const QWidget *window)
{
    return frameKnown(window) ? frameMargins(window) : estimatedFrame(window);
}

// The size a window was fitted to before its frame was known; set while it waits for the frame.
const char kWantedSize[] = "windowFitWantedSize";
// Where a window without a parent was last centred.
const char kCentredAt[] = "windowFitCentredAt";
// The size the window was given then: another size since is a new wish.
const char kFittedSize[] = "windowFitFittedSize";

} // namespace

QRect fitted(const QRect &frame, const QRect &area)
{
    if (area.isNull())
        return frame;
    QRect out(frame.topLeft(), frame.size().boundedTo(area.size()));
    out.moveLeft(std::clamp(out.left(), area.left(), area.right() - out.width() + 1));
    out.moveTop(std::clamp(out.top(), area.top(), area.bottom() - out.height() + 1));
    return out;
}

int widestContent(const QWidget *window)
{
    const QScreen *screen = window->screen();
    if (!screen)
        return QWIDGETSIZE_MAX;
    const QMargins frame = frameOrEstimate(window);
    return screen->availableGeometry().width() - frame.left() - frame.right();
}

int titleWidth(const QString &title, const QFont &font)
{
    QFont bold = font;
    bold.setBold(true);
    return QFontMetrics(bold).horizontalAdvance(title) + kTitleBarChrome;
}

int placeholderWidth(const QLineEdit *edit)
{
    // A line edit's size hint is 17 "x" wide plus its frame, margins and buttons; the text is
    // also kept clear of the glyphs' overhang.
    const QFontMetrics metrics(edit->font());
    const int chrome = edit->sizeHint().width() - 17 * metrics.horizontalAdvance(QLatin1Char('x'));
    const int overhang
        = std::max(0, -metrics.minLeftBearing()) + std::max(0, -metrics.minRightBearing());
    return metrics.horizontalAdvance(edit->placeholderText()) + chrome + overhang + 1;
}

namespace {

// Where a window goes once it has a size, before the window system shows it.
enum class Placement {
    KeepInside, // moved only as far as needed to lie on the screen
    LeftToQt, // a dialog about to centre itself over its parent, which keeps it on the screen
    OverParent, // centred over its parent window, then kept on the screen
    OverScreen, // a dialog without a parent (a start-up box): centred on its screen
};

void fitTo(QWidget *window, Placement placement);

// Fits the window again once the window system has framed it.
void fitWhenFramed(QWidget *window)
{
    // A window manager that frames the window where it stands sends no move: the paint and the
    // activation that follow the framing are watched too.
    new EventHook(window,
                  {QEvent::Move, QEvent::Resize, QEvent::Expose, QEvent::Show, QEvent::Paint,
                   QEvent::WindowActivate},
                  [](QObject *watched, EventHook *hook) {
                      auto *framed = static_cast<QWidget *>(watched);
                      if (framed->isVisible() && !frameMargins(framed).isNull()) {
                          hook->stop();
                          fitTo(framed, Placement::KeepInside);
                      }
                  });
}

void fitTo(QWidget *window, Placement placement)
{
    QScreen *screen = window->screen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    if (qobject_cast<QDialog *>(window)) {
        const int wanted
            = std::min(titleWidth(window->windowTitle(), window->font()), area.width());
        if (window->width() < wanted) {
            // A message box fixes its size to its text at every layout: the text is given the
            // width its title needs.
            if (auto *text = window->findChild<QLabel *>(QStringLiteral("qt_msgbox_label")))
                text->setMinimumWidth(text->width() + wanted - window->width());
            window->resize(wanted, window->height());
        }
    }
    // The frame counts too. Before the window system has framed the window it is estimated,
    // and the window is fitted again from the size it wanted once the frame is known. A size
    // asked for in between (a list that grew) replaces the one first asked for.
    const bool framed = frameKnown(window);
    const QMargins decorations = frameOrEstimate(window);
    QSize wanted = window->size();
    const QVariant asked = window->property(kWantedSize);
    const bool resizedSince = window->property(kFittedSize).toSize() != window->size();
    if (asked.isValid() && !resizedSince)
        wanted = asked.toSize().expandedTo(window->minimumSize());
    if (framed) {
        window->setProperty(kWantedSize, QVariant());
        window->setProperty(kFittedSize, QVariant());
    } else {
        if (!asked.isValid())
            fitWhenFramed(window);
        window->setProperty(kWantedSize, wanted);
    }
    QRect frame = QRect(window->geometry().topLeft(), wanted).marginsAdded(decorations);
    if (placement == Placement::OverParent)
        frame.moveCenter(window->parentWidget()->window()->frameGeometry().center());
    else if (placement == Placement::OverScreen)
        frame.moveCenter(area.center());
    const QRect target = fitted(frame, area);
    if (target.size() != frame.size() || wanted != window->size())
        window->resize(target.marginsRemoved(decorations).size());
    if (!framed)
        window->setProperty(kFittedSize, window->size());
    // Until the window is framed, a move places the window itself, not its frame.
    const QPoint to = framed ? target.topLeft()
                             : target.topLeft() + QPoint(decorations.left(), decorations.top());
    const bool moved = target.topLeft() != frame.topLeft();
    if (placement == Placement::OverParent || placement == Placement::OverScreen
        || (placement == Placement::KeepInside && moved))
        window->move(to);
}

// A message box takes its size as it shows, after the window was fitted, and again at each
// layout: it is centred again at each size it takes, from the event loop (a fit may ask for a
// layout), until something else moved it.
void centreAtEachSize(QWidget *window)
{
    window->setProperty(kCentredAt, window->pos());
    new EventHook(window, {QEvent::Resize}, [](QObject *watched, EventHook *hook) {
        auto *resized = static_cast<QWidget *>(watched);
        if (resized->pos() != resized->property(kCentredAt).toPoint()) {
            hook->stop();
            return;
        }
        QTimer::singleShot(0, resized, [resized] {
            fitTo(resized, Placement::OverScreen);
            resized->setProperty(kCentredAt, resized->pos());
        });
    });
}

} // namespace

void fit(QWidget *window)
{
    fitTo(window, Placement::KeepInside);
}

void keepPlaceholderWhole(QLineEdit *edit)
{
    edit->setMinimumWidth(placeholderWidth(edit));
    new EventHook(
        edit, {QEvent::Polish, QEvent::FontChange, QEvent::StyleChange, QEvent::Show},
        [edit](QObject *, EventHook *) { edit->setMinimumWidth(placeholderWidth(edit)); });
}

void keepMenuTitlesWhole(QMenuBar *bar)
{
    // The bar measures its titles once it has taken the change in: measured from the event
    // loop.
    // The window's own minimum: its layout takes only the bar's height from the bar.
    const auto keep = [bar] {
        QWidget *window = bar->window();
        window->setMinimumWidth(std::min(bar->sizeHint().width(), widestContent(window)));
    };
    keep();
    new EventHook(bar,
                  {QEvent::Polish, QEvent::FontChange, QEvent::StyleChange, QEvent::ActionAdded,
                   QEvent::ActionChanged, QEvent::ActionRemoved, QEvent::Show},
                  [bar, keep](QObject *, EventHook *) { QTimer::singleShot(0, bar, keep); });
}

namespace {

// Grows the area's window by what the area hides along the bar's direction, as far as the
// screen allows, whenever that changes.
void growRatherThanScroll(QAbstractScrollArea *area, Qt::Orientation direction)
{
    const QPointer<QAbstractScrollArea> watched(area);
    const bool across = direction == Qt::Horizontal;
    QScrollBar *bar = across ? area->horizontalScrollBar() : area->verticalScrollBar();
    const auto grow = [watched, across, bar] {
        if (!watched)
            return;
        QWidget *window = watched->window();
        const QScreen *screen = window->screen();
        const int hidden = bar->maximum();
        if (hidden <= 0 || !screen || !window->isVisible())
            return;
        const QMargins frame = frameOrEstimate(window);
        const QRect room = screen->availableGeometry().marginsRemoved(frame);
        const int by = std::min(
            hidden, across ? room.width() - window->width() : room.height() - window->height());
        if (by <= 0)
            return;
        // It grows on both sides, so that a window over its parent stays over it.
        const QSize more = across ? QSize(by, 0) : QSize(0, by);
        window->resize(window->size() + more);
        window->move(window->pos() - QPoint(more.width() / 2, more.height() / 2));
        fit(window);
    };
    QObject::connect(bar, &QScrollBar::rangeChanged, area, grow, Qt::QueuedConnection);
    // A screen's free area can be briefly smaller (a panel starting beside the window manager)
    // while the window is fitted to it: the window grows again once the area does.
    if (QScreen *screen = area->screen())
        QObject::connect(screen, &QScreen::availableGeometryChanged, area, grow,
                         Qt::QueuedConnection);
}

} // namespace

void widenRatherThanScrollSideways(QAbstractScrollArea *area)
{
    growRatherThanScroll(area, Qt::Horizontal);
}

void growRatherThanScroll(QAbstractScrollArea *area)
{
    growRatherThanScroll(area, Qt::Horizontal);
    growRatherThanScroll(area, Qt::Vertical);
}

void install(QApplication *app)
{
    new EventHook(app, {QEvent::Show}, [](QObject *watched, EventHook *) {
        auto *widget = qobject_cast<QWidget *>(watched);
        const Qt::WindowType type = widget ? widget->windowType() : Qt::Widget;
        if (!widget || !widget->isWindow() || (type != Qt::Window && type != Qt::Dialog))
            return;
        // A window the program has not placed opens over its parent: a dialog places itself
        // there when this event reaches it, so it is only sized here, and a move would stop it.
        const bool placed = widget->testAttribute(Qt::WA_Moved);
        const QWidget *parent = widget->parentWidget();
        // Kept inside from where it stands, a dialog without a parent would end in the screen's
        // corner, and Qt does not centre a window that was moved.
        if (!placed && !parent && qobject_cast<QDialog *>(widget)) {
            fitTo(widget, Placement::OverScreen);
            centreAtEachSize(widget);
        } else if (placed || !parent || !parent->window()->isVisible())
            fitTo(widget, Placement::KeepInside);
        else if (qobject_cast<QDialog *>(widget)) {
            // Qt sizes a window the program has not sized to at most two thirds of the screen;
            // a dialog whose body scrolls would take that and scroll on a screen it fits.
            if (!widget->testAttribute(Qt::WA_Resized))
                widget->resize(widget->sizeHint().expandedTo(widget->minimumSizeHint()));
            fitTo(widget, Placement::LeftToQt);
        } else
            fitTo(widget, Placement::OverParent);
    });
}

} // namespace WindowFit
