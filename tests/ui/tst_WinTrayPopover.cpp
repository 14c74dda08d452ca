#include "app/Application.h"
#include "core/AppState.h"
#include "model/Clock.h"
#include "model/NLParser.h"
#include "storage/CalendarRepository.h"
#include "storage/EventRepository.h"
#include "storage/PreferencesRepository.h"
#include "storage/ViewRepository.h"
#include "support/TestSupport.h"
#include "ui/dialogs/EventDetailsPopover.h"
#include "ui/tray/WinTrayPopover.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolButton>
#include <QWindow>
#include <QtTest>

#include <memory>

namespace {

const QDateTime kNow(QDate(2024, 1, 10), QTime(10, 7), Qt::UTC); // a Wednesday
const QString k12h = QStringLiteral("h:mm AP");

QDateTime at(int day, int h, int mi = 0)
{
    return QDateTime(QDate(2024, 1, day), QTime(h, mi), Qt::UTC);
}

Event makeEvent(const QString &id, const QString &calendarId, const QString &title,
                const QDateTime &start, int minutes = 60)
{
    Event e;
    e.id = id;
    e.uid = id;
    e.calendar_id = calendarId;
    e.title = title;
    e.start_time = start;
    e.end_time = start.addSecs(minutes * 60);
    e.raw_icalendar = QStringLiteral("BEGIN:VCALENDAR");
    e.created = kNow;
    e.last_modified = kNow;
    return e;
}

// A popover on a started application state whose clock stands at kNow.
struct Fixture
{
    QTemporaryDir dir;
    LarkTest::TestClock clock {kNow};
    Clock::Override pinned {[this] {
        return clock.now();
    }};
    AppState state;
    std::unique_ptr<WinTrayPopover> popover;
    QString calendarId;

    Fixture()
    {
        if (!state.initialize(dir.filePath(QStringLiteral("calendar.db"))))
            return;
        const QList<Calendar> calendars = state.calendars()->listAll();
        if (!calendars.isEmpty())
            calendarId = calendars.first().id;
        popover = std::make_unique<WinTrayPopover>(&state);
    }

    bool ready() const { return popover && !calendarId.isEmpty(); }

    template<typename T> T *child(const char *name) const
    {
        return popover->findChild<T *>(QString::fromLatin1(name));
    }
    QListWidget *list() const { return child<QListWidget>("popoverList"); }
    QLineEdit *quickAdd() const { return child<QLineEdit>("popoverQuickAdd"); }
    QLabel *hint() const { return child<QLabel>("popoverHint"); }
    QString label(const char *name) const { return child<QLabel>(name)->text(); }

    QStringList rows() const
    {
        QStringList out;
        for (int i = 0; i < list()->count(); ++i)
            out << list()->item(i)->text();
        return out;
    }
};

} // namespace

class TestWinTrayPopover : public QObject
{
    Q_OBJECT

private slots:
    void relativeTime_data();
    void relativeTime();
    void position_data();
    void position();
    void nextTime_data();
    void nextTime();
    void preview_data();
    void preview();
    void textsInTheInterfaceLanguage_data();
    void textsInTheInterfaceLanguage();
    void eventColor_data();
    void eventColor();

    void withoutCalendarsOnlyThePlaceholderShows();
    void withoutEventsBothGroupsSayEmpty();
    void nextEventLeadsTodayAndTomorrowFollows();
    void clickingAnEventAsksToFocusIt();
    void listFollowsEventChanges();
    void groupSelection();
    void previewFollowsTheLine();
    void failedQuickAddKeepsTheText();
    void quickAddStoresAndCloses();
    void buttonsEmitAndClose();
    void showAtKeepsInsideTheScreenAndRunsTheClock();
};

void TestWinTrayPopover::relativeTime_data()
{
    QTest::addColumn<qint64>("secs");
    QTest::addColumn<QString>("expected");
    QTest::newRow("passed") << qint64(-300) << QStringLiteral("now");
    QTest::newRow("exactly now") << qint64(0) << QStringLiteral("now");
    QTest::newRow("30 seconds") << qint64(30) << QStringLiteral("in 1 min");
    QTest::newRow("59 minutes 59 seconds") << qint64(3599) << QStringLiteral("in 59 min");
    QTest::newRow("one hour") << qint64(3600) << QStringLiteral("in 1h");
    QTest::newRow("90 minutes") << qint64(5400) << QStringLiteral("in 1h 30m");
    QTest::newRow("two hours") << qint64(7200) << QStringLiteral("in 2h");
    QTest::newRow("two hours and 59 seconds") << qint64(7259) << QStringLiteral("in 2h");
}

