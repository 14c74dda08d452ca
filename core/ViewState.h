#pragma once

// What the window shows and how: the active calendar group, the selected event, the date and
// view mode with their back and forward history, the timeline's hour height, the week view's
// number of days, how many events the filters hide, each view's density and the first day of
// the week. The choices that outlive a run are kept in the preferences.

#include <QDate>
#include <QList>
#include <QLocale>
#include <QObject>
#include <QString>

class PreferencesRepository;
class ViewRepository;

// One step of the view history.
struct NavEntry
{
    QString viewMode;
    QDate date;
    int weekHorizon = 7;
};

class ViewState : public QObject
{
    Q_OBJECT
public:
    explicit ViewState(QObject *parent = nullptr);

    // Where the choices are kept; until then nothing is stored, and density and the first day
    // of the week are their defaults.
    void setPreferences(PreferencesRepository *preferences);
    // Takes up the stored choices: the active group (the first active one when the stored one is
    // gone), the view mode, hour height and week horizon; the date is today.
    void restore(ViewRepository *views, const QDate &today);

    QString activeViewId() const { return m_activeViewId; }
    QString selectedEventId() const { return m_selectedEventId; }
    QDate currentDate() const { return m_currentDate; }
    QString viewMode() const { return m_viewMode; }
    int hourHeight() const { return m_hourHeight; }
    int weekHorizon() const { return m_weekHorizon; }
    int filterHiddenCount() const { return m_filterHiddenCount; }
    QList<NavEntry> backHistory() const { return m_backHistory; }
    QList<NavEntry> forwardHistory() const { return m_forwardHistory; }
    bool navigating() const { return m_navigating; }

    void setActiveViewId(const QString &id);
    void setSelectedEventId(const QString &id);
    void setCurrentDate(const QDate &date);
    void setViewMode(const QString &mode);
    void setViewModeAndDate(const QString &mode, const QDate &date);
    void setHourHeight(int pixels);
    void setWeekHorizon(int days);
    void setFilterHiddenCount(int count);
    void goBack();
    void goForward();

    QString density(const QString &mode) const;
    bool isCompact(const QString &mode) const;
    void setDensity(const QString &mode, const QString &density);

    Qt::DayOfWeek firstDayOfWeek() const;
    static Qt::DayOfWeek localeFirstDayOfWeek();
    // The rule above for a given locale; the system locale is only read by the overload.
    static Qt::DayOfWeek localeFirstDayOfWeek(const QLocale &locale);

signals:
    void activeViewChanged(const QString &viewId);
    void selectedEventChanged(const QString &eventId);
    void currentDateChanged(const QDate &date);
    void viewModeChanged(const QString &mode);
    void hourHeightChanged(int pixels);
    void weekHorizonChanged(int days);
    void filterHiddenCountChanged(int count);
    void densityChanged(const QString &mode, const QString &density);
    void firstDayOfWeekChanged(Qt::DayOfWeek day);

private:
    void recordHistoryStep();
    NavEntry currentEntry() const;
    void applyEntry(const NavEntry &entry);
    // Goes to the last entry of one history, leaving where it was on the other.
    void stepThrough(QList<NavEntry> &from, QList<NavEntry> &to);
    void onPreferenceChanged(const QString &key);

    PreferencesRepository *m_preferences = nullptr;
    QString m_activeViewId;
    QString m_selectedEventId;
    QDate m_currentDate;
    QString m_viewMode;
    int m_hourHeight = 56;
    int m_weekHorizon = 7;
    int m_filterHiddenCount = -1;
    QList<NavEntry> m_backHistory;
    QList<NavEntry> m_forwardHistory;
    bool m_navigating = false;
};
