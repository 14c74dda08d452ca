#pragma once

// The body of a dialog (everything but its buttons) in a scroll area that asks for the body's
// whole size but can give way: on a screen too small for the dialog the body scrolls and the
// buttons stay on the screen. Where the screen has the room, its window grows rather than the
// body scroll (WindowFit::growRatherThanScroll).

#include <QScrollArea>

class ScrollingBody : public QScrollArea
{
    Q_OBJECT
public:
    // Takes the body over; lay it out before or after, as for any widget.
    explicit ScrollingBody(QWidget *body, QWidget *parent = nullptr);

    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