void TestWinTrayPopover::relativeTime()
{
    QFETCH(qint64, secs);
    QFETCH(QString, expected);
    QCOMPARE(TrayPopoverText::relativeTime(secs), expected);
}

void TestWinTrayPopover::position_data()
{
    QTest::addColumn<QPoint>("anchor");
    QTest::addColumn<QRect>("area");
    QTest::addColumn<QPoint>("expected");
    const QRect screen(0, 0, 1920, 1040); // taskbar below 1040
    QTest::newRow("tray at the bottom, room to spare")
        << QPoint(1000, 1060) << screen << QPoint(830, 1039 - 8 - 400);
    QTest::newRow("8 pixels above the icon") << QPoint(1000, 1000) << screen << QPoint(830, 592);
    QTest::newRow("centre of the screen") << QPoint(960, 700) << screen << QPoint(790, 292);
    QTest::newRow("right edge") << QPoint(1900, 1060) << screen << QPoint(1919 - 8 - 340, 631);
    QTest::newRow("left edge") << QPoint(20, 1060) << screen << QPoint(8, 631);
    QTest::newRow("tray at the top") << QPoint(1900, 10) << screen << QPoint(1571, 8);
    QTest::newRow("second screen to the left")
        << QPoint(-30, 700) << QRect(-1280, 0, 1280, 1024) << QPoint(-1 - 8 - 340, 292);
    QTest::newRow("no screen area") << QPoint(10, 10) << QRect() << QPoint(-160, -398);
}

void TestWinTrayPopover::position()
{
    QFETCH(QPoint, anchor);
    QFETCH(QRect, area);
    QFETCH(QPoint, expected);
    QCOMPARE(TrayPopoverText::position(anchor, QSize(340, 400), area), expected);
}

void TestWinTrayPopover::nextTime_data()
{
    QTest::addColumn<bool>("allDay");
    QTest::addColumn<QDateTime>("start");
    QTest::addColumn<QString>("expected");
    QTest::newRow("today, 90 minutes ahead")
        << false << at(10, 11, 37) << QStringLiteral("Today at 11:37 AM \u00B7 in 1h 30m");
    QTest::newRow("today, running")
        << false << at(10, 9, 30) << QStringLiteral("Today at 9:30 AM \u00B7 now");
    QTest::newRow("tomorrow") << false << at(11, 8) << QStringLiteral("Tomorrow at 8:00 AM");
    QTest::newRow("all day today") << true << at(10, 0) << QStringLiteral("Today, all day");
    QTest::newRow("all day tomorrow") << true << at(11, 0) << QStringLiteral("Tomorrow, all day");
}

void TestWinTrayPopover::nextTime()
{
    QFETCH(bool, allDay);
    QFETCH(QDateTime, start);
    QFETCH(QString, expected);
    Event e = makeEvent(QStringLiteral("e"), QString(), QStringLiteral("E"), start);
    e.is_all_day = allDay;
    QCOMPARE(TrayPopoverText::nextTime(e, kNow, k12h), expected);
}

void TestWinTrayPopover::preview_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("expected");
    QTest::newRow("timed with end")
        << QStringLiteral("lunch tomorrow 1pm") << k12h
        << QStringLiteral("Thu, Jan 11  1:00 PM \u2013 2:00 PM  \u00B7  lunch");
    QTest::newRow("24-hour") << QStringLiteral("lunch tomorrow 1pm") << QStringLiteral("HH:mm")
                             << QStringLiteral("Thu, Jan 11  13:00 \u2013 14:00  \u00B7  lunch");
    QTest::newRow("all day") << QStringLiteral("holiday friday") << k12h
                             << QStringLiteral("Fri, Jan 12  \u2012  All-day  \u00B7  holiday");
    QTest::newRow("nothing dated") << QStringLiteral("Mittagessen morgen 13 Uhr") << k12h
                                   << QStringLiteral("Task without a date  \u00B7  Mittagessen "
                                                     "morgen 13 Uhr");
}

