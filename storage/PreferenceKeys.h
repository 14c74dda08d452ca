#pragma once

// Every key of the settings table with the default its readers assume when it is absent.
// Keys without a default mean "not set": the reader keeps its own state.

#include <QString>

namespace Prefs {

// Application state
inline const QString ActiveViewId = QStringLiteral("ui/activeViewId");
inline const QString ActiveViewIdDefault = QStringLiteral("all-calendars");
inline const QString ViewDate = QStringLiteral("ui/viewDate");
inline const QString ViewMode = QStringLiteral("ui/viewMode");
inline const QString ViewModeDefault = QStringLiteral("week");
inline const QString TimelineHourHeight = QStringLiteral("ui/timelineHourHeight");
constexpr int TimelineHourHeightDefault = 56;
inline const QString WeekHorizon = QStringLiteral("ui/weekHorizon");
constexpr int WeekHorizonDefault = 7;
// 1 to 7 with Monday = 1; anything else means the locale's first day.
inline const QString WeekStartDay = QStringLiteral("ui/weekStartDay");
constexpr int WeekStartDayDefault = 0;
inline const QString WeekStartDayCustomized = QStringLiteral("ui/weekStartDay/customized");
constexpr bool WeekStartDayCustomizedDefault = false;
// When the first day of the week was last chosen, in milliseconds since the epoch (UTC); absent
// when it never was on this device.
inline const QString WeekStartDayChangedAt = QStringLiteral("ui/weekStartDay/changedAt");
inline QString densityKey(const QString &viewMode)
{
    return QStringLiteral("ui/density/") + viewMode;
}
inline const QString DensityDefault = QStringLiteral("comfortable");

// Theme
inline const QString Theme = QStringLiteral("ui/theme");
inline const QString ThemeDefault = QStringLiteral("system");
inline const QString AccentColor = QStringLiteral("ui/accentColor");
inline const QString FontScale = QStringLiteral("ui/fontScale");
inline const QString FontScaleDefault = QStringLiteral("100");
inline const QString TimeFormat = QStringLiteral("ui/timeFormat");
inline const QString TimeFormatDefault = QStringLiteral("12");

// Main window and panes
inline const QString StartMinimized = QStringLiteral("ui/startMinimized");
constexpr bool StartMinimizedDefault = false;
inline const QString CloseToTray = QStringLiteral("ui/closeToTray");
constexpr bool CloseToTrayDefault = true;
inline const QString CloseToTrayBalloonShown = QStringLiteral("ui/closeToTrayBalloonShown");
constexpr bool CloseToTrayBalloonShownDefault = false;
inline const QString FirstLaunchSeen = QStringLiteral("ui/firstLaunchSeen");
constexpr bool FirstLaunchSeenDefault = false;
inline const QString TasksPaneVisible = QStringLiteral("ui/tasksPaneVisible");
constexpr bool TasksPaneVisibleDefault = true;
inline const QString RemindersPaneVisible = QStringLiteral("ui/remindersPaneVisible");
constexpr bool RemindersPaneVisibleDefault = true;
inline const QString DefaultCalendarId = QStringLiteral("ui/defaultCalendarId");
inline const QString WindowGeometry = QStringLiteral("ui/window/geometry");
inline const QString WindowState = QStringLiteral("ui/window/state");
inline const QString WindowSplitter = QStringLiteral("ui/window/splitter");
inline const QString DetachedAgendaWindowGeometry
    = QStringLiteral("ui/detachedAgendaWindow/geometry");
inline const QString DetachedTasksWindowGeometry
    = QStringLiteral("ui/detachedTasksWindow/geometry");
inline const QString DetachedRemindersWindowGeometry
    = QStringLiteral("ui/detachedRemindersWindow/geometry");
inline const QString DetachedAgendaMode = QStringLiteral("ui/detachedAgendaMode");
inline const QString SidebarAgendaMode = QStringLiteral("ui/sidebarAgendaMode");
inline const QString TasksFilter = QStringLiteral("ui/tasksFilter");
inline const QString TasksFilterDefault = QStringLiteral("all");
inline const QString TasksHideCompleted = QStringLiteral("ui/tasksHideCompleted");
constexpr bool TasksHideCompletedDefault = false;
inline const QString TasksGroupByCalendar = QStringLiteral("ui/tasksGroupByCalendar");
constexpr bool TasksGroupByCalendarDefault = true;
inline const QString TasksShowNotes = QStringLiteral("ui/tasksShowNotes");
constexpr bool TasksShowNotesDefault = false;
inline const QString TasksShowCategories = QStringLiteral("ui/tasksShowCategories");
constexpr bool TasksShowCategoriesDefault = false;
// "event" or "start"; absent means ask.
inline const QString TaskDropAction = QStringLiteral("ui/taskDropAction");
inline const QString WorkdayStart = QStringLiteral("ui/workdayStart");
constexpr int WorkdayStartDefault = 8;
inline const QString WorkdayEnd = QStringLiteral("ui/workdayEnd");
constexpr int WorkdayEndDefault = 18;
inline const QString ShowWeekNumbers = QStringLiteral("ui/showWeekNumbers");
constexpr bool ShowWeekNumbersDefault = false;

// Weather
inline const QString WeatherEnabled = QStringLiteral("weather/enabled");
constexpr bool WeatherEnabledDefault = false;
inline const QString WeatherLocationLat = QStringLiteral("weather/location_lat");
inline const QString WeatherLocationLng = QStringLiteral("weather/location_lng");
inline const QString WeatherLocationName = QStringLiteral("weather/location_name");
inline const QString WeatherUnit = QStringLiteral("weather/unit");
inline const QString WeatherUnitDefault = QStringLiteral("F");

// Sync
inline const QString AccountsDedupedV1 = QStringLiteral("sync/accountsDedupedV1");
constexpr bool AccountsDedupedV1Default = false;
inline const QString ConfigSyncSince = QStringLiteral("config/sync/since");
inline const QString ConfigSyncAccounts = QStringLiteral("config/sync/accounts");
inline const QString ConfigSyncFilters = QStringLiteral("config/sync/filters");
inline const QString ConfigSyncViews = QStringLiteral("config/sync/views");
inline const QString ConfigSyncTemplates = QStringLiteral("config/sync/templates");
inline const QString ConfigSyncSettings = QStringLiteral("config/sync/settings");
constexpr bool ConfigSyncDefault = true;

} // namespace Prefs
