#include "ui/theme/Theme.h"

#include <QCalendarWidget>
#include <QDateEdit>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#include <QPixmap>
#include <QRegularExpression>

#include <algorithm>
#include <climits>
#include <cmath>
#include <initializer_list>

namespace Theme {

namespace {

int g_activeMode = 0;
QString g_customAccent;
QString g_iconFontFamily = QStringLiteral("Material Icons");

constexpr int LightMutedAlpha = 38;
constexpr int DarkMutedAlpha = 50;

constexpr QRgb LightText = 0x181b22;
constexpr QRgb DarkText = 0xe7e9ee;
constexpr double ReadableRatio = 4.5;
// Marks that are no text (a focus ring) need 3:1 against what is next to them.
constexpr double MarkRatio = 3.0;

QColor pick(QRgb light, QRgb dark)
{
    return QColor::fromRgb(g_activeMode == 1 ? dark : light);
}

double linearChannel(double channel)
{
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

// The custom accent when it is set and parses; otherwise nothing.
QColor customAccent()
{
    if (g_customAccent.isEmpty())
        return {};
    return QColor(g_customAccent);
}

} // namespace

void setActiveMode(int mode)
{
    g_activeMode = mode;
}

QString customAccentColor()
{
    return g_customAccent;
}

void setCustomAccentColor(const QString &color)
{
    if (color == g_customAccent)
        return;
    g_customAccent = color;
}

QColor canvas()
{
    return pick(0xf6f7f9, 0x14161b);
}

QColor surface()
{
    return pick(0xffffff, 0x1b1e24);
}

QColor surfaceMuted()
{
    return pick(0xf0f1f4, 0x23272f);
}

QColor border()
{
    return pick(0xe3e5ea, 0x2c313a);
}

QColor borderStrong()
{
    return pick(0xc9cdd4, 0x3a404b);
}

QColor textPrimary()
{
    return pick(0x181b22, 0xe7e9ee);
}

QColor textMuted()
{
    return pick(0x6b707a, 0x9aa0ab);
}

QColor textDisabled()
{
    return pick(0xa8adb6, 0x5c626d);
}

QColor accent()
{
    const QColor custom = customAccent();
    if (custom.isValid())
        return custom;
    return pick(0x4285f4, 0x6ba1f7);
}

QColor accentMuted()
{
    QColor muted = accent();
    muted.setAlpha(g_activeMode == 1 ? DarkMutedAlpha : LightMutedAlpha);
    return muted;
}

QColor danger()
{
    return pick(0xdc3545, 0xe74c3c);
}

double relativeLuminance(const QColor &color)
{
    const QColor rgb = color.toRgb();
    return 0.2126 * linearChannel(rgb.redF()) + 0.7152 * linearChannel(rgb.greenF())
        + 0.0722 * linearChannel(rgb.blueF());
}

double contrastRatio(const QColor &a, const QColor &b)
{
    const double la = relativeLuminance(a);
    const double lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor textOn(const QColor &background)
{
    const auto better = [&background](const QColor &a, const QColor &b) {
        return contrastRatio(a, background) >= contrastRatio(b, background) ? a : b;
    };
    const QColor themed = better(QColor::fromRgb(LightText), QColor::fromRgb(DarkText));
    if (contrastRatio(themed, background) >= ReadableRatio)
        return themed;
    // One of pure black and pure white reaches 4.58:1 on any colour.
    return better(QColor(Qt::black), QColor(Qt::white));
}

QColor textOnAccent()
{
    return textOn(accent());
}

namespace {

// The smallest step from the base colour towards the other that reads at the given ratio on
// every one of the backgrounds, so the colour stays as close to its token as it can.
QColor stepUntilReadable(const QColor &base, const QColor &towards,
                         std::initializer_list<QColor> backgrounds, double ratio)
{
    const auto readable = [&](const QColor &color) {
        return std::all_of(backgrounds.begin(), backgrounds.end(),
                           [&](const QColor &bg) { return contrastRatio(color, bg) >= ratio; });
    };
    for (int percent = 0; percent <= 100; percent += 2) {
        const double t = percent / 100.0;
        const QColor mixed
            = QColor::fromRgbF(float(base.redF() + (towards.redF() - base.redF()) * t),
                               float(base.greenF() + (towards.greenF() - base.greenF()) * t),
                               float(base.blueF() + (towards.blueF() - base.blueF()) * t));
        if (readable(mixed))
            return QColor(mixed.rgb());
    }
    return towards;
}

} // namespace

QColor errorText()
{
    const bool dark = g_activeMode == 1;
    return stepUntilReadable(danger(), dark ? QColor(Qt::white) : QColor(Qt::black),
                             {canvas(), surface()}, ReadableRatio);
}

QColor statusText()
{
    return stepUntilReadable(textMuted(), textPrimary(), {surfaceMuted()}, ReadableRatio);
}

QColor hintText()
{
    return stepUntilReadable(textMuted(), textPrimary(), {canvas(), surface(), surfaceMuted()},
                             ReadableRatio);
}

namespace {

// A selected row as it is painted: the translucent selection over the list's surface.
QColor selectedRow()
{
    const QColor over = accentMuted();
    const QColor under = surface();
    const float alpha = over.alphaF();
    return QColor::fromRgbF(over.redF() * alpha + under.redF() * (1 - alpha),
                            over.greenF() * alpha + under.greenF() * (1 - alpha),
                            over.blueF() * alpha + under.blueF() * (1 - alpha));
}

} // namespace

QColor focusMark()
{
    // The accent where it stands out from the button, from the ground around it and from a
    // selected row; a pale or dark custom accent gives way to the text colour, which always does.
    return stepUntilReadable(accent(), textPrimary(), {surface(), canvas(), selectedRow()},
                             MarkRatio);
}

int scaledPixels(int pixels)
{
    return std::max(1, pixels * fontScale / 100);
}

QString cssColor(const QColor &color)
{
    if (color.alpha() == 255)
        return color.name(QColor::HexRgb).toLower();
    return QStringLiteral("rgba(%1, %2, %3, %4)")
        .arg(color.red())
        .arg(color.green())
        .arg(color.blue())
        .arg(QString::number(color.alpha() / 255.0, 'f', 3));
}

QString substituteTokens(const QString &sheet)
{
    const QHash<QString, QString> values {
        {QStringLiteral("canvas"), cssColor(canvas())},
        {QStringLiteral("surface"), cssColor(surface())},
        {QStringLiteral("surfaceMuted"), cssColor(surfaceMuted())},
        {QStringLiteral("border"), cssColor(border())},
        {QStringLiteral("borderStrong"), cssColor(borderStrong())},
        {QStringLiteral("textPrimary"), cssColor(textPrimary())},
        {QStringLiteral("textMuted"), cssColor(textMuted())},
        {QStringLiteral("textDisabled"), cssColor(textDisabled())},
        {QStringLiteral("accent"), cssColor(accent())},
        {QStringLiteral("accentMuted"), cssColor(accentMuted())},
        {QStringLiteral("danger"), cssColor(danger())},
        {QStringLiteral("textOnAccent"), cssColor(textOnAccent())},
        {QStringLiteral("errorText"), cssColor(errorText())},
        {QStringLiteral("statusText"), cssColor(statusText())},
        {QStringLiteral("hintText"), cssColor(hintText())},
        {QStringLiteral("focusMark"), cssColor(focusMark())},
        {QStringLiteral("radiusSm"), QStringLiteral("4px")},
        {QStringLiteral("radiusMd"), QStringLiteral("6px")},
        {QStringLiteral("radiusLg"), QStringLiteral("10px")},
        {QStringLiteral("spacingXs"), QStringLiteral("4px")},
        {QStringLiteral("spacingSm"), QStringLiteral("8px")},
        {QStringLiteral("spacingMd"), QStringLiteral("12px")},
        {QStringLiteral("spacingLg"), QStringLiteral("16px")},
        {QStringLiteral("fontSm"), QString::number(fontSm) + QStringLiteral("pt")},
        {QStringLiteral("fontBody"), QString::number(fontBody) + QStringLiteral("pt")},
        {QStringLiteral("fontLg"), QString::number(fontLg) + QStringLiteral("pt")},
        {QStringLiteral("sansFamily"), uiFontFamily()},
    };

    // One pass over whole words, so "@surface" can never eat the start of "@surfaceMuted"
    // whatever order the tokens are listed in. Unknown words stay as they are.
    static const QRegularExpression tokenPattern(QStringLiteral("@([A-Za-z][A-Za-z0-9]*)"));
    QString out;
    out.reserve(sheet.size());
    qsizetype last = 0;
    QRegularExpressionMatchIterator it = tokenPattern.globalMatch(sheet);
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        const auto value = values.constFind(match.captured(1));
        if (value == values.constEnd())
            continue;
        out += QStringView(sheet).mid(last, match.capturedStart() - last);
        out += *value;
        last = match.capturedEnd();
    }
    out += QStringView(sheet).mid(last);
    return out;
}

QString stylesheet()
{
    QFile file(QStringLiteral(":/styles/calendar.qss"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return substituteTokens(QString::fromUtf8(file.readAll()));
}

QString uiFontFamily()
{
    return QStringLiteral("IBM Plex Sans");
}

QPixmap dotPixmap(const QColor &color, int size, int inset, qreal ratio)
{
    const int pixels = std::max(1, int(std::lround(size * ratio)));
    QPixmap pixmap(pixels, pixels);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawEllipse(QRectF(inset, inset, size - 2 * inset, size - 2 * inset));
    painter.end();
    return pixmap;
}

QIcon colorDotIcon(const QString &color)
{
    QColor fill(color);
    if (!fill.isValid())
        fill = QColor(0x9a, 0xa0, 0xa6);
    // Sharp on every screen: one drawing per pixel ratio in use.
    QIcon icon;
    QList<qreal> ratios {1.0, 2.0};
    if (qGuiApp && !ratios.contains(qGuiApp->devicePixelRatio()))
        ratios << qGuiApp->devicePixelRatio();
    for (qreal ratio : std::as_const(ratios))
        icon.addPixmap(dotPixmap(fill, 14, 1, ratio));
    return icon;
}

QString listIndicatorStyleSheet()
{
    const int side = scaledPixels(14);
    return QStringLiteral("QListView::indicator {  width: %4px;  height: %4px;  border: 1px solid "
                          "%1;  border-radius: 3px;  background: %2;}"
                          "QListView::indicator:checked {  background: %3;  border-color: %3;}"
                          "QListView::indicator:hover {  border-color: %3;}")
        .arg(borderStrong().name(), surfaceMuted().name(), accent().name())
        .arg(side);
}

void applyFirstDayOfWeek(QDateEdit *edit, Qt::DayOfWeek day)
{
    if (!edit)
        return;
    if (QCalendarWidget *calendar = edit->calendarWidget())
        calendar->setFirstDayOfWeek(day);
}

QString iconFontFamily()
{
    return g_iconFontFamily;
}

void setIconFontFamily(const QString &family)
{
    if (family.isEmpty())
        return;
    g_iconFontFamily = family;
}

QIcon glyphIcon(char32_t glyph, int size, const QColor &color)
{
    if (size <= 0)
        return {};
    const qreal ratio = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    const double side = std::round(double(size) * ratio);
    const int pixels = int(qBound(0.0, side, double(INT_MAX)));

    QPixmap pixmap(pixels, pixels);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);

    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QFont font(g_iconFontFamily);
    font.setPixelSize(size);
    painter.setFont(font);
    painter.setPen(color);
    painter.drawText(QRect(0, 0, size, size), Qt::AlignCenter, QString::fromUcs4(&glyph, 1));
    painter.end();
    return QIcon(pixmap);
}

} // namespace Theme
