#include "ui/ScrollingBody.h"

#include "ui/WheelGuard.h"
#include "ui/WindowFit.h"

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
    // A vertical scroll bar takes width from the body: the window gives it back where it can.
    WindowFit::widenRatherThanScrollSideways(this);
    WheelGuard::guard(this);
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
