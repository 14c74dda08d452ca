#include "ui/WindowFit.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QFontMetrics>
#include <QLineEdit>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace WindowFit {

namespace {

class ShowWatcher : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && watched->isWidgetType()) {
            auto *widget = static_cast<QWidget *>(watched);
            const Qt::WindowType type = widget->windowType();
            if (widget->isWindow() && (type == Qt::Window || type == Qt::Dialog))
                fit(widget);
        }
        return QObject::eventFilter(watched, event);
    }
};

class PlaceholderWatcher : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::Polish:
        case QEvent::FontChange:
        case QEvent::StyleChange:
        case QEvent::Show: {
            auto *edit = static_cast<QLineEdit *>(watched);
            edit->setMinimumWidth(placeholderWidth(edit));
            break;
        }
        default:
            break;
        }
        return QObject::eventFilter(watched, event);
    }
};

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

void fit(QWidget *window)
{
    QScreen *screen = window->screen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const bool dialog = qobject_cast<QDialog *>(window) != nullptr;
    if (dialog) {
        const int wanted
            = std::min(titleWidth(window->windowTitle(), window->font()), area.width());
        if (window->width() < wanted)
            window->resize(wanted, window->height());
    }
    // Decorations count once the window has been on screen; before that they are unknown.
    const QRect frame = window->frameGeometry();
    const QMargins decorations(
        window->geometry().left() - frame.left(), window->geometry().top() - frame.top(),
        frame.right() - window->geometry().right(), frame.bottom() - window->geometry().bottom());
    const QRect target = fitted(frame, area);
    if (target == frame)
        return;
    window->resize(target.marginsRemoved(decorations).size());
    // A dialog places itself after this, over its parent and on the screen; a move now would
    // stop it from doing so. One already on screen that grew is moved back inside.
    if (!dialog || window->isVisible())
        window->move(target.topLeft());
}

void keepPlaceholderWhole(QLineEdit *edit)
{
    edit->setMinimumWidth(placeholderWidth(edit));
    edit->installEventFilter(new PlaceholderWatcher(edit));
}

void install(QApplication *app)
{
    app->installEventFilter(new ShowWatcher(app));
}

} // namespace WindowFit
