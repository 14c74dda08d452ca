#include "ui/WheelGuard.h"

#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QScrollBar>
#include <QWheelEvent>
#include <QWindow>

namespace {

const char *const kGuarded = "larkWheelGuarded";

// A field whose value the wheel turns; a scroll bar (of a list in the body) only scrolls.
bool takesWheel(const QWidget *widget)
{
    return qobject_cast<const QComboBox *>(widget) || qobject_cast<const QAbstractSpinBox *>(widget)
        || (qobject_cast<const QAbstractSlider *>(widget)
            && !qobject_cast<const QScrollBar *>(widget));
}

QWidget *widgetOf(const QWindow *window)
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *widget : windows)
        if (widget->windowHandle() == window)
            return widget;
    return nullptr;
}

} // namespace

void WheelGuard::guard(QAbstractScrollArea *area)
{
    // One filter for the whole program. It looks at the wheel where the window gets it, before
    // the field under the pointer would take the focus for it.
    static WheelGuard *const filter = [] {
        auto *guard = new WheelGuard(qApp);
        qApp->installEventFilter(guard);
        return guard;
    }();
    (void)filter;
    area->viewport()->setProperty(kGuarded, true);
}

bool WheelGuard::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Wheel || !watched->isWindowType()
        || QApplication::activePopupWidget())
        return false;
    auto *wheel = static_cast<QWheelEvent *>(event);
    QWidget *top = widgetOf(static_cast<QWindow *>(watched));
    QWidget *under = top ? top->childAt(wheel->position().toPoint()) : nullptr;
    // The outermost field that would take the wheel, up to the scrolling body it lies in.
    QWidget *field = nullptr;
    for (QWidget *w = under; w && w != top; w = w->parentWidget()) {
        if (takesWheel(w))
            field = w;
        if (!w->property(kGuarded).toBool())
            continue;
        if (!field || field->hasFocus())
            return false;
        // The body scrolls instead; the field neither turns nor takes the focus.
        QWheelEvent scroll(w->mapFrom(top, wheel->position()), wheel->globalPosition(),
                           wheel->pixelDelta(), wheel->angleDelta(), wheel->buttons(),
                           wheel->modifiers(), wheel->phase(), wheel->inverted(), wheel->source());
        QCoreApplication::sendEvent(w, &scroll);
        return true;
    }
    return false;
}
