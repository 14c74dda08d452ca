#pragma once

#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QString>

class QDateEdit;

// Design tokens read at paint time by every view, pane and dialog. Each colour has a light and
// a dark value; the active mode, the custom accent and the font scale are process-wide state
// written by ThemeManager. GUI thread only.
namespace Theme {

// Type sizes in points, scaled by the font scale (ThemeManager::setFontScale).
inline int fontSm = 10;
inline int fontBody = 11;
inline int fontLg = 13;
inline int fontXl = 16;
inline int fontXxl = 22;
// The font scale in percent, 70 to 200.
inline int fontScale = 100;

// 1 = dark, anything else = light.
void setActiveMode(int mode);

QString customAccentColor();
void setCustomAccentColor(const QString &color);

QColor canvas();
QColor surface();
QColor surfaceMuted();
QColor border();
QColor borderStrong();
QColor textPrimary();
QColor textMuted();
QColor textDisabled();
QColor accent();
QColor accentMuted();
QColor danger();

// Readability of text, as WCAG measures it: relative luminance (0 to 1) and the contrast ratio
// of two opaque colours (1 to 21).
double relativeLuminance(const QColor &color);
double contrastRatio(const QColor &a, const QColor &b);
// Text painted on a filled background: the light or the dark theme's text, whichever stands
// out more; black or white where neither reaches 4.5:1.
QColor textOn(const QColor &background);
// Text on the current accent (the default button, a selection, a tick in a check box).
QColor textOnAccent();
// Error and warning texts: the danger colour, darkened in light mode and lightened in dark mode
// just enough to read at 4.5:1 on the canvas and on surfaces.
QColor errorText();
// Muted text on muted surfaces (the status bar, table headers): the muted text colour, moved
// towards the body text just enough to read at 4.5:1.
QColor statusText();
// Secondary texts, hints among them (muted labels): the muted text colour, moved towards the body
// text just enough to read at 4.5:1 on the canvas, on surfaces and on muted surfaces.
QColor hintText();
// The keyboard focus ring of a button, at least 3:1 against the button and the ground around it.
QColor focusMark();

// A size in pixels (an indicator, a glyph) grown with the font scale, so it keeps its size
// next to the text around it.
int scaledPixels(int pixels);

// "#rrggbb" for opaque colours, "rgba(r, g, b, a)" with a fraction of 1 otherwise.
QString cssColor(const QColor &color);

// The application style sheet with every token replaced by its current value; empty when the
// resource cannot be read.
QString stylesheet();
// Token substitution on its own, for any sheet text.
QString substituteTokens(const QString &sheet);

QString uiFontFamily();

// A round swatch of size x size device-independent pixels, inset from the edge, drawn for a
// screen of that pixel ratio.
QPixmap dotPixmap(const QColor &color, int size, int inset, qreal ratio);
// A 14 x 14 round swatch, sharp at any pixel ratio; an invalid colour gives a neutral grey.
QIcon colorDotIcon(const QString &color);

// Check-box indicators for list views in the dialogs.
QString listIndicatorStyleSheet();

// Sets the first day of the week on the date edit's calendar pop-up, when it has one.
void applyFirstDayOfWeek(QDateEdit *edit, Qt::DayOfWeek day);

// The embedded icon font. An empty name keeps the current family.
QString iconFontFamily();
void setIconFontFamily(const QString &family);

// One glyph of the icon font, drawn at the application's device pixel ratio.
QIcon glyphIcon(char32_t glyph, int size, const QColor &color);

} // namespace Theme
