#pragma once

// A mouse wheel turned over a scrolling body scrolls it: a combo box, spin box or slider in it
// that the user has not focused leaves its value alone, so that scrolling the body never
// changes a setting unseen. One the user focused takes the wheel as usual.

#include <QObject>

class QAbstractScrollArea;

class WheelGuard : public QObject
{
    Q_OBJECT
public:
    // Guards the fields inside area's viewport, for as long as the area lives.
    static void guard(QAbstractScrollArea *area);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    using QObject::QObject;
};
