// A stand-alone window-free run of the tray: the real TrayManager, popover and reminder balloons
// on a throw-away database with a few events, for scripts/tray-look to photograph.
//
// Arguments: <data folder> <sync state: idle | busy | error>
// Prints "ICON x y w h" once the tray host has placed the icon.

#include "app/ServiceWiring.h"
#include "core/AppState.h"
#include "storage/CalendarRepository.h"
#include "storage/EventRepository.h"
#include "ui/theme/Theme.h"
#include "ui/theme/ThemeManager.h"
#include "ui/tray/NotificationService.h"
#include "ui/tray/TrayManager.h"

#include <QApplication>
#include <QDir>
#include <QFontDatabase>
#include <QSystemTrayIcon>
#include <QTimer>

#include <cstdio>

namespace {

Event makeEvent(const QString &id, const QString &calendarId, const QString &title,
                const QDateTime &start, int minutes, const QString &location = QString())
{
    Event e;
    e.id = id;
    e.uid = id;
    e.calendar_id = calendarId;
    e.title = title;
    e.location = location;
    e.start_time = start.toUTC();
    e.end_time = start.addSecs(qint64(minutes) * 60).toUTC();
    e.raw_icalendar = QStringLiteral("BEGIN:VCALENDAR");
    e.created = QDateTime::currentDateTimeUtc();
    e.last_modified = e.created;
    return e;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    if (argc < 3) {
        std::fprintf(stderr, "usage: tray-look <data folder> <idle|busy|error>\n");
        return 2;
    }
    QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/IBMPlexSans.ttf"));
    app.setFont(QFont(Theme::uiFontFamily(), Theme::fontBody));

    registerAppServices();
    AppState state;
    if (!state.initialize(
            QDir(QString::fromLocal8Bit(argv[1])).filePath(QStringLiteral("calendar.db")))) {
        std::fprintf(stderr, "tray-look: cannot open the database\n");
        return 1;
    }
    state.themeManager()->applyTheme(QStringLiteral("light"));

    const QString calendarId = state.calendars()->listAll().value(0).id;
    const QDateTime now = QDateTime::currentDateTime();
    const QDateTime soon = now.addSecs(25 * 60);
    const QDate tomorrow = now.date().addDays(1);
    EventRepository *events = state.events();
    Event standup
        = makeEvent(QStringLiteral("standup"), calendarId, QStringLiteral("Design review"), soon,
                    45, QStringLiteral("Room 4 \u00B7 Level 2"));
    // A reminder that is due now, so the first poll raises a balloon.
    Reminder due;
    due.minutes_before = 30;
    due.trigger_time = now.addSecs(-5 * 60).toUTC();
    standup.reminders << due;
    (void)events->insert(standup);
    (void)events->insert(makeEvent(QStringLiteral("gym"), calendarId, QStringLiteral("Gym"),
                                   now.addSecs(3 * 3600), 60));
    Event holiday = makeEvent(QStringLiteral("holiday"), calendarId, QStringLiteral("Team offsite"),
                              QDateTime(tomorrow, QTime(0, 0)), 24 * 60);
    holiday.is_all_day = true;
    holiday.start_time = QDateTime(tomorrow, QTime(0, 0));
    holiday.end_time = holiday.start_time.addDays(1);
    (void)events->insert(holiday);
    Event dentist = makeEvent(QStringLiteral("dentist"), calendarId, QStringLiteral("Dentist"),
                              QDateTime(tomorrow, QTime(9, 30)), 30);
    dentist.color = QStringLiteral("#E53935");
    (void)events->insert(dentist);

    const QByteArray mode(argv[2]);
    if (mode == "busy" || mode == "error")
        state.beginSync();
    if (mode == "error") {
        state.setLastSyncError(calendarId, QStringLiteral("server said 503"));
        state.endSync(true);
        state.beginSync();
    }

    TrayManager tray(&state, nullptr);
    tray.setup();
    if (!tray.trayIcon()) {
        std::fprintf(stderr, "tray-look: no system tray\n");
        return 3;
    }
    NotificationService notifications(&state, tray.trayIcon());

    QTimer::singleShot(1000, &app, [&tray] {
        const QRect g = tray.trayIcon()->geometry();
        std::printf("ICON %d %d %d %d\n", g.x(), g.y(), g.width(), g.height());
        std::printf("TOOLTIP %s\n", qPrintable(tray.trayIcon()->toolTip()));
        std::fflush(stdout);
    });
    return app.exec();
}
