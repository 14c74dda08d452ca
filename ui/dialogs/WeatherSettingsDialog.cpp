#include "ui/dialogs/WeatherSettingsDialog.h"

#include "core/AppState.h"
#include "services/weather/WeatherService.h"
#include "storage/PreferenceKeys.h"
#include "storage/PreferencesRepository.h"
#include "ui/MessagePresenter.h"
#include "ui/ScrollingBody.h"
#include "ui/WindowFit.h"
#include "ui/theme/Theme.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int LatitudeRole = Qt::UserRole;
constexpr int LongitudeRole = Qt::UserRole + 1;
} // namespace

WeatherSettingsDialog::WeatherSettingsDialog(AppState *state, QWidget *parent)
    : QDialog(parent)
    , m_state(state)
    , m_geocoding(new Weather::GeocodingClient(this))
{
    setObjectName(QStringLiteral("weatherSettingsDialog"));
    setWindowTitle(tr("Weather"));
    setModal(true);
    const PreferencesRepository *prefs = m_state->preferences();

    auto *intro = new QLabel(tr("Show weather alongside your calendar. Forecast comes from "
                                "Open-Meteo (free, no signup). Search for a city below to set "
                                "the location."),
                             this);
    intro->setWordWrap(true);
    intro->setProperty("muted", true);

    m_enabled = new QCheckBox(tr("Enable weather"), this);
    m_enabled->setObjectName(QStringLiteral("weatherEnableCheck"));
    m_enabled->setChecked(prefs->getBool(Prefs::WeatherEnabled, Prefs::WeatherEnabledDefault));

    m_search = new QLineEdit(this);
    m_search->setObjectName(QStringLiteral("citySearchEdit"));
    m_search->setPlaceholderText(tr("City name or postal code"));
    m_searchButton = new QPushButton(tr("Search"), this);
    m_searchButton->setObjectName(QStringLiteral("citySearchButton"));
    m_searchButton->setAutoDefault(false);
    m_searchButton->setDefault(false);
    auto *searchRow = new QHBoxLayout;
    searchRow->addWidget(m_search, 1);
    searchRow->addWidget(m_searchButton);

    m_results = new QListWidget(this);
    m_results->setObjectName(QStringLiteral("cityResultsList"));
    m_results->setMinimumHeight(120);
    m_results->hide();

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("weatherStatusLabel"));
    m_status->setProperty("muted", true);
    m_status->setWordWrap(true);
    m_status->setTextFormat(Qt::PlainText);
    const QString place = prefs->getString(Prefs::WeatherLocationName);
    m_status->setText(place.isEmpty() ? tr("No location set.")
                                      : tr("Current location: %1").arg(place));

    m_unit = new QComboBox(this);
    m_unit->setObjectName(QStringLiteral("weatherUnitCombo"));
    m_unit->addItem(tr("Celsius (°C)"), QStringLiteral("C"));
    m_unit->addItem(tr("Fahrenheit (°F)"), QStringLiteral("F"));
    m_unit->setCurrentIndex(
        prefs->getString(Prefs::WeatherUnit, Prefs::WeatherUnitDefault) == QLatin1String("F") ? 1
                                                                                              : 0);

    auto *form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight);
    auto *cityLabel = new QLabel(tr("&City:"), this);
    cityLabel->setBuddy(m_search);
    form->addRow(cityLabel, searchRow);
    form->addRow(QString(), m_results);
    form->addRow(QString(), m_status);
    auto *unitLabel = new QLabel(tr("&Units:"), this);
    unitLabel->setBuddy(m_unit);
    form->addRow(unitLabel, m_unit);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Save)->setText(tr("Save"));
    connect(buttons, &QDialogButtonBox::accepted, this, &WeatherSettingsDialog::save);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *body = new QWidget(this);
    auto *bodyLayout = new QVBoxLayout(body);
    bodyLayout->setContentsMargins(0, 0, 0, 0);
    bodyLayout->setSpacing(12);
    bodyLayout->addWidget(intro);
    bodyLayout->addWidget(m_enabled);
    // Room to spare goes to the results list, not below the form, so that no match scrolls
    // out of view while the dialog has space for it.
    bodyLayout->addLayout(form, 1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setSpacing(12);
    m_body = new ScrollingBody(body, this);
    layout->addWidget(m_body, 1);
    layout->addWidget(buttons);
    // A city typed on opening goes to the search, and Return there searches.
    m_search->setFocus();
    resize((QSize(480, 480) * Theme::fontScale / 100).expandedTo(sizeHint()));

    connect(m_geocoding, &Weather::GeocodingClient::completed, this,
            &WeatherSettingsDialog::showResults);
    connect(m_geocoding, &Weather::GeocodingClient::failed, this,
            &WeatherSettingsDialog::showSearchFailure);
    connect(m_searchButton, &QPushButton::clicked, this, &WeatherSettingsDialog::startSearch);
}

