#include "ui/theme/ThemeManager.h"

#include "storage/PreferenceKeys.h"
#include "storage/PreferencesRepository.h"
#include "ui/theme/CalendarProxyStyle.h"
#include "ui/theme/Theme.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QStyleHints>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace {

constexpr int MinFontScale = 70;
constexpr int MaxFontScale = 200;

const QString DarkMode = QStringLiteral("dark");
const QString SystemMode = QStringLiteral("system");

// Once a style sheet is set, QApplication::style() is Qt's style-sheet style wrapping ours, so
// the installed proxy is remembered here. Replacing the application style deletes it.
QPointer<CalendarProxyStyle> g_installedProxy;

std::function<bool()> g_darkProbe;

// Palette changes we make ourselves must not be taken for the desktop switching themes.
int g_ownPaletteChanges = 0;

class OwnPaletteChange
{
public:
    OwnPaletteChange() { ++g_ownPaletteChanges; }
    ~OwnPaletteChange() { --g_ownPaletteChanges; }
    OwnPaletteChange(const OwnPaletteChange &) = delete;
    OwnPaletteChange &operator=(const OwnPaletteChange &) = delete;
};

bool proxyInstalled()
{
    if (!g_installedProxy)
        return false;
    const QStyle *current = QApplication::style();
    return current == g_installedProxy || (current && current->inherits("QStyleSheetStyle"));
}

#if QT_VERSION < QT_VERSION_CHECK(6, 5, 0)
// The palette the platform offers. Qt 6.4 has no public way to read it beneath an application
// palette, so ours is lifted for a moment and put back.
QPalette platformPalette()
{
    if (!QCoreApplication::testAttribute(Qt::AA_SetPalette))
        return QGuiApplication::palette();
    OwnPaletteChange own;
    const QPalette installed = QGuiApplication::palette();
    QApplication::setPalette(QPalette());
    const QPalette platform = QGuiApplication::palette();
    QApplication::setPalette(installed);
    return platform;
}
#endif

} // namespace

ThemeManager::ThemeManager(PreferencesRepository *prefs, QObject *parent)
    : QObject(parent)
    , m_prefs(prefs)
    , m_mode(SystemMode)
    , m_baseFont(QGuiApplication::font())
{
    m_systemDark = systemPrefersDark();
    if (qGuiApp) {
        qGuiApp->installEventFilter(this);
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
        connect(QGuiApplication::styleHints(), &QStyleHints::colorSchemeChanged, this,
                &ThemeManager::onSystemSchemeChanged);
#endif
    }
}

ThemeManager::~ThemeManager() = default;

bool ThemeManager::systemPrefersDark()
{
    if (g_darkProbe)
        return g_darkProbe();
    if (!qGuiApp)
        return false;
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
    return QGuiApplication::styleHints()->colorScheme() == Qt::ColorScheme::Dark;
#else
    return platformPalette().color(QPalette::Active, QPalette::Window).lightness() < 128;
#endif
}

void ThemeManager::setSystemDarkProbe(std::function<bool()> probe)
{
    g_darkProbe = std::move(probe);
}

bool ThemeManager::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == qGuiApp && event->type() == QEvent::ApplicationPaletteChange
        && g_ownPaletteChanges == 0)
        onSystemSchemeChanged();
    return QObject::eventFilter(watched, event);
}

void ThemeManager::onSystemSchemeChanged()
{
    m_systemDark = systemPrefersDark();
    if (m_mode == SystemMode)
        applyTheme(m_mode);
}

void ThemeManager::loadThemeSettings()
{
    if (m_prefs) {
        m_mode = m_prefs->getString(Prefs::Theme, Prefs::ThemeDefault);
        Theme::setCustomAccentColor(m_prefs->getString(Prefs::AccentColor));
    }
    applyTheme(m_mode);
}

void ThemeManager::loadFontScale()
{
    int percent = 100;
    if (m_prefs) {
        bool ok = false;
        const int stored = m_prefs->getString(Prefs::FontScale, Prefs::FontScaleDefault).toInt(&ok);
        if (ok)
            percent = stored;
    }
    setFontScale(percent, false);
}

void ThemeManager::applyTheme(const QString &mode)
{
    OwnPaletteChange own;
    auto *app = qobject_cast<QApplication *>(QCoreApplication::instance());
    if (app && !proxyInstalled()) {
        g_installedProxy = new CalendarProxyStyle;
        QApplication::setStyle(g_installedProxy);
    }

    const bool dark = mode == DarkMode || (mode == SystemMode && m_systemDark);
    Theme::setActiveMode(dark ? 1 : 0);

    if (qGuiApp)
        QApplication::setPalette(buildPalette());
    if (app)
        app->setStyleSheet(Theme::stylesheet());
}

