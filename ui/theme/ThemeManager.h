#pragma once

#include <QColor>
#include <QFont>
#include <QObject>
#include <QPalette>
#include <QString>

#include <functional>

class PreferencesRepository;

// Decides light or dark from the user's mode ("light", "dark" or "system"), applies the custom
// accent and the font scale, and installs style, palette and style sheet on the application.
// The settings live in "ui/theme", "ui/accentColor" and "ui/fontScale".
class ThemeManager : public QObject
{
    Q_OBJECT
public:
    explicit ThemeManager(PreferencesRepository *prefs, QObject *parent = nullptr);
    ~ThemeManager() override;

    void loadThemeSettings();
    void loadFontScale();

    void applyTheme(const QString &mode);
    // Without persist the setting takes effect only: the caller has stored it.
    void setMode(const QString &mode, bool persist = true);
    void setAccentColor(const QString &color, bool persist = true);
    void setFontScale(int percent, bool persist = true);

    QString mode() const { return m_mode; }
    int fontScale() const;

    // The application palette for the active mode.
    static QPalette buildPalette();

    // Whether the desktop asks for a dark look, never judged from our own palette.
    static bool systemPrefersDark();
    // Replaces the desktop's answer (tests); an empty function restores it.
    static void setSystemDarkProbe(std::function<bool()> probe);

signals:
    void modeChanged(const QString &mode);
    void accentChanged(const QColor &accent);
    void fontScaleChanged(int percent);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void onSystemSchemeChanged();

    PreferencesRepository *m_prefs;
    QString m_mode;
    QFont m_baseFont;
    bool m_systemDark = false;
};
