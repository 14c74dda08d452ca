#include "ui/update/DialogParts.h"

#include <QLabel>

namespace LarkUpdate {

QLabel *makeHeadline(const QString &text, qreal extraPoints, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QStringLiteral("headline"));
    QFont font = label->font();
    font.setWeight(QFont::Bold);
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() + extraPoints);
    label->setFont(font);
    return label;
}

} // namespace LarkUpdate
