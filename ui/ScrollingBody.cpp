#include "ui/ScrollingBody.h"

#include "ui/WheelGuard.h"
#include "ui/WindowFit.h"

#include <QApplication>
#include <QEvent>
#include <QScrollBar>

#include <algorithm>

namespace {
// However small the screen, this much of the body shows: a few lines, a short line's width.
constexpr int kLeastLines = 4;
constexpr int kLeastChars = 24;
} // namespace

ScrollingBody::ScrollingBody(QWidget *body, QWidget *parent)
    : QScrollArea(parent)
{
    setObjectName(QStringLiteral("scrollingBody"));
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    setFocusPolicy(Qt::NoFocus);
    // The body lies on the dialog's ground, not on a field's.
    setBackgroundRole(QPalette::Window);
    viewport()->setAutoFillBackground(false);
    body->setAutoFillBackground(false);
    setWidget(body);
    // A vertical scroll bar takes width from the body, and a window sized before its body was
    // measured whole can be too low for it: the window gives back what it can.
    WindowFit::growRatherThanScroll(this);
    WheelGuard::guard(this);
    // The area brings a field into view only when Tab moves inside the body; focus that comes
    // from the buttons below it (Tab from the last, Backtab from the first), a click or a
    // shortcut would land on a field scrolled out of sight, where keys change it unseen.
    // The whole field comes into view, not only its cursor as the area's own scrolling does: a
    // list or a text shows as much of itself as the body has room for.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
        if (!now || !widget() || !widget()->isAncestorOf(now))
            return;
        const QRect place(now->mapTo(widget(), QPoint()), now->size());
        const int margin = fontMetrics().lineSpacing() / 2;
        ensureVisible(place.center().x(), place.center().y(), place.width() / 2 + margin,
                      place.height() / 2 + margin);
    });
}

bool ScrollingBody::eventFilter(QObject *watched, QEvent *event)
{
    // The body's size changes after the window first measured it (its style polished, a text
    // set, a part shown): the window's layout is told, or it keeps the size first asked for.
    if (watched == widget() && event->type() == QEvent::LayoutRequest)
        updateGeometry();
    return QScrollArea::eventFilter(watched, event);
}

QSize ScrollingBody::sizeHint() const
{
    // The whole body, wrapped texts at the width it asks for: no scroll bar while it fits.
    const QWidget *body = widget();
    QSize hint = body->sizeHint().expandedTo(body->minimumSizeHint());
    if (body->hasHeightForWidth())
        hint.setHeight(std::max(hint.height(), body->heightForWidth(hint.width())));
    const int frame = 2 * frameWidth();
    return hint + QSize(frame, frame);
}

QSize ScrollingBody::minimumSizeHint() const
{
    const QFontMetrics metrics = fontMetrics();
    const QSize least(kLeastChars * metrics.averageCharWidth()
                          + verticalScrollBar()->sizeHint().width(),
                      kLeastLines * metrics.lineSpacing());
    return sizeHint().boundedTo(least);
}