void TestWinTrayPopover::preview()
{
    QFETCH(QString, line);
    QFETCH(QString, format);
    QFETCH(QString, expected);
    QCOMPARE(TrayPopoverText::preview(NLParser::parse(line, kNow), format), expected);
}

void TestWinTrayPopover::textsInTheInterfaceLanguage_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("header");
    QTest::addColumn<QString>("preview");
    QTest::addColumn<QString>("details");
    QTest::addColumn<QString>("count");

    QTest::newRow("English") << "en" << k12h << "Wednesday, Jan 10  \u00B7  10:07 AM"
                             << "Thu, Jan 11  1:00 PM \u2013 2:00 PM  \u00B7  lunch"
                             << "Thu 11 Jan 2024, 1:00\u00A0PM \u2013 2:00\u00A0PM"
                             << "Imported 50,000 events from a.ics.";
    QTest::newRow("German") << "de" << k12h << "Mittwoch, 10. Jan.  \u00B7  10:07 AM"
                            << "Do., 11. Jan.  1:00 PM \u2013 2:00 PM  \u00B7  lunch"
                            << "Do., 11. Jan. 2024, 1:00\u00A0PM \u2013 2:00\u00A0PM"
                            << "50.000 Termine aus a.ics importiert.";
    QTest::newRow("Japanese, 12-hour")
        << "ja" << k12h << "1\u670810\u65E5 \u6C34\u66DC\u65E5  \u00B7  \u5348\u524D10:07"
        << "1\u670811\u65E5(\u6728)  \u5348\u5F8C1:00 \u2013 \u5348\u5F8C2:00  \u00B7  lunch"
        << "2024\u5E741\u670811\u65E5(\u6728) \u5348\u5F8C1:00 \u2013 \u5348\u5F8C2:00"
        << "a.ics \u304B\u3089 50,000 "
           "\u4EF6\u306E\u30A4\u30D9\u30F3\u30C8\u3092\u30A4\u30F3\u30DD\u30FC\u30C8\u3057\u307E"
           "\u3057\u305F\u3002";
    QTest::newRow("Japanese, 24-hour")
        << "ja"
        << "HH:mm"
        << "1\u670810\u65E5 \u6C34\u66DC\u65E5  \u00B7  10:07"
        << "1\u670811\u65E5(\u6728)  13:00 \u2013 14:00  \u00B7  lunch"
        << "2024\u5E741\u670811\u65E5(\u6728) 13:00 \u2013 14:00"
        << "a.ics \u304B\u3089 50,000 "
           "\u4EF6\u306E\u30A4\u30D9\u30F3\u30C8\u3092\u30A4\u30F3\u30DD\u30FC\u30C8\u3057\u307E"
           "\u3057\u305F\u3002";
}

// Day and month names and their order follow the interface language, like every other text, and
// so do the digit groups of large counts.
void TestWinTrayPopover::textsInTheInterfaceLanguage()
{
    QFETCH(QString, language);
    QFETCH(QString, format);
    QFETCH(QString, header);
    QFETCH(QString, preview);
    QFETCH(QString, details);
    QFETCH(QString, count);

    QObject owner;
    const Application::Translators translators = Application::installLanguage(language, &owner);
    // The 12-hour pattern is the language's own (AM and PM first in Japanese).
    const QString timeFormat = format == k12h
        ? QCoreApplication::translate("TimeFormat", "h:mm AP", "12-hour time pattern")
        : format;
    const NLParser::ParseResult parsed
        = NLParser::parse(QStringLiteral("lunch tomorrow 1pm"), kNow);
    Event event = makeEvent(QStringLiteral("e"), QString(), QStringLiteral("Lunch"), at(11, 13));
    const QStringList actual {
        TrayPopoverText::header(kNow, timeFormat), TrayPopoverText::preview(parsed, timeFormat),
        eventWhenText(event, timeFormat),
        QCoreApplication::translate("IcsImport", "Imported %Ln event(s) from %1.", nullptr, 50000)
            .arg(QStringLiteral("a.ics"))};
    for (QTranslator *translator : {translators.qt, translators.app}) {
        if (translator)
            QCoreApplication::removeTranslator(translator);
    }
    QLocale::setDefault(QLocale::c());
    QCOMPARE(actual, (QStringList {header, preview, details, count}));
}

