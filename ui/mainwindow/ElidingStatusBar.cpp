#include "ui/mainwindow/ElidingStatusBar.h"

#include <QPainter>
#include <QSizeGrip>
#include <QStyleOption>

#include <algorithm>

ElidingStatusBar::ElidingStatusBar(QWidget *parent)
    : QStatusBar(parent)
{
    // As the window's own bar: its fields never make the window wider.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
}

void ElidingStatusBar::showMessageShortening(const QString &pattern, const QString &part)
{
    m_pattern = pattern;
    m_part = part;
    showMessage(pattern.arg(part));
}

QRect ElidingStatusBar::messageArea() const
{
    // As the bar lays its message out: from its left margin up to the size grip, or to just
    // before the first field still shown beside a message. The bar draws its own line up to
    // there, so all of it is drawn over.
    const int left = 6;
    int right = width() - 12;
    const auto children = findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
    for (const QWidget *child : children) {
        if (child->isVisible())
            right = std::min(right,
                             qobject_cast<const QSizeGrip *>(child) ? child->x() : child->x() - 2);
    }
    return QRect(left, 0, std::max(0, right - left), height());
}

QString ElidingStatusBar::shortened(const QString &pattern, const QString &part,
                                    const QFontMetrics &metrics, int width)
{
    const QString whole = pattern.arg(part);
    if (metrics.horizontalAdvance(whole) <= width)
        return whole;
    // The glyphs either side of the part may kern: the room is measured on the whole again.
    const int least = metrics.horizontalAdvance(QChar(0x2026));
    for (int room = width - metrics.horizontalAdvance(pattern.arg(QString())); room >= least;
         room -= least) {
        const QString shown = pattern.arg(metrics.elidedText(part, Qt::ElideRight, room));
        if (metrics.horizontalAdvance(shown) <= width)
            return shown;
    }
    return metrics.elidedText(whole, Qt::ElideRight, width);
}

QString ElidingStatusBar::shownMessage() const
{
    const QString message = currentMessage();
    const int room = messageArea().width();
    if (!m_pattern.isEmpty() && message == m_pattern.arg(m_part))
        return shortened(m_pattern, m_part, fontMetrics(), room);
    return fontMetrics().elidedText(message, Qt::ElideRight, room);
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
