#include "core/ViewState.h"

#include "storage/PreferenceKeys.h"
#include "storage/PreferencesRepository.h"
#include "storage/ViewRepository.h"

#include <QSet>

#include <algorithm>

namespace {

constexpr int minHourHeight = 56;
constexpr int maxHourHeight = 200;
constexpr int minWeekHorizon = 2;
constexpr int maxWeekHorizon = 21;

// Agenda and list are shown inside the week view's frame.
QString normalizedViewMode(const QString &mode)
{
    if (mode == QLatin1String("agenda") || mode == QLatin1String("list"))
        return QStringLiteral("week");
    return mode;
}

} // namespace

ViewState::ViewState(QObject *parent)
    : QObject(parent)
{ }

void ViewState::setPreferences(PreferencesRepository *preferences)
{
    m_preferences = preferences;
    connect(m_preferences, &PreferencesRepository::changed, this, &ViewState::onPreferenceChanged);
}

void ViewState::restore(ViewRepository *views, const QDate &today)
{
    // The fallback group is not written back: the stored choice may come back with a sync.
    const QString storedView
        = m_preferences->getString(Prefs::ActiveViewId, Prefs::ActiveViewIdDefault);
    if (views->byId(storedView)) {
        m_activeViewId = storedView;
    } else {
        const QList<CalendarView> active = views->listActive();
        m_activeViewId = active.isEmpty() ? QString() : active.first().id;
    }

    m_currentDate = today;

    m_viewMode
        = normalizedViewMode(m_preferences->getString(Prefs::ViewMode, Prefs::ViewModeDefault));
    m_hourHeight = std::clamp(
        m_preferences->getInt(Prefs::TimelineHourHeight, Prefs::TimelineHourHeightDefault),
        minHourHeight, maxHourHeight);
    m_weekHorizon = std::clamp(m_preferences->getInt(Prefs::WeekHorizon, Prefs::WeekHorizonDefault),
                               minWeekHorizon, maxWeekHorizon);
}

void ViewState::onPreferenceChanged(const QString &key)
{
    if (key != Prefs::WeekStartDay)
        return;
    const int day = m_preferences->getInt(Prefs::WeekStartDay, Prefs::WeekStartDayDefault);
    emit firstDayOfWeekChanged(day >= 1 && day <= 7 ? static_cast<Qt::DayOfWeek>(day)
                                                    : localeFirstDayOfWeek());
}

NavEntry ViewState::currentEntry() const
{
    return NavEntry {m_viewMode, m_currentDate, m_weekHorizon};
}

void ViewState::recordHistoryStep()
{
    if (m_navigating)
        return;
    m_backHistory.append(currentEntry());
    m_forwardHistory.clear();
}

void ViewState::setActiveViewId(const QString &id)
{
    if (id == m_activeViewId)
        return;
    m_activeViewId = id;
    m_preferences->set(Prefs::ActiveViewId, id);
    emit activeViewChanged(id);
}

void ViewState::setSelectedEventId(const QString &id)
{
    if (id == m_selectedEventId)
        return;
    m_selectedEventId = id;
    emit selectedEventChanged(id);
}

void ViewState::setCurrentDate(const QDate &date)
{
    if (!date.isValid() || date == m_currentDate)
        return;
    recordHistoryStep();
    m_currentDate = date;
    m_preferences->set(Prefs::ViewDate, date.toString(Qt::ISODate));
    emit currentDateChanged(date);
}

void ViewState::setViewMode(const QString &mode)
{
    const QString normalized = normalizedViewMode(mode);
    if (normalized == m_viewMode)
        return;
    recordHistoryStep();
    m_viewMode = normalized;
    m_preferences->set(Prefs::ViewMode, normalized);
    emit viewModeChanged(normalized);
}

void ViewState::setViewModeAndDate(const QString &mode, const QDate &date)
{
    const QString normalized = normalizedViewMode(mode);
    const bool modeChanges = normalized != m_viewMode;
    const bool dateChanges = date.isValid() && date != m_currentDate;
    if (!modeChanges && !dateChanges)
        return;
    recordHistoryStep();
    const bool wasNavigating = m_navigating;
    m_navigating = true;
    if (dateChanges)
        setCurrentDate(date);
    if (modeChanges)
        setViewMode(normalized);
    m_navigating = wasNavigating;
}

