#include "ui/mainwindow/ElidingStatusBar.h"

#include <QPainter>
#include <QStyleOption>

#include <algorithm>

ElidingStatusBar::ElidingStatusBar(QWidget *parent)
    : QStatusBar(parent)
{
    // As the window's own bar: its fields never make the window wider.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
}

QRect ElidingStatusBar::messageArea() const
{
    // As the bar lays its message out: from its left margin to the first field still shown
    // beside a message (the permanent fields and the size grip).
    const int left = 6;
    int right = width() - 12;
    const auto children = findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
    for (const QWidget *child : children) {
        if (child->isVisible())
            right = std::min(right, child->x() - 2);
    }
    return QRect(left, 0, std::max(0, right - left), height());
}

QString ElidingStatusBar::shownMessage() const
{
    return fontMetrics().elidedText(currentMessage(), Qt::ElideRight, messageArea().width());
}

void ElidingStatusBar::paintEvent(QPaintEvent *event)
{
    QStatusBar::paintEvent(event);
    const QString message = currentMessage();
    const QString shown = shownMessage();
    if (message.isEmpty() || shown == message)
        return;
    // Drawn again over the bar's own, cut-off line.
    const QRect area = messageArea();
    QPainter painter(this);
    painter.setClipRect(area);
    QStyleOption option;
    option.initFrom(this);
    style()->drawPrimitive(QStyle::PE_PanelStatusBar, &option, &painter, this);
    painter.setPen(palette().windowText().color());
    painter.drawText(area, Qt::AlignLeading | Qt::AlignVCenter | Qt::TextSingleLine, shown);
}
