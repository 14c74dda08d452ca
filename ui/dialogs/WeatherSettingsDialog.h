#pragma once

// Weather on or off, the forecast place found by a city search, and the temperature unit.
// Saving writes the weather preferences and drops the cached forecast, so the views fetch the
// new place's days on their next reload.

#include "services/weather/GeocodingClient.h"

#include <QDialog>

class AppState;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class ScrollingBody;

class WeatherSettingsDialog : public QDialog
{
    Q_OBJECT
public:
    static constexpr int resultCount = 6;

    WeatherSettingsDialog(AppState *state, QWidget *parent);

    // What a field text searches for: trimmed, and cut at a comma after the first character
    // ("Paris, France" looks for Paris).
    static QString searchTextFor(const QString &fieldText);

    void startSearch();
    void showResults(const QList<Weather::GeocodingResult> &matches);
    void showSearchFailure(const QString &reason);
    void save();

    QLineEdit *searchEdit() const { return m_search; }
    QPushButton *searchButton() const { return m_searchButton; }
    QListWidget *resultsList() const { return m_results; }

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void resetSearchButton();
    void showMessageRow(const QString &text);
    void showResultsList();

    AppState *m_state;
    QCheckBox *m_enabled;
    QLineEdit *m_search;
    QPushButton *m_searchButton;
    QListWidget *m_results;
    QLabel *m_status;
    QComboBox *m_unit;
    ScrollingBody *m_body;
    Weather::GeocodingClient *m_geocoding;
};
