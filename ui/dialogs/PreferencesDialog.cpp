#include "ui/dialogs/PreferencesDialog.h"

#include "core/AppState.h"
#include "platform/DataPaths.h"
#include "storage/Database.h"
#include "storage/PreferenceKeys.h"
#include "storage/PreferencesRepository.h"
#include "ui/CheckBoxText.h"
#include "ui/MessagePresenter.h"
#include "ui/ScrollingBody.h"
#include "ui/dialogs/ColorPickerDialog.h"
#include "ui/dialogs/WeatherSettingsDialog.h"
#include "ui/theme/Theme.h"
#include "ui/theme/ThemeManager.h"

#include <QCheckBox>
#include <QColor>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

PreferencesDialog::PreferencesDialog(AppState *state, QWidget *parent)
    : QDialog(parent)
    , m_state(state)
    , m_theme(new QComboBox(this))
    , m_accent(new QLineEdit(this))
    , m_fontScale(new QSpinBox(this))
    , m_timeFormat(new QComboBox(this))
    , m_weekStart(new QComboBox(this))
    , m_closeToTray(new QCheckBox(tr("Close to the system tray"), this))
    , m_startMinimized(new QCheckBox(tr("Start minimised"), this))
    , m_launchAtLogin(new QCheckBox(tr("Launch at login"), this))
{
    setObjectName(QStringLiteral("preferencesDialog"));
    setWindowTitle(tr("Preferences"));

    m_theme->setObjectName(QStringLiteral("themeCombo"));
    m_theme->addItem(tr("System"), QStringLiteral("system"));
    m_theme->addItem(tr("Light"), QStringLiteral("light"));
    m_theme->addItem(tr("Dark"), QStringLiteral("dark"));

    m_accent->setObjectName(QStringLiteral("accentEdit"));
    m_accent->setPlaceholderText(tr("Default"));
    m_accent->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("^(#[0-9A-Fa-f]{6})?$")), m_accent));
    auto *pickAccent = new QPushButton(tr("Choose…"), this);
    pickAccent->setObjectName(QStringLiteral("pickAccentButton"));
    connect(pickAccent, &QPushButton::clicked, this, [this] {
        // An empty field is the default accent: the dialog starts from the colour in use, and
        // taking it unchanged keeps the default.
        const QColor typed(m_accent->text());
        const QColor start = typed.isValid() ? typed : Theme::accent();
        ColorPickerDialog picker(start, this);
        if (picker.exec() != QDialog::Accepted)
            return;
        const QColor chosen = picker.currentColor();
        if (chosen.isValid() && (typed.isValid() || chosen != start))
            m_accent->setText(chosen.name());
    });
    auto *accentRow = new QHBoxLayout;
    accentRow->addWidget(m_accent, 1);
    accentRow->addWidget(pickAccent);

    m_fontScale->setObjectName(QStringLiteral("fontScaleSpin"));
    m_fontScale->setRange(70, 200);
    m_fontScale->setSingleStep(10);
    m_fontScale->setSuffix(QStringLiteral(" %"));

    m_timeFormat->setObjectName(QStringLiteral("timeFormatCombo"));
    m_timeFormat->addItem(tr("12-hour (1:30 PM)"), QStringLiteral("12"));
    m_timeFormat->addItem(tr("24-hour (13:30)"), QStringLiteral("24"));

    m_weekStart->setObjectName(QStringLiteral("weekStartCombo"));
    m_weekStart->addItem(tr("As the system's region"), 0);
    const QLocale locale;
    for (int day = Qt::Monday; day <= Qt::Sunday; ++day)
        m_weekStart->addItem(locale.dayName(day), day);

    m_closeToTray->setObjectName(QStringLiteral("closeToTrayCheck"));
    m_startMinimized->setObjectName(QStringLiteral("startMinimizedCheck"));
    m_launchAtLogin->setObjectName(QStringLiteral("launchAtLoginCheck"));

    auto *weather = new QPushButton(tr("Configure location and units…"), this);
    weather->setObjectName(QStringLiteral("weatherSettingsButton"));
    weather->setAutoDefault(false);
    connect(weather, &QPushButton::clicked, this, [this] {
        WeatherSettingsDialog dialog(m_state, this);
        dialog.exec();
    });
    auto *weatherRow = new QHBoxLayout;
    weatherRow->addWidget(weather);
    weatherRow->addStretch(1);

    auto *body = new QWidget(this);
    auto *form = new QFormLayout(body);
    form->setContentsMargins(0, 0, 0, 0);
    form->addRow(tr("Theme:"), m_theme);
    form->addRow(tr("Accent colour:"), accentRow);
    form->addRow(tr("Font size:"), m_fontScale);
    form->addRow(tr("Time format:"), m_timeFormat);
    form->addRow(tr("First day of week:"), m_weekStart);
    form->addRow(tr("Weather:"), weatherRow);
    for (QCheckBox *check : {m_closeToTray, m_startMinimized, m_launchAtLogin})
        form->addRow(QString(), CheckBoxText::wrapped(check));

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &PreferencesDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new ScrollingBody(body, this), 1);
    layout->addWidget(buttons);
    load();
}

