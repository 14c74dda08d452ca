#pragma once

// Tab moves through a window in the order a reader sees it: down the rows of its layouts and,
// within a row, from left to right (right to left in a right-to-left language, as the layouts
// themselves mirror). Widgets added in another order than they are shown would otherwise make
// the focus jump.

#include <QList>

class QApplication;
class QLayout;
class QWidget;

namespace TabOrder {

// The widgets Tab stops at, in the order the window's layouts show them.
[[nodiscard]] QList<QWidget *> visualOrder(QWidget *window);
// Chains the focus of the window's widgets in that order.
void followLayout(QWidget *window);
// From now on every dialog of the program is chained so when it is first shown.
void install(QApplication *app);

} // namespace TabOrder