QString WeatherSettingsDialog::searchTextFor(const QString &fieldText)
{
    const QString text = fieldText.trimmed();
    const qsizetype comma = text.indexOf(QLatin1Char(','), 1);
    return comma > 0 ? text.left(comma).trimmed() : text;
}

void WeatherSettingsDialog::startSearch()
{
    const QString text = searchTextFor(m_search->text());
    if (text.isEmpty())
        return;
    m_searchButton->setEnabled(false);
    m_searchButton->setText(tr("Searching…"));
    m_geocoding->search(text, resultCount);
}

void WeatherSettingsDialog::keyPressEvent(QKeyEvent *event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && m_search->hasFocus()) {
        startSearch();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void WeatherSettingsDialog::resetSearchButton()
{
    m_searchButton->setText(tr("Search"));
    m_searchButton->setEnabled(true);
}

void WeatherSettingsDialog::showResultsList()
{
    m_results->show();
    // The list appears below the field: make room for it rather than squeeze the rows, as far
    // as the screen allows; beyond that the list scrolls. The dialog's layout keeps the body's
    // old size until it is told the body grew.
    m_body->updateGeometry();
    resize(size().expandedTo(sizeHint()));
    WindowFit::fit(this);
}

void WeatherSettingsDialog::showMessageRow(const QString &text)
{
    auto *item = new QListWidgetItem(text, m_results);
    item->setFlags(Qt::ItemIsEnabled);
}

void WeatherSettingsDialog::showResults(const QList<Weather::GeocodingResult> &matches)
{
    resetSearchButton();
    m_results->clear();
    showResultsList();
    if (matches.isEmpty()) {
        showMessageRow(tr("No matches found."));
        return;
    }
    for (const Weather::GeocodingResult &match : matches) {
        auto *item = new QListWidgetItem(match.displayName, m_results);
        item->setData(LatitudeRole, match.latitude);
        item->setData(LongitudeRole, match.longitude);
    }
    m_results->setCurrentRow(0);
}

void WeatherSettingsDialog::showSearchFailure(const QString &reason)
{
    resetSearchButton();
    m_results->clear();
    showMessageRow(tr("Search failed: %1").arg(reason));
    showResultsList();
}

void WeatherSettingsDialog::save()
{
    PreferencesRepository *prefs = m_state->preferences();
    const QString unit = m_unit->currentData().toString();
    const QListWidgetItem *current = m_results->isHidden() ? nullptr : m_results->currentItem();
    const bool place = current && (current->flags() & Qt::ItemIsSelectable);
    QStringList keys {Prefs::WeatherEnabled, Prefs::WeatherUnit};
    if (place)
        keys << Prefs::WeatherLocationLat << Prefs::WeatherLocationLng
             << Prefs::WeatherLocationName;
    // One place's latitude never goes with another's longitude: all of it is stored, or none.
    const auto write = [&] {
        return prefs->setBool(Prefs::WeatherEnabled, m_enabled->isChecked())
            && prefs->set(Prefs::WeatherUnit, unit)
            && (!place
                || (prefs->set(Prefs::WeatherLocationLat,
                               QString::number(current->data(LatitudeRole).toDouble(), 'g', 8))
                    && prefs->set(Prefs::WeatherLocationLng,
                                  QString::number(current->data(LongitudeRole).toDouble(), 'g', 8))
                    && prefs->set(Prefs::WeatherLocationName, current->text())));
    };
    switch (prefs->setTogether(QStringLiteral("weather_settings"), keys, write)) {
    case PreferencesRepository::Stored::All:
        break;
    case PreferencesRepository::Stored::NoneBusy:
        MessagePresenter::show(MessagePresenter::Kind::Warning, this, tr("Weather"),
                               tr("Another program is writing to the calendar, so the weather "
                                  "settings were not saved. Press Save again once it is done."));
        return;
    case PreferencesRepository::Stored::None:
        MessagePresenter::show(MessagePresenter::Kind::Warning, this, tr("Weather"),
                               tr("The weather settings could not be saved."));
        return;
    }
    if (Weather::Service *weather = m_state->weather())
        weather->invalidate();
    accept();
}