void TestWinTrayPopover::eventColor_data()
{
    QTest::addColumn<QString>("event");
    QTest::addColumn<QString>("calendar");
    QTest::addColumn<QColor>("expected");
    QTest::newRow("own colour wins")
        << QStringLiteral("#ff0000") << QStringLiteral("#00ff00") << QColor(255, 0, 0);
    QTest::newRow("calendar colour") << QString() << QStringLiteral("#00ff00") << QColor(0, 255, 0);
    QTest::newRow("unparsable") << QStringLiteral("reddish") << QStringLiteral("#00ff00")
                                << QColor(0x42, 0x85, 0xF4);
    QTest::newRow("none") << QString() << QString() << QColor(0x42, 0x85, 0xF4);
}

void TestWinTrayPopover::eventColor()
{
    QFETCH(QString, event);
    QFETCH(QString, calendar);
    QFETCH(QColor, expected);
    QCOMPARE(TrayPopoverText::eventColor(event, calendar), expected);
}

void TestWinTrayPopover::withoutCalendarsOnlyThePlaceholderShows()
{
    Fixture f;
    QVERIFY(f.ready());
    QVERIFY(f.state.calendars()->remove(f.calendarId));
    f.popover->refresh();
    QVERIFY(f.child<QFrame>("nextEventCard")->isHidden());
    QCOMPARE(f.rows(), LarkTest::strings({"No calendars yet"}));
    QCOMPARE(f.list()->item(0)->flags(), Qt::NoItemFlags);
    QVERIFY(!f.popover->nextEvent());

    // Enter opens the main window instead of storing anything.
    QSignalSpy open(f.popover.get(), &WinTrayPopover::openMainWindow);
    f.popover->showAt(QPoint(400, 590));
    QVERIFY(f.popover->isVisible());
    f.quickAdd()->setText(QStringLiteral("lunch tomorrow 1pm"));
    QTest::keyClick(f.quickAdd(), Qt::Key_Return);
    QCOMPARE(open.count(), 1);
    QVERIFY(!f.popover->isVisible());
}

void TestWinTrayPopover::withoutEventsBothGroupsSayEmpty()
{
    Fixture f;
    QVERIFY(f.ready());
    f.popover->refresh();
    QVERIFY(!f.child<QFrame>("nextEventCard")->isHidden());
    QCOMPARE(f.label("nextEventTitle"), QStringLiteral("No upcoming events"));
    QCOMPARE(f.label("nextEventTime"), QStringLiteral("Nothing scheduled in the next 24 hours."));
    QVERIFY(f.child<QLabel>("nextEventLocation")->isHidden());
    QCOMPARE(
        f.rows(),
        LarkTest::strings({"Today", "  No more events today", "Tomorrow", "  Nothing scheduled"}));
    QVERIFY(f.list()->item(0)->data(WinTrayPopover::HeaderRole).toBool());
    QVERIFY(!f.list()->item(1)->data(WinTrayPopover::HeaderRole).toBool());
    QCOMPARE(f.list()->item(3)->flags(), Qt::NoItemFlags);
    QCOMPARE(f.label("popoverHeader"), QStringLiteral("Wednesday, Jan 10  \u00B7  10:07 AM"));
}

