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

    // Writes every setting of the form; the launch-at-login entry only when it changed. False
    // when the launch-at-login entry could not be written as asked.
    bool apply();

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