void PreferencesDialog::load()
{
    PreferencesRepository *prefs = m_state->preferences();
    m_theme->setCurrentIndex(
        qMax(0, m_theme->findData(prefs->getString(Prefs::Theme, Prefs::ThemeDefault))));
    m_accent->setText(prefs->getString(Prefs::AccentColor));
    m_fontScale->setValue(m_state->themeManager()->fontScale());
    m_timeFormat->setCurrentIndex(qMax(
        0, m_timeFormat->findData(prefs->getString(Prefs::TimeFormat, Prefs::TimeFormatDefault))));
    const bool customized
        = prefs->getBool(Prefs::WeekStartDayCustomized, Prefs::WeekStartDayCustomizedDefault);
    const int day = customized ? prefs->getInt(Prefs::WeekStartDay, 0) : 0;
    m_weekStart->setCurrentIndex(qMax(0, m_weekStart->findData(day)));
    m_closeToTray->setChecked(prefs->getBool(Prefs::CloseToTray, Prefs::CloseToTrayDefault));
    m_startMinimized->setChecked(
        prefs->getBool(Prefs::StartMinimized, Prefs::StartMinimizedDefault));
    m_launchAtLoginWas = isLaunchAtLoginEnabled();
    m_launchAtLogin->setChecked(m_launchAtLoginWas);
}

PreferencesDialog::Applied PreferencesDialog::apply()
{
    PreferencesRepository *prefs = m_state->preferences();
    Database *db = m_state->database();
    const QString mode = m_theme->currentData().toString();
    const QString accent = m_accent->hasAcceptableInput() ? m_accent->text() : QString();
    const int day = m_weekStart->currentData().toInt();
    const bool customized = day != 0;
    const QStringList keys {
        Prefs::Theme,        Prefs::AccentColor,           Prefs::FontScale,
        Prefs::TimeFormat,   Prefs::WeekStartDayChangedAt, Prefs::WeekStartDayCustomized,
        Prefs::WeekStartDay, Prefs::CloseToTray,           Prefs::StartMinimized};
    const auto write = [&] {
        bool ok = prefs->set(Prefs::Theme, mode)
            && (accent.isEmpty() ? prefs->remove(Prefs::AccentColor)
                                 : prefs->set(Prefs::AccentColor, accent))
            && prefs->setInt(Prefs::FontScale, m_fontScale->value())
            && prefs->set(Prefs::TimeFormat, m_timeFormat->currentData().toString());
        if (ok
            && (customized
                    != prefs->getBool(Prefs::WeekStartDayCustomized,
                                      Prefs::WeekStartDayCustomizedDefault)
                || day != prefs->getInt(Prefs::WeekStartDay, Prefs::WeekStartDayDefault))) {
            // Dated, so that the user's other devices keep the latest choice of them all; never
            // before the choice it replaces, which another device may have dated ahead of this
            // clock.
            const qint64 at = std::max(
                db->currentDateTimeUtc().toMSecsSinceEpoch(),
                prefs->get(Prefs::WeekStartDayChangedAt).value_or(QString()).toLongLong());
            ok = prefs->set(Prefs::WeekStartDayChangedAt, QString::number(at));
        }
        return ok && prefs->setBool(Prefs::WeekStartDayCustomized, customized)
            && prefs->setInt(Prefs::WeekStartDay, day)
            && prefs->setBool(Prefs::CloseToTray, m_closeToTray->isChecked())
            && prefs->setBool(Prefs::StartMinimized, m_startMinimized->isChecked());
    };
    switch (prefs->setTogether(QStringLiteral("preferences"), keys, write)) {
    case PreferencesRepository::Stored::All:
        break;
    case PreferencesRepository::Stored::NoneBusy:
        return Applied::NoneBusy;
    case PreferencesRepository::Stored::None:
        return Applied::None;
    }

    ThemeManager *theme = m_state->themeManager();
    theme->setMode(mode, false);
    theme->setAccentColor(accent, false);
    theme->setFontScale(m_fontScale->value(), false);
    if (m_launchAtLogin->isChecked() == m_launchAtLoginWas)
        return Applied::All;
    if (!setLaunchAtLogin(m_launchAtLogin->isChecked()))
        return Applied::AllButLaunchAtLogin;
    m_launchAtLoginWas = m_launchAtLogin->isChecked();
    return Applied::All;
}

void PreferencesDialog::accept()
{
    switch (apply()) {
    case Applied::All:
        break;
    case Applied::AllButLaunchAtLogin:
        MessagePresenter::show(MessagePresenter::Kind::Warning, this, tr("Preferences"),
                               tr("The launch-at-login entry could not be changed."));
        break;
    case Applied::NoneBusy:
        MessagePresenter::show(MessagePresenter::Kind::Warning, this, tr("Preferences"),
                               tr("Another program is writing to the calendar, so the "
                                  "preferences were not saved. Press OK again once it is done."));
        return;
    case Applied::None: {
        const QString why = m_state->store().writeFailure();
        MessagePresenter::show(MessagePresenter::Kind::Warning, this, tr("Preferences"),
                               why.isEmpty()
                                   ? tr("The preferences could not be saved.")
                                   : tr("The preferences could not be saved (%1).").arg(why));
        return;
    }
    }
    QDialog::accept();
}