void ViewState::setHourHeight(int pixels)
{
    const int clamped = std::clamp(pixels, minHourHeight, maxHourHeight);
    if (clamped == m_hourHeight)
        return;
    m_hourHeight = clamped;
    m_preferences->setInt(Prefs::TimelineHourHeight, clamped);
    emit hourHeightChanged(clamped);
}

void ViewState::setWeekHorizon(int days)
{
    const int clamped = std::clamp(days, minWeekHorizon, maxWeekHorizon);
    if (clamped == m_weekHorizon)
        return;
    recordHistoryStep();
    m_weekHorizon = clamped;
    m_preferences->setInt(Prefs::WeekHorizon, clamped);
    emit weekHorizonChanged(clamped);
}

void ViewState::setFilterHiddenCount(int count)
{
    if (count == m_filterHiddenCount)
        return;
    m_filterHiddenCount = count;
    emit filterHiddenCountChanged(count);
}

void ViewState::applyEntry(const NavEntry &entry)
{
    m_navigating = true;
    if (entry.viewMode != m_viewMode)
        setViewMode(entry.viewMode);
    if (entry.date.isValid() && entry.date != m_currentDate)
        setCurrentDate(entry.date);
    if (entry.weekHorizon != m_weekHorizon)
        setWeekHorizon(entry.weekHorizon);
    m_navigating = false;
}

void ViewState::goBack()
{
    stepThrough(m_backHistory, m_forwardHistory);
}

void ViewState::goForward()
{
    stepThrough(m_forwardHistory, m_backHistory);
}

void ViewState::stepThrough(QList<NavEntry> &from, QList<NavEntry> &to)
{
    if (from.isEmpty())
        return;
    const NavEntry entry = from.takeLast();
    to.append(currentEntry());
    applyEntry(entry);
}

QString ViewState::density(const QString &mode) const
{
    if (!m_preferences)
        return Prefs::DensityDefault;
    return m_preferences->getString(Prefs::densityKey(mode), Prefs::DensityDefault);
}

bool ViewState::isCompact(const QString &mode) const
{
    return density(mode) == QLatin1String("compact");
}

void ViewState::setDensity(const QString &mode, const QString &value)
{
    const QString normalized = value == QLatin1String("compact") ? QStringLiteral("compact")
                                                                 : QStringLiteral("comfortable");
    if (!m_preferences || density(mode) == normalized)
        return;
    m_preferences->set(Prefs::densityKey(mode), normalized);
    emit densityChanged(mode, normalized);
}

Qt::DayOfWeek ViewState::firstDayOfWeek() const
{
    if (m_preferences) {
        const int day = m_preferences->getInt(Prefs::WeekStartDay, Prefs::WeekStartDayDefault);
        if (day >= 1 && day <= 7)
            return static_cast<Qt::DayOfWeek>(day);
    }
    return localeFirstDayOfWeek();
}

Qt::DayOfWeek ViewState::localeFirstDayOfWeek()
{
    return localeFirstDayOfWeek(QLocale::system());
}

Qt::DayOfWeek ViewState::localeFirstDayOfWeek(const QLocale &locale)
{
    static const QSet<QLocale::Territory> sundayFirst = {
        QLocale::UnitedStates,
        QLocale::Canada,
        QLocale::Japan,
        QLocale::Israel,
        QLocale::Philippines,
        QLocale::Thailand,
        QLocale::SouthKorea,
        QLocale::Taiwan,
        QLocale::SaudiArabia,
        QLocale::UnitedArabEmirates,
        QLocale::Bahrain,
        QLocale::Algeria,
        QLocale::Egypt,
        QLocale::Iraq,
        QLocale::Jordan,
        QLocale::Kuwait,
        QLocale::Libya,
        QLocale::Oman,
        QLocale::Qatar,
        QLocale::Syria,
        QLocale::Yemen,
        QLocale::Belize,
        QLocale::DominicanRepublic,
        QLocale::Guatemala,
        QLocale::Honduras,
        QLocale::Mexico,
        QLocale::Nicaragua,
        QLocale::Panama,
        QLocale::ElSalvador,
        QLocale::Colombia,
        QLocale::Venezuela,
        QLocale::Peru,
        QLocale::Brazil,
        QLocale::SouthAfrica,
        QLocale::Australia,
        QLocale::NewZealand,
        QLocale::India,
        QLocale::Bangladesh,
        QLocale::Pakistan,
        QLocale::HongKong,
        QLocale::Macao,
        QLocale::China,
    };
    return sundayFirst.contains(locale.territory()) ? Qt::Sunday : Qt::Monday;
}
