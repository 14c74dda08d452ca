#pragma once

// Qt's colour picker inside a dialog of our own. Qt's dialog lays itself out at one fixed size,
// which a small screen at a large scale cannot hold, leaving its buttons off the screen; here the
// picker is the dialog's body, which scrolls where the screen is too small, and the buttons stay
// on the screen.

#include <QColor>
#include <QDialog>

class QColorDialog;

class ColorPickerDialog : public QDialog
{
    Q_OBJECT
public:
    ColorPickerDialog(const QColor &initial, QWidget *parent);

    // The colour chosen; the one offered while the picker shows that one still.
    [[nodiscard]] QColor currentColor() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QColor m_initial;
    QColorDialog *m_picker;
};
