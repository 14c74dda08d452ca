#pragma once

#include <QString>

class QLabel;
class QWidget;

namespace LarkUpdate {

// A bold headline label, extraPoints larger than the normal text.
QLabel *makeHeadline(const QString &text, qreal extraPoints, QWidget *parent);

} // namespace LarkUpdate