void ThemeManager::setMode(const QString &mode, bool persist)
{
    if (mode == m_mode) {
        applyTheme(mode);
        return;
    }
    m_mode = mode;
    if (persist && m_prefs)
        m_prefs->set(Prefs::Theme, mode);
    applyTheme(mode);
    emit modeChanged(mode);
}

void ThemeManager::setAccentColor(const QString &color, bool persist)
{
    Theme::setCustomAccentColor(color);
    if (persist && m_prefs) {
        if (color.isEmpty())
            m_prefs->remove(Prefs::AccentColor);
        else
            m_prefs->set(Prefs::AccentColor, color);
    }
    applyTheme(m_mode);
    emit accentChanged(Theme::accent());
}

int ThemeManager::fontScale() const
{
    return Theme::fontScale;
}

void ThemeManager::setFontScale(int percent, bool persist)
{
    const int scale = std::clamp(percent, MinFontScale, MaxFontScale);
    const int previous = Theme::fontScale;
    Theme::fontScale = scale;

    const auto scaled = [scale](int base) {
        return std::max(1, base * scale / 100);
    };
    Theme::fontSm = scaled(10);
    Theme::fontBody = scaled(11);
    Theme::fontLg = scaled(13);
    Theme::fontXl = scaled(16);
    Theme::fontXxl = scaled(22);

    if (persist && m_prefs)
        m_prefs->set(Prefs::FontScale, QString::number(scale));

    // Widgets with a font of their own keep their size relative to the text around them. Their
    // sizes are read before the style sheet is replaced, which puts back older fonts.
    QList<std::pair<QPointer<QWidget>, int>> ownFonts;
    if (previous >= 1 && previous != scale) {
        const QList<QWidget *> widgets = QApplication::allWidgets();
        for (QWidget *widget : widgets) {
            if (widget->testAttribute(Qt::WA_SetFont) && widget->font().pointSize() > 0)
                ownFonts.append({widget, widget->font().pointSize()});
        }
    }

    if (qGuiApp) {
        // Always from the font we started with, so repeated changes do not accumulate rounding.
        QFont font = m_baseFont;
        if (font.pointSize() > 0)
            font.setPointSize(std::max(1, font.pointSize() * scale / 100));
        QApplication::setFont(font);
    }

    // The sheet carries the type sizes too: without a fresh one, the windows that take their
    // size from it (the main window) would keep the old one until the next start.
    if (auto *app = qobject_cast<QApplication *>(QCoreApplication::instance());
        app && !app->styleSheet().isEmpty())
        app->setStyleSheet(Theme::stylesheet());

    const double factor = previous >= 1 ? double(scale) / double(previous) : 1.0;
    for (const auto &[widget, points] : std::as_const(ownFonts)) {
        if (!widget)
            continue;
        QFont font = widget->font();
        font.setPointSize(std::max(1, int(std::lround(points * factor))));
        widget->setFont(font);
    }

    emit fontScaleChanged(scale);
}

QPalette ThemeManager::buildPalette()
{
    QPalette palette;
    const auto set
        = [&palette](QPalette::ColorGroup group, QPalette::ColorRole role, const QColor &color) {
              palette.setBrush(group, role, QBrush(color, Qt::SolidPattern));
          };
    set(QPalette::All, QPalette::Window, Theme::canvas());
    set(QPalette::All, QPalette::WindowText, Theme::textPrimary());
    set(QPalette::All, QPalette::Base, Theme::surface());
    set(QPalette::All, QPalette::AlternateBase, Theme::surfaceMuted());
    // Tooltips are inverted: a dark box in light mode, a light one in dark mode.
    set(QPalette::All, QPalette::ToolTipBase, Theme::textPrimary());
    set(QPalette::All, QPalette::ToolTipText, Theme::surface());
    set(QPalette::All, QPalette::Text, Theme::textPrimary());
    set(QPalette::All, QPalette::Button, Theme::surface());
    set(QPalette::All, QPalette::ButtonText, Theme::textPrimary());
    set(QPalette::All, QPalette::BrightText, Theme::danger());
    set(QPalette::All, QPalette::Highlight, Theme::accent());
    set(QPalette::All, QPalette::HighlightedText, Theme::textOnAccent());
    set(QPalette::All, QPalette::Mid, Theme::border());
    set(QPalette::All, QPalette::Light, Theme::surface());
    set(QPalette::All, QPalette::Dark, Theme::borderStrong());
    // A field's example text is the only hint some fields give: it must read like one.
    set(QPalette::All, QPalette::PlaceholderText, Theme::hintText());
    set(QPalette::Disabled, QPalette::Text, Theme::textDisabled());
    set(QPalette::Disabled, QPalette::ButtonText, Theme::textDisabled());
    set(QPalette::Disabled, QPalette::WindowText, Theme::textDisabled());
    return palette;
}