void TestWinTrayPopover::nextEventLeadsTodayAndTomorrowFollows()
{
    Fixture f;
    QVERIFY(f.ready());
    Event standup = makeEvent(QStringLiteral("standup"), f.calendarId, QStringLiteral("Standup"),
                              at(10, 11, 37), 15);
    standup.location = QStringLiteral("Room 4");
    Event holiday = makeEvent(QStringLiteral("holiday"), f.calendarId, QStringLiteral("Holiday"),
                              at(11, 0), 24 * 60);
    holiday.is_all_day = true;
    const Event over
        = makeEvent(QStringLiteral("over"), f.calendarId, QStringLiteral("Over"), at(10, 8), 30);
    const Event review
        = makeEvent(QStringLiteral("review"), f.calendarId, QStringLiteral("Review"), at(10, 15));
    const Event early
        = makeEvent(QStringLiteral("early"), f.calendarId, QStringLiteral(""), at(11, 8, 30));
    const Event later
        = makeEvent(QStringLiteral("later"), f.calendarId, QStringLiteral("Later"), at(12, 9));
    for (const Event &e : {standup, holiday, over, review, early, later})
        QVERIFY(f.state.events()->insert(e));

    f.popover->refresh();
    QVERIFY(f.popover->nextEvent());
    QCOMPARE(f.popover->nextEvent()->id, QStringLiteral("standup"));
    QCOMPARE(f.label("nextEventTitle"), QStringLiteral("Standup"));
    QCOMPARE(f.label("nextEventTime"), QStringLiteral("Today at 11:37 AM \u00B7 in 1h 30m"));
    QCOMPARE(f.label("nextEventLocation"), QStringLiteral("Room 4"));
    QVERIFY(!f.child<QLabel>("nextEventLocation")->isHidden());
    QCOMPARE(f.rows(),
             LarkTest::strings({"Today", "11:37 AM  Standup", "3:00 PM  Review", "Tomorrow",
                                "All-day  Holiday", "8:30 AM  "}));
    const QListWidgetItem *first = f.list()->item(1);
    QCOMPARE(first->data(WinTrayPopover::EventIdRole).toString(), QStringLiteral("standup"));
    QCOMPARE(first->data(WinTrayPopover::DateRole).toDate(), QDate(2024, 1, 10));
    QCOMPARE(first->flags(), Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    QCOMPARE(f.list()->item(4)->data(WinTrayPopover::DateRole).toDate(), QDate(2024, 1, 11));

    // The card's dot is drawn in the calendar's colour.
    const QImage dot = f.child<QLabel>("nextEventDot")->pixmap().toImage();
    QCOMPARE(dot.size(), QSize(14, 14));
    const Calendar calendar = *f.state.calendars()->byId(f.calendarId);
    QCOMPARE(dot.pixelColor(7, 7), QColor(calendar.color));
    QCOMPARE(dot.pixelColor(0, 0).alpha(), 0);

    // The clock moves on: the relative time follows at the next header update.
    f.clock.set(at(10, 11, 7));
    f.popover->updateHeader();
    QCOMPARE(f.label("nextEventTime"), QStringLiteral("Today at 11:37 AM \u00B7 in 30 min"));
    QCOMPARE(f.label("popoverHeader"), QStringLiteral("Wednesday, Jan 10  \u00B7  11:07 AM"));

    // A title of any length ends in "…" within three lines, leaving the room to the list.
    standup.title = QStringLiteral("Quarterly planning ").repeated(87);
    QVERIFY(f.state.events()->update(standup));
    f.popover->showAt(QPoint(400, 590));
    const QLabel *title = f.child<QLabel>("nextEventTitle");
    QCOMPARE_LE(title->height(), 3 * title->fontMetrics().lineSpacing());
    QVERIFY(title->text().endsWith(u'\u2026'));
}

void TestWinTrayPopover::clickingAnEventAsksToFocusIt()
{
    Fixture f;
    QVERIFY(f.ready());
    QVERIFY(f.state.events()->insert(
        makeEvent(QStringLiteral("dentist"), f.calendarId, QStringLiteral("Dentist"), at(11, 9))));
    f.popover->showAt(QPoint(400, 590));
    QSignalSpy focus(f.popover.get(), &WinTrayPopover::requestFocusOnEvent);
    QCOMPARE(
        f.rows(),
        LarkTest::strings({"Today", "  No more events today", "Tomorrow", "9:00 AM  Dentist"}));

    // Headers and placeholders do nothing.
    emit f.list()->itemClicked(f.list()->item(0));
    emit f.list()->itemClicked(f.list()->item(1));
    QCOMPARE(focus.count(), 0);
    QVERIFY(f.popover->isVisible());

    emit f.list()->itemClicked(f.list()->item(3));
    QCOMPARE(focus.count(), 1);
    QCOMPARE(focus[0][0].toString(), QStringLiteral("dentist"));
    QCOMPARE(focus[0][1].toDate(), QDate(2024, 1, 11));
    QVERIFY(!f.popover->isVisible());
}

void TestWinTrayPopover::listFollowsEventChanges()
{
    Fixture f;
    QVERIFY(f.ready());
    f.popover->refresh();
    QCOMPARE(f.list()->count(), 4);
    QVERIFY(f.state.events()->insert(
        makeEvent(QStringLiteral("call"), f.calendarId, QStringLiteral("Call"), at(10, 13))));
    // The store announces changes after a short quiet period; the popover follows even hidden.
    QTRY_COMPARE(f.rows().value(1), QStringLiteral("1:00 PM  Call"));
    QCOMPARE(f.label("nextEventTitle"), QStringLiteral("Call"));
}

void TestWinTrayPopover::groupSelection()
{
    Fixture f;
    QVERIFY(f.ready());
    CalendarView work;
    work.id = QStringLiteral("work-group");
    work.name = QStringLiteral("Work");
    work.sort_order = 50;
    work.created_at = kNow;
    work.updated_at = kNow;
    CalendarView unnamed;
    unnamed.id = QStringLiteral("unnamed-group");
    unnamed.name = QStringLiteral("");
    unnamed.sort_order = 60;
    unnamed.created_at = kNow;
    unnamed.updated_at = kNow;
    QVERIFY(f.state.views()->insert(work));
    QVERIFY(f.state.views()->insert(unnamed));

    auto *groups = f.child<QComboBox>("popoverGroups");
    QStringList names;
    for (int i = 0; i < groups->count(); ++i)
        names << groups->itemText(i);
    QVERIFY2(names.contains(QStringLiteral("Work")), qPrintable(names.join(u',')));
    QVERIFY(names.contains(QStringLiteral("(Unnamed)")));
    const QString active = f.state.activeViewId();
    QCOMPARE(groups->currentData().toString(), active);

    QSignalSpy changed(&f.state, &AppState::activeViewChanged);
    // The group already active changes nothing.
    emit groups->activated(groups->currentIndex());
    QCOMPARE(changed.count(), 0);

    const int workIndex = groups->findData(work.id);
    QVERIFY(workIndex >= 0);
    emit groups->activated(workIndex);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(f.state.activeViewId(), work.id);
    // The rebuild that follows selects the new group without re-entering the selection.
    QCOMPARE(groups->currentData().toString(), work.id);
    QCOMPARE(changed.count(), 1);
}

void TestWinTrayPopover::previewFollowsTheLine()
{
    Fixture f;
    QVERIFY(f.ready());
    f.quickAdd()->setText(QStringLiteral("lunch tomorrow 1pm"));
    QCOMPARE(f.hint()->text(),
             QStringLiteral("Thu, Jan 11  1:00 PM \u2013 2:00 PM  \u00B7  lunch"));
    QVERIFY(f.state.preferences()->set(QStringLiteral("ui/timeFormat"), QStringLiteral("24")));
    f.quickAdd()->setText(QStringLiteral("lunch tomorrow 1pm "));
    QCOMPARE(f.hint()->text(), QStringLiteral("Thu, Jan 11  13:00 \u2013 14:00  \u00B7  lunch"));
    f.quickAdd()->setText(QStringLiteral("   "));
    QCOMPARE(f.hint()->text(), QString());
}

void TestWinTrayPopover::failedQuickAddKeepsTheText()
{
    Fixture f;
    QVERIFY(f.ready());
    f.popover->showAt(QPoint(400, 590));
    QSignalSpy changed(f.state.events(), &EventRepository::eventsChanged);
    f.quickAdd()->setText(QStringLiteral("dentist feb 30 3pm"));
    QTest::keyClick(f.quickAdd(), Qt::Key_Return);
    QCOMPARE(f.hint()->text(), QStringLiteral("Couldn't save event"));
    QCOMPARE(f.quickAdd()->text(), QStringLiteral("dentist feb 30 3pm"));
    QVERIFY(f.popover->isVisible());
    QTest::qWait(200);
    QCOMPARE(changed.count(), 0);

    // A blank line does nothing at all.
    f.quickAdd()->setText(QStringLiteral("  "));
    QTest::keyClick(f.quickAdd(), Qt::Key_Return);
    QVERIFY(f.popover->isVisible());

    // Showing again starts from an empty line.
    f.popover->hide();
    f.popover->showAt(QPoint(400, 590));
    QCOMPARE(f.quickAdd()->text(), QString());
    QCOMPARE(f.hint()->text(), QString());
}

void TestWinTrayPopover::quickAddStoresAndCloses()
{
    Fixture f;
    QVERIFY(f.ready());
    f.popover->showAt(QPoint(400, 590));
    f.quickAdd()->setText(QStringLiteral("lunch tomorrow 1pm"));
    QTest::keyClick(f.quickAdd(), Qt::Key_Return);
    QVERIFY(!f.popover->isVisible());
    const QList<Event> events = f.state.events()->listByCalendar(f.calendarId);
    QCOMPARE(events.size(), 1);
    QCOMPARE(events[0].title, QStringLiteral("lunch"));
    QTRY_COMPARE(f.rows().value(3), QStringLiteral("1:00 PM  lunch"));
}

void TestWinTrayPopover::buttonsEmitAndClose()
{
    Fixture f;
    QVERIFY(f.ready());
    QSignalSpy open(f.popover.get(), &WinTrayPopover::openMainWindow);
    QSignalSpy sync(f.popover.get(), &WinTrayPopover::syncNowRequested);
    QSignalSpy settings(f.popover.get(), &WinTrayPopover::openSettings);

    f.popover->showAt(QPoint(400, 590));
    f.child<QPushButton>("popoverOpen")->click();
    QVERIFY(!f.popover->isVisible());
    f.popover->showAt(QPoint(400, 590));
    f.child<QPushButton>("popoverSync")->click();
    QVERIFY(!f.popover->isVisible());
    f.popover->showAt(QPoint(400, 590));
    auto *prefs = f.child<QToolButton>("popoverPreferences");
    QCOMPARE(prefs->text(), QStringLiteral("\u2699"));
    QCOMPARE(prefs->toolTip(), QStringLiteral("Preferences"));
    prefs->click();
    QVERIFY(!f.popover->isVisible());
    QCOMPARE(open.count(), 1);
    QCOMPARE(sync.count(), 1);
    QCOMPARE(settings.count(), 1);

    // Tab goes round every control in the order shown, staying in the popover; Shift+Tab back.
    f.popover->showAt(QPoint(400, 590));
    QStringList order;
    for (int i = 0; i < 12; ++i) {
        QTest::keyClick(QApplication::focusWidget(), i < 6 ? Qt::Key_Tab : Qt::Key_Backtab);
        order << QApplication::focusWidget()->objectName().remove(QStringLiteral("popover"));
    }
    QCOMPARE(order.join(u' '),
             QStringLiteral("Open Sync Preferences Groups List QuickAdd List "
                            "Groups Preferences Sync Open QuickAdd"));
    // Escape closes without a command.
    QTest::keyClick(f.popover.get(), Qt::Key_Escape);
    QVERIFY(!f.popover->isVisible());
    QCOMPARE(open.count() + sync.count() + settings.count(), 3);
}

void TestWinTrayPopover::showAtKeepsInsideTheScreenAndRunsTheClock()
{
    Fixture f;
    QVERIFY(f.ready());
    QScreen *screen = QGuiApplication::primaryScreen();
    QVERIFY(screen);
    const QRect area = screen->availableGeometry();
    QVERIFY(!f.popover->headerTimerActive());

    f.popover->showAt(area.bottomRight());
    QVERIFY(f.popover->isVisible());
    QCOMPARE(f.popover->width(), WinTrayPopover::kWidth);
    // Placed where the rule says; the platform may draw its own frame around that.
    const QMargins frame = f.popover->windowHandle()->frameMargins();
    const QRect g = f.popover->geometry().marginsAdded(frame);
    QCOMPARE(g.topLeft(), TrayPopoverText::position(area.bottomRight(), f.popover->size(), area));
    const QRect placed(g.topLeft(), f.popover->size());
    QCOMPARE(placed.right(), area.right() - 8 - 1);
    QVERIFY(placed.bottom() < area.bottom() - 8);
    QVERIFY(f.popover->headerTimerActive());
    QCOMPARE(QApplication::focusWidget(), f.quickAdd());

    f.popover->hide();
    QVERIFY(!f.popover->headerTimerActive());

    // Opened again, a list too long for the screen starts from its top wherever it was left.
    for (int i = 0; i < 40; ++i)
        QVERIFY(f.state.events()->insert(makeEvent(QStringLiteral("many-%1").arg(i), f.calendarId,
                                                   QStringLiteral("Event"), at(10, 11))));
    f.popover->showAt(area.bottomRight());
    QScrollBar *bar = f.list()->verticalScrollBar();
    QTRY_VERIFY(bar->maximum() > 0);
    bar->setValue(bar->maximum());
    f.popover->hide();
    f.popover->showAt(area.bottomRight());
    QCOMPARE(bar->value(), 0);
}

QTEST_MAIN(TestWinTrayPopover)
#include "tst_WinTrayPopover.moc"
