#pragma once

#include <QProxyStyle>

class QPainter;

// The application style: Fusion, with check boxes, item-view check marks and radio buttons
// painted in the theme's colours at a fixed 18-pixel size. The style sheet leaves these
// indicators alone so that their painting reaches this style.
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

    static void drawCheckIndicator(QPainter *painter, const QRect &rect, QStyle::State state);
    static void drawRadioIndicator(QPainter *painter, const QRect &rect, QStyle::State state);
};
