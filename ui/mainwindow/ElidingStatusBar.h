#pragma once

// The main window's status bar. Its message gives way to the fields kept right of it (the
// settings-sync trouble, which is read at a glance): where the message does not fit, it ends in
// "…" instead of being cut off mid-word.

#include <QStatusBar>

class ElidingStatusBar : public QStatusBar
{
    Q_OBJECT
public:
    explicit ElidingStatusBar(QWidget *parent = nullptr);

    // The message as it is drawn: whole, or shortened to the room left of the fields.
    [[nodiscard]] QString shownMessage() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    [[nodiscard]] QRect messageArea() const;
};
