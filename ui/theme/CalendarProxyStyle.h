#pragma once

#include <QProxyStyle>

class QPainter;

// The application style: Fusion, with check boxes, item-view check marks and radio buttons
// painted in the theme's colours at a fixed 18-pixel size, and the common icons from the theme. The
// style sheet leaves these indicators alone so that their painting reaches this style.
class CalendarProxyStyle : public QProxyStyle
{
    Q_OBJECT
public:
    CalendarProxyStyle();
    ~CalendarProxyStyle() override;

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget = nullptr) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption *option = nullptr,
                    const QWidget *widget = nullptr) const override;
    // A combo box's list drops below (or above) the box with every choice in it, rather than
    // lie over the box with the current choice on it: near a screen's edge that list is cut and
    // scrolls, hiding choices.
    int styleHint(StyleHint hint, const QStyleOption *option = nullptr,
                  const QWidget *widget = nullptr,
                  QStyleHintReturn *returnData = nullptr) const override;
    // Placeholders in the hint colour. The style sheet gives a field's placeholder its text colour
    // at half strength, too faint to read, each time it sets the field's palette: the hint colour
    // is put back after it.
    void polish(QWidget *widget) override;
    void unpolish(QWidget *widget) override;
    using QProxyStyle::polish;
    using QProxyStyle::unpolish;
    bool eventFilter(QObject *watched, QEvent *event) override;
    // Close, clear and the dialog buttons' icons drawn from the icon font in the theme's text
    // colours, so that they show in dark mode as in light and stay sharp at any scale.
    QIcon standardIcon(StandardPixmap standardIcon, const QStyleOption *option = nullptr,
                       const QWidget *widget = nullptr) const override;

    static void drawCheckIndicator(QPainter *painter, const QRect &rect, QStyle::State state);
    static void drawRadioIndicator(QPainter *painter, const QRect &rect, QStyle::State state);
    static void drawFocusMark(QPainter *painter, const QRect &rect, const QColor &color);
};
