#include "ui/TabOrder.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QLayout>
#include <QWidget>

#include <algorithm>

namespace TabOrder {

namespace {

bool takesTab(const QWidget *widget)
{
    return (widget->focusPolicy() & Qt::TabFocus) && !widget->isWindow();
}

void collectWidget(QWidget *widget, QList<QWidget *> &out);

void collectLayout(QLayout *layout, QList<QWidget *> &out)
{
    if (!layout)
        return;
    const auto collectItem = [&out](QLayoutItem *item) {
        if (!item)
            return;
        if (QWidget *widget = item->widget())
            collectWidget(widget, out);
        else if (QLayout *inner = item->layout())
            collectLayout(inner, out);
    };
    if (auto *form = qobject_cast<QFormLayout *>(layout)) {
        // Row by row: the label's buddy side first, then the field.
        for (int row = 0; row < form->rowCount(); ++row) {
            for (QFormLayout::ItemRole role :
                 {QFormLayout::SpanningRole, QFormLayout::LabelRole, QFormLayout::FieldRole})
                collectItem(form->itemAt(row, role));
        }
        return;
    }
    if (auto *grid = qobject_cast<QGridLayout *>(layout)) {
        struct Cell
        {
            int row, column, index;
        };
        QList<Cell> cells;
        for (int i = 0; i < grid->count(); ++i) {
            int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
            grid->getItemPosition(i, &row, &column, &rowSpan, &columnSpan);
            cells.append({row, column, i});
        }
        std::stable_sort(cells.begin(), cells.end(), [](const Cell &a, const Cell &b) {
            return a.row != b.row ? a.row < b.row : a.column < b.column;
        });
        for (const Cell &cell : std::as_const(cells))
            collectItem(grid->itemAt(cell.index));
        return;
    }
    auto *box = qobject_cast<QBoxLayout *>(layout);
    const bool reversed = box
        && (box->direction() == QBoxLayout::RightToLeft
            || box->direction() == QBoxLayout::BottomToTop);
    QList<QLayoutItem *> items;
    for (int i = 0; i < layout->count(); ++i)
        items.append(layout->itemAt(i));
    if (reversed)
        std::reverse(items.begin(), items.end());
    for (QLayoutItem *item : std::as_const(items))
        collectItem(item);
}

void collectWidget(QWidget *widget, QList<QWidget *> &out)
{
    if (widget->isWindow() && !out.isEmpty())
        return;
    if (takesTab(widget)) {
        out.append(widget);
        return;
    }
    if (widget->layout()) {
        collectLayout(widget->layout(), out);
        return;
    }
    // A container without a layout (a scroll area, a stacked page): its own order stands.
    for (QWidget *child : widget->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        collectWidget(child, out);
}

class ShowWatcher : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show) {
            auto *dialog = qobject_cast<QDialog *>(watched);
            // Qt's own dialogs (message boxes, file and colour pickers) keep their order.
            if (dialog && !dialog->property(Chained).toBool()
                && !QByteArray(dialog->metaObject()->className()).startsWith('Q')) {
                dialog->setProperty(Chained, true);
                followLayout(dialog);
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    static constexpr const char *Chained = "larkTabOrderChained";
};

} // namespace

QList<QWidget *> visualOrder(QWidget *window)
{
    QList<QWidget *> out;
    if (!window)
        return out;
    if (window->layout())
        collectLayout(window->layout(), out);
    return out;
}

void followLayout(QWidget *window)
{
    const QList<QWidget *> order = visualOrder(window);
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order.at(i - 1), order.at(i));
}

void install(QApplication *app)
{
    app->installEventFilter(new ShowWatcher(app));
}

} // namespace TabOrder
