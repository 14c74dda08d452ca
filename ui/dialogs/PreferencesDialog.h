#pragma once

// The settings the program offers so far: look, time and week display, and window behaviour.

#include <QDialog>

class AppState;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;

class PreferencesDialog : public QDialog
{
    Q_OBJECT
public:
    PreferencesDialog(AppState *state, QWidget *parent);

    // What became of the form's settings.
    enum class Applied {
        All,
        AllButLaunchAtLogin, // the settings are stored; the entry could not be changed
        NoneBusy, // nothing stored: another program is writing to the database
        None, // nothing stored: the database refused the write
    };
    // Stores every setting of the form at once or none of them, then puts them in effect; the
    // launch-at-login entry is changed only when it changed and the settings were stored.
    [[nodiscard]] Applied apply();
    // OK: applies the form and closes, or stays open and says why nothing was stored.
    void accept() override;

    QComboBox *themeCombo() const { return m_theme; }
    QLineEdit *accentEdit() const { return m_accent; }
    QSpinBox *fontScaleSpin() const { return m_fontScale; }
    QComboBox *timeFormatCombo() const { return m_timeFormat; }
    QComboBox *weekStartCombo() const { return m_weekStart; }
    QCheckBox *closeToTrayCheck() const { return m_closeToTray; }
    QCheckBox *startMinimizedCheck() const { return m_startMinimized; }
    QCheckBox *launchAtLoginCheck() const { return m_launchAtLogin; }

private:
    void load();

    AppState *m_state;
    QComboBox *m_theme;
    QLineEdit *m_accent;
    QSpinBox *m_fontScale;
    QComboBox *m_timeFormat;
    QComboBox *m_weekStart;
    QCheckBox *m_closeToTray;
    QCheckBox *m_startMinimized;
    QCheckBox *m_launchAtLogin;
    bool m_launchAtLoginWas = false;
};
