#include "ui/theme/CalendarProxyStyle.h"

#include "ui/theme/Theme.h"

#include <QCheckBox>
#include <QEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QStyleFactory>
#include <QStyleOption>
#include <QTabBar>
#include <QTextEdit>

#include <algorithm>

namespace {

constexpr int IndicatorSize = 18;

// The mark is the tick of a check box or the dot of a radio button.
struct IndicatorColors
{
    QColor outline;
    QColor fill;
    QColor mark;
};

// "On" wins over "under the mouse"; a partly checked box counts as not on.
IndicatorColors indicatorColors(QStyle::State state, bool radio)
{
    // A tick is white where that stands out from the accent fill (3:1, as for any mark); on a
    // light accent, the dark theme's own among them, it takes the text colour for the accent.
    const QColor white(Qt::white);
    const QColor tick
        = Theme::contrastRatio(white, Theme::accent()) >= 3.0 ? white : Theme::textOnAccent();
    const QColor onMark = radio ? Theme::accent() : tick;
    // A white tick would vanish on the white light-mode surface of a disabled box.
    if (!(state & QStyle::State_Enabled))
        return {Theme::textDisabled(), Theme::surface(), Theme::textDisabled()};
    if (state & QStyle::State_On)
        return {Theme::accent(), radio ? Theme::surface() : Theme::accent(), onMark};
    if (state & QStyle::State_MouseOver)
        return {Theme::accent(), Theme::surfaceMuted(), onMark};
    return {Theme::textPrimary(), Theme::surfaceMuted(), onMark};
}

bool showsPlaceholder(const QObject *object)
{
    return qobject_cast<const QLineEdit *>(object) || qobject_cast<const QTextEdit *>(object)
        || qobject_cast<const QPlainTextEdit *>(object);
}

void holdPlaceholderColor(QWidget *widget)
{
    const QColor hint = Theme::hintText();
    QPalette palette = widget->palette();
    bool held = true;
    for (const QPalette::ColorGroup group :
         {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        held = held && palette.color(group, QPalette::PlaceholderText) == hint;
    if (held)
        return;
    palette.setColor(QPalette::PlaceholderText, hint);
    widget->setPalette(palette);
}

} // namespace

CalendarProxyStyle::CalendarProxyStyle()
    : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion")))
{ }

CalendarProxyStyle::~CalendarProxyStyle() = default;

void CalendarProxyStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option,
                                       QPainter *painter, const QWidget *widget) const
{
    if (option && painter) {
        switch (element) {
        case PE_IndicatorItemViewItemCheck:
        case PE_IndicatorCheckBox:
            drawCheckIndicator(painter, option->rect, option->state);
            return;
        case PE_IndicatorRadioButton:
            drawRadioIndicator(painter, option->rect, option->state);
            return;
        // Check boxes, radio buttons, tabs and the current row of a list: the base style's mark
        // is faint and shows only after a key press, so a keyboard user may not find the focus.
        case PE_FrameFocusRect: {
            // A tab's focus rectangle is narrower than its text: the mark goes round the whole
            // tab instead, above its underline.
            QRect rect = option->rect;
            if (const auto *tabs = qobject_cast<const QTabBar *>(widget)) {
                const int index = tabs->tabAt(rect.center());
                if (index >= 0)
                    rect = tabs->tabRect(index).adjusted(1, 1, -1, -3);
            }
            // The mark of a box without a text of its own lies on the box: on a ticked one, filled
            // with the accent, it takes the tick's colour, as the default button's ring does.
            const auto *box = qobject_cast<const QCheckBox *>(widget);
            const bool onFill = box && box->text().isEmpty() && (option->state & State_On);
            drawFocusMark(painter, rect, onFill ? Theme::textOnAccent() : Theme::focusMark());
            return;
        }
        default:
            break;
        }
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

void CalendarProxyStyle::polish(QWidget *widget)
{
    QProxyStyle::polish(widget);
    if (!showsPlaceholder(widget))
        return;
    widget->installEventFilter(this);
    holdPlaceholderColor(widget);
}

void CalendarProxyStyle::unpolish(QWidget *widget)
{
    if (showsPlaceholder(widget))
        widget->removeEventFilter(this);
    QProxyStyle::unpolish(widget);
}

bool CalendarProxyStyle::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::PaletteChange && showsPlaceholder(watched))
        holdPlaceholderColor(static_cast<QWidget *>(watched));
    return QProxyStyle::eventFilter(watched, event);
}

int CalendarProxyStyle::pixelMetric(PixelMetric metric, const QStyleOption *option,
                                    const QWidget *widget) const
{
    switch (metric) {
    case PM_IndicatorWidth:
    case PM_IndicatorHeight:
    case PM_ExclusiveIndicatorWidth:
    case PM_ExclusiveIndicatorHeight:
        return Theme::scaledPixels(IndicatorSize);
    // Icons beside text grow with it, as the indicators do.
    case PM_SmallIconSize:
    case PM_ButtonIconSize:
        return Theme::scaledPixels(QProxyStyle::pixelMetric(metric, option, widget));
    default:
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

int CalendarProxyStyle::styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                                  QStyleHintReturn *returnData) const
{
    if (hint == SH_ComboBox_Popup)
        return 0;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

QIcon CalendarProxyStyle::standardIcon(StandardPixmap standardIcon, const QStyleOption *option,
                                       const QWidget *widget) const
{
    // Glyphs of the icon font: close, cancel (a cross in a circle), check, save.
    constexpr char32_t Close = 0xe5cd;
    constexpr char32_t Cancel = 0xe5c9;
    constexpr char32_t Check = 0xe5ca;
    constexpr char32_t Save = 0xe161;
    const int size = Theme::scaledPixels(16);
    switch (standardIcon) {
    case SP_LineEditClearButton:
        return Theme::glyphIcon(Cancel, size, Theme::textMuted());
    case SP_TitleBarCloseButton:
    case SP_DockWidgetCloseButton:
        return Theme::glyphIcon(Close, size, Theme::textMuted());
    case SP_DialogCloseButton:
    case SP_DialogCancelButton:
    case SP_DialogNoButton:
    case SP_DialogDiscardButton:
        return Theme::glyphIcon(Close, size, Theme::textPrimary());
    case SP_DialogOkButton:
    case SP_DialogApplyButton:
    case SP_DialogYesButton:
        return Theme::glyphIcon(Check, size, Theme::textPrimary());
    case SP_DialogSaveButton:
        return Theme::glyphIcon(Save, size, Theme::textPrimary());
    default:
        return QProxyStyle::standardIcon(standardIcon, option, widget);
    }
}

void CalendarProxyStyle::drawCheckIndicator(QPainter *painter, const QRect &rect,
                                            QStyle::State state)
{
    const IndicatorColors colors = indicatorColors(state, false);
    const QRectF box = QRectF(rect).adjusted(1, 1, -1, -1);

    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(QPen(colors.outline, 2.0, Qt::SolidLine));
    painter->setBrush(colors.fill);
    painter->drawRoundedRect(box, 3.0, 3.0, Qt::AbsoluteSize);

    if (state & QStyle::State_On) {
        const qreal s = std::min(box.width(), box.height());
        const QPointF c = box.center();
        QPainterPath tick;
        tick.moveTo(c.x() - 0.28 * s, c.y() + 0.02 * s);
        tick.lineTo(c.x() - 0.06 * s, c.y() + 0.22 * s);
        tick.lineTo(c.x() + 0.30 * s, c.y() - 0.20 * s);
        painter->setPen(QPen(colors.mark, 0.18 * s, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter->setBrush(Qt::NoBrush);
        painter->drawPath(tick);
    }
    painter->restore();
}

void CalendarProxyStyle::drawFocusMark(QPainter *painter, const QRect &rect, const QColor &color)
{
    constexpr int Width = 2;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(QPen(color, Width));
    painter->setBrush(Qt::NoBrush);
    painter->drawRoundedRect(
        QRectF(rect).adjusted(Width / 2.0, Width / 2.0, -Width / 2.0, -Width / 2.0), 3.0, 3.0,
        Qt::AbsoluteSize);
    painter->restore();
}

void CalendarProxyStyle::drawRadioIndicator(QPainter *painter, const QRect &rect,
                                            QStyle::State state)
{
    const IndicatorColors colors = indicatorColors(state, true);
    const QRectF ring = QRectF(rect).adjusted(1, 1, -1, -1);

    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(QPen(colors.outline, 2.0));
    painter->setBrush(colors.fill);
    painter->drawEllipse(ring);

    if (state & QStyle::State_On) {
        const qreal radius = 0.26 * std::min(ring.width(), ring.height());
        painter->setPen(Qt::NoPen);
        painter->setBrush(colors.mark);
        painter->drawEllipse(ring.center(), radius, radius);
    }
    painter->restore();
}
