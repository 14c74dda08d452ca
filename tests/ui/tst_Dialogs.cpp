#include "model/ICalendar.h"
#include "platform/DataPaths.h"
#include "storage/AccountRepository.h"
#include "storage/CalendarRepository.h"
#include "storage/Database.h"
#include "storage/EventRepository.h"
#include "storage/PreferenceKeys.h"
#include "storage/PreferencesRepository.h"
#include "support/IcsFiles.h"
#include "support/StartedAppState.h"
#include "ui/MessagePresenter.h"
#include "ui/TabOrder.h"
#include "ui/dialogs/AccountsCalendarsDialog.h"
#include "ui/dialogs/CalendarPickerDialog.h"
#include "ui/dialogs/ColorPickerDialog.h"
#include "ui/dialogs/EventDetailsPopover.h"
#include "ui/dialogs/EventFormDialog.h"
#include "ui/dialogs/PreferencesDialog.h"
#include "ui/theme/Theme.h"
#include "ui/theme/ThemeManager.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QSqlQuery>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QWheelEvent>

namespace {
const QString kPersonal = QStringLiteral("larkspindle-personal-default");
const QDateTime kNow(QDate(2026, 6, 10), QTime(9, 20));
} // namespace

class TestDialogs : public QObject
{
    Q_OBJECT
private slots:
    void eventFormStartsAtTheNextHour();
    void eventFormKeepsTheLengthWhenTheStartMoves();
    void eventFormRefuses_data();
    void eventFormRefuses();
    void eventFormStoresTimedAndAllDayEvents_data();
    void eventFormStoresTimedAndAllDayEvents();

    void preferencesRoundTrip();
    void preferencesKeepTheLocaleWeekStartUntilChosen();
    void preferencesTabFollowsTheRows();

    void accountsManagerAddsACalendarOnThisDevice();
    void accountsManagerMakesANewDeviceAccountBesideATombstone();
    void calendarListsTellSameNamedCalendarsApart();

    void eventWhenText_data();
    void eventWhenText();
};

void TestDialogs::eventFormStartsAtTheNextHour()
{
    LarkTest::StartedAppState state;
    QVERIFY(state.ok());
    EventFormDialog form(state.get(), kNow, nullptr);
    QCOMPARE(form.startEdit()->dateTime(), QDateTime(QDate(2026, 6, 10), QTime(10, 0)));
    QCOMPARE(form.endEdit()->dateTime(), QDateTime(QDate(2026, 6, 10), QTime(11, 0)));
    QCOMPARE(form.calendarCombo()->currentData().toString(), kPersonal);
}

void TestDialogs::eventFormKeepsTheLengthWhenTheStartMoves()
{
    LarkTest::StartedAppState state;
    QVERIFY(state.ok());
    EventFormDialog form(state.get(), kNow, nullptr);
    form.endEdit()->setDateTime(QDateTime(QDate(2026, 6, 10), QTime(11, 30)));
    form.startEdit()->setDateTime(QDateTime(QDate(2026, 6, 12), QTime(14, 0)));
    QCOMPARE(form.endEdit()->dateTime(), QDateTime(QDate(2026, 6, 12), QTime(15, 30)));
}

void TestDialogs::eventFormRefuses_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("endBeforeStart");
    QTest::addColumn<bool>("withCalendar");
    QTest::addColumn<bool>("locked");
    QTest::addColumn<QString>("error");

    QTest::newRow("no title") << "  " << false << true << false << "Give the event a title.";
    QTest::newRow("ends before it starts")
        << "Call" << true << true << false << "The event ends before it starts.";
    QTest::newRow("no calendar") << "Call" << false << false << false << "Choose a calendar.";
    QTest::newRow("another program writing")
        << "Call" << false << true << true
        << "Another program is writing to the calendar, so the event is not saved yet. Keep "
           "this window open and save again once it is done.";
}

void TestDialogs::eventFormRefuses()
{
    QFETCH(QString, title);
    QFETCH(bool, endBeforeStart);
    QFETCH(bool, withCalendar);
    QFETCH(bool, locked);
    QFETCH(QString, error);

    LarkTest::StartedAppState state;
    QVERIFY(state.ok());
    if (!withCalendar)
        QVERIFY(state->calendars()->remove(kPersonal));
    EventFormDialog form(state.get(), kNow, nullptr);
    form.titleEdit()->setText(title);
    if (endBeforeStart)
        form.endEdit()->setDateTime(form.startEdit()->dateTime().addSecs(-60));
    QVERIFY(!locked || LarkTest::holdWriteLock(state.dir() + QStringLiteral("/calendar.db"), 0));
    QCOMPARE(form.save(), QString());
    auto *label = form.findChild<QLabel *>(QStringLiteral("errorLabel"));
    QCOMPARE(label->text(), error);
    // Typing the title it asked for takes the refusal away; the others stay until mended.
    form.titleEdit()->setText(QStringLiteral("Call"));
    QCOMPARE(label->isHidden(), title.trimmed().isEmpty());
    QVERIFY(state->events()
                ->listInRange(QDateTime(QDate(2000, 1, 1), QTime(0, 0)),
                              QDateTime(QDate(2100, 1, 1), QTime(0, 0)))
                .isEmpty());
}

void TestDialogs::eventFormStoresTimedAndAllDayEvents_data()
{
    QTest::addColumn<bool>("allDay");
    QTest::addColumn<QDateTime>("start");
    QTest::addColumn<QDateTime>("end");
    QTest::newRow("timed") << false << QDateTime(QDate(2026, 6, 10), QTime(10, 0))
                           << QDateTime(QDate(2026, 6, 10), QTime(11, 0));
    // The last day is included: the stored end is the midnight after it.
    QTest::newRow("all day, two days") << true << QDateTime(QDate(2026, 6, 10), QTime(0, 0))
                                       << QDateTime(QDate(2026, 6, 12), QTime(0, 0));
}

void TestDialogs::eventFormStoresTimedAndAllDayEvents()
{
    QFETCH(bool, allDay);
    QFETCH(QDateTime, start);
    QFETCH(QDateTime, end);

    LarkTest::StartedAppState state;
    QVERIFY(state.ok());
    EventFormDialog form(state.get(), kNow, nullptr);
    form.titleEdit()->setText(QStringLiteral("Offsite"));
    form.allDayCheck()->setChecked(allDay);
    if (allDay)
        form.endEdit()->setDate(QDate(2026, 6, 11));
    const QString id = form.save();
    QVERIFY(!id.isEmpty());

    const std::optional<Event> stored = state->events()->byId(id);
    QVERIFY(stored);
    QCOMPARE(stored->uid, id);
    QCOMPARE(stored->calendar_id, kPersonal);
    QCOMPARE(stored->is_all_day, allDay);
    QCOMPARE(stored->start_time.toLocalTime(), start);
    QCOMPARE(stored->end_time->toLocalTime(), end);
    QCOMPARE(stored->sync_status, QStringLiteral("pending"));
    const QList<Event> parsed = parseICalendarEvents(stored->raw_icalendar);
    QCOMPARE(parsed.size(), 1);
    QCOMPARE(parsed.first().title, QStringLiteral("Offsite"));
    QCOMPARE(parsed.first().is_all_day, allDay);
}

void TestDialogs::preferencesRoundTrip()
{
    LarkTest::StartedAppState state;
    QVERIFY(state.ok());
    // The day stored was chosen on a device whose clock ran far ahead: the choice made here is
    // not dated before it, so that it is the later one everywhere.
    const QString ahead
        = QString::number(QDateTime(QDate(2100, 1, 1), QTime(0, 0), Qt::UTC).toMSecsSinceEpoch());
    QVERIFY(state->preferences()->set(Prefs::WeekStartDayChangedAt, ahead));
    {
        PreferencesDialog dialog(state.get(), nullptr);
        QCOMPARE(dialog.themeCombo()->currentData().toString(), QStringLiteral("system"));
        QVERIFY(dialog.closeToTrayCheck()->isChecked());
        // The colour picker starts from the accent in use; taking it unchanged keeps the default.
        QColor offered;
        QTimer::singleShot(0, [&offered] {
            auto *colors = qobject_cast<ColorPickerDialog *>(QApplication::activeModalWidget());
            offered = colors->currentColor();
            // Return in the picker takes the colour, as OK does, also from its hue field, which
            // works the colour out again from hue, saturation and value.
            QTest::keyClick(colors->findChild<QColorDialog *>()->findChild<QSpinBox *>(),
                            Qt::Key_Return);
        });
        dialog.findChild<QPushButton *>(QStringLiteral("pickAccentButton"))->click();
        QCOMPARE(offered, Theme::accent());
        QCOMPARE(dialog.accentEdit()->text(), QString());
        // A nearby shade picked with OK is taken, not mistaken for the colour offered.
        const QColor shade = offered.lighter(115);
        QTimer::singleShot(0, [&shade] {
            auto *colors = QApplication::activeModalWidget();
            colors->findChild<QColorDialog *>()->setCurrentColor(shade);
            colors->findChild<QDialogButtonBox *>(QString(), Qt::FindDirectChildrenOnly)
                ->button(QDialogButtonBox::Ok)
                ->click();
        });
        dialog.findChild<QPushButton *>(QStringLiteral("pickAccentButton"))->click();
        QCOMPARE(dialog.accentEdit()->text(), shade.name());
        dialog.themeCombo()->setCurrentIndex(dialog.themeCombo()->findData(QStringLiteral("dark")));
        dialog.accentEdit()->setText(QStringLiteral("#aa3366"));
        dialog.fontScaleSpin()->setValue(120);
        dialog.timeFormatCombo()->setCurrentIndex(1);
        dialog.weekStartCombo()->setCurrentIndex(dialog.weekStartCombo()->findData(7));
        dialog.closeToTrayCheck()->setChecked(false);
        dialog.startMinimizedCheck()->setChecked(true);
        dialog.launchAtLoginCheck()->setChecked(true);
        // While another program writes, or where the store refuses the last setting, OK stores
        // none of it and says why; the form stays.
        QSqlQuery refuse(state->database()->connection());
        for (const char *cause : {"Another program is writing", "The preferences could not be"}) {
            QStringList said;
            MessagePresenter::setHandler([&said](MessagePresenter::Kind, QWidget *, const QString &,
                                                 const QString &text) { said << text; });
            QVERIFY(cause[0] == 'A'
                        ? LarkTest::holdWriteLock(state.dir() + QStringLiteral("/calendar.db"), 0)
                        : refuse.exec(QStringLiteral(
                            "CREATE TRIGGER refuse BEFORE INSERT ON settings WHEN NEW.key = "
                            "'ui/startMinimized' BEGIN SELECT RAISE(ABORT, 'refused'); END")));
            dialog.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
            MessagePresenter::setHandler({});
            QVERIFY2(said.size() == 1 && said.first().startsWith(QLatin1String(cause)),
                     qPrintable(said.join(u'|')));
            QCOMPARE(dialog.result(), int(QDialog::Rejected));
            QVERIFY(!state->preferences()->get(Prefs::Theme));
            QTest::qWait(0); // the other program lets go of the lock
        }
        QVERIFY(refuse.exec(QStringLiteral("DROP TRIGGER refuse")));
        QCOMPARE(dialog.apply(), PreferencesDialog::Applied::All);
    }
    PreferencesRepository *prefs = state->preferences();
    QCOMPARE(prefs->getString(Prefs::Theme), QStringLiteral("dark"));
    // In effect at once, not from the next start.
    const QColor window = QApplication::palette().color(QPalette::Window);
    QVERIFY2(window.lightness() < 128, qPrintable(window.name()));
    QCOMPARE(prefs->getString(Prefs::AccentColor).toLower(), QStringLiteral("#aa3366"));
    QCOMPARE(prefs->getInt(Prefs::FontScale, 0), 120);
    QCOMPARE(prefs->getString(Prefs::TimeFormat), QStringLiteral("24"));
    QCOMPARE(state->firstDayOfWeek(), Qt::Sunday);
    QCOMPARE(prefs->get(Prefs::WeekStartDayChangedAt), std::optional(ahead));
    QCOMPARE(prefs->getBool(Prefs::CloseToTray, true), false);
    QCOMPARE(prefs->getBool(Prefs::StartMinimized, false), true);
    QVERIFY(isLaunchAtLoginEnabled());

    // A second opening shows what was stored.
    PreferencesDialog again(state.get(), nullptr);
    QCOMPARE(again.themeCombo()->currentData().toString(), QStringLiteral("dark"));
    QCOMPARE(again.fontScaleSpin()->value(), 120);
    QCOMPARE(again.timeFormatCombo()->currentData().toString(), QStringLiteral("24"));
    QCOMPARE(again.weekStartCombo()->currentData().toInt(), 7);
    QVERIFY(!again.closeToTrayCheck()->isChecked());
    QVERIFY(again.launchAtLoginCheck()->isChecked());

    again.launchAtLoginCheck()->setChecked(false);
    again.accentEdit()->clear();
    QCOMPARE(again.apply(), PreferencesDialog::Applied::All);
    QVERIFY(!isLaunchAtLoginEnabled());
    QVERIFY(!prefs->get(Prefs::AccentColor));
}

void TestDialogs::preferencesKeepTheLocaleWeekStartUntilChosen()
{
    LarkTest::StartedAppState state;
    QVERIFY(state.ok());
    PreferencesDialog dialog(state.get(), nullptr);
    QCOMPARE(dialog.weekStartCombo()->currentData().toInt(), 0);
    QCOMPARE(dialog.apply(), PreferencesDialog::Applied::All);
    QCOMPARE(state->firstDayOfWeek(), AppState::localeFirstDayOfWeek());
    QVERIFY(!state->preferences()->getBool(Prefs::WeekStartDayCustomized, true));
}

void TestDialogs::preferencesTabFollowsTheRows()
{
    LarkTest::StartedAppState state;
    QVERIFY(state.ok());
    TabOrder::install(qApp);
    PreferencesDialog dialog(state.get(), nullptr);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    dialog.themeCombo()->setFocus();

    QStringList walked;
    for (int i = 0; i < 10; ++i) {
        QWidget *focus = QApplication::focusWidget();
        QVERIFY(focus);
        const auto *button = qobject_cast<QAbstractButton *>(focus);
        walked << (focus->objectName().isEmpty() && button ? button->text() : focus->objectName());
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    const QStringList rows {QStringLiteral("themeCombo"),
                            QStringLiteral("accentEdit"),
                            QStringLiteral("pickAccentButton"),
                            QStringLiteral("fontScaleSpin"),
                            QStringLiteral("timeFormatCombo"),
                            QStringLiteral("weekStartCombo"),
                            QStringLiteral("weatherSettingsButton"),
                            QStringLiteral("closeToTrayCheck"),
                            QStringLiteral("startMinimizedCheck"),
                            QStringLiteral("launchAtLoginCheck")};
    QCOMPARE(walked.mid(0, rows.size()), rows);

    // In the program's look, a box's list shows every choice whole, also from the top of the
    // screen with its last choice current.
    ThemeManager look(nullptr);
    look.applyTheme(QStringLiteral("dark"));
    dialog.move(dialog.screen()->availableGeometry().topLeft());
    QComboBox *theme = dialog.themeCombo();
    theme->setCurrentIndex(theme->count() - 1);
    theme->showPopup();
    QTRY_VERIFY(theme->view()->isVisible());
    for (int row = 0; row < theme->count(); ++row)
        QVERIFY(theme->view()->viewport()->rect().contains(
            theme->view()->visualRect(theme->model()->index(row, 0))));
    theme->hidePopup();

    // Where the body scrolls, a wheel turn over a box the user has not focused scrolls the body
    // and leaves the box's value; once focused, the box takes the wheel.
    dialog.resize(dialog.width(), dialog.minimumSizeHint().height());
    auto *body = dialog.findChild<QScrollArea *>(QStringLiteral("scrollingBody"));
    QScrollBar *scroll = body->verticalScrollBar();
    QComboBox *box = dialog.weekStartCombo();
    box->setCurrentIndex(3);
    body->ensureWidgetVisible(box);
    const auto turn = [&dialog, box](int delta) {
        QWheelEvent wheel(box->mapTo(&dialog, box->rect().center()), QPointF(), {}, {0, delta},
                          Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QApplication::sendEvent(dialog.windowHandle(), &wheel);
    };
    QTRY_VERIFY(scroll->maximum() > 0 && !box->hasFocus());
    const int scrolled = scroll->value();
    turn(scrolled > 0 ? 120 : -120);
    QVERIFY(box->currentIndex() == 3 && !box->hasFocus() && scroll->value() != scrolled);
    body->ensureWidgetVisible(box);
    box->setFocus();
    turn(-120);
    QCOMPARE(box->currentIndex(), 4);
}

void TestDialogs::accountsManagerAddsACalendarOnThisDevice()
{
    LarkTest::StartedAppState state;
    QVERIFY(state.ok());
    QVERIFY(state->calendars()->remove(kPersonal));
    AccountsCalendarsDialog dialog(state.get(), nullptr);
    // It opens on a row shown as chosen, not on a bare frame round a name.
    QVERIFY(dialog.tree()->currentItem() && dialog.tree()->currentItem()->isSelected());
    dialog.nameEdit()->setText(QStringLiteral("  Garden  "));
    dialog.addCalendarFromForm();

    const QList<Calendar> calendars = state->calendars()->listAll();
    QCOMPARE(calendars.size(), 1);
    QCOMPARE(calendars.first().name, QStringLiteral("Garden"));
    QCOMPARE(calendars.first().account_id, QStringLiteral("personal-local-account"));
    QVERIFY(!calendars.first().is_read_only);
    QVERIFY(dialog.nameEdit()->text().isEmpty());

    // The list shows it under its account.
    QTreeWidget *tree = dialog.tree();
    QTreeWidgetItem *account = nullptr;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        if (tree->topLevelItem(i)->data(0, Qt::UserRole)
            == QStringLiteral("personal-local-account"))
            account = tree->topLevelItem(i);
    }
    QVERIFY(account);
    QCOMPARE(account->childCount(), 1);
    QCOMPARE(account->child(0)->text(0), QStringLiteral("Garden"));
}

void TestDialogs::accountsManagerMakesANewDeviceAccountBesideATombstone()
{
    LarkTest::StartedAppState state;
    QVERIFY(state.ok());
    // Deleted, waiting for its deletion to be synced.
    QVERIFY(state->accounts()->remove(QStringLiteral("personal-local-account")));
    const QString id = AccountsCalendarsDialog::addLocalCalendar(
        state.get(), QStringLiteral("Later"), QStringLiteral("#123456"));
    QVERIFY(!id.isEmpty());
    const std::optional<Account> owner
        = state->accounts()->byId(state->calendars()->byId(id)->account_id);
    QVERIFY(owner);
    QCOMPARE(owner->type, QStringLiteral("larkspindle"));
    QVERIFY(owner->id != QStringLiteral("personal-local-account"));
}

void TestDialogs::calendarListsTellSameNamedCalendarsApart()
{
    LarkTest::StartedAppState state;
    QVERIFY(state.ok());
    QVERIFY(!AccountsCalendarsDialog::addLocalCalendar(state.get(), QStringLiteral("Work"),
                                                       QStringLiteral("#e67c73"))
                 .isEmpty());
    Account team;
    team.id = QStringLiteral("team");
    team.name = QStringLiteral("Team server");
    team.type = QStringLiteral("caldav");
    team.created_at = team.updated_at = kNow;
    QVERIFY(state->accounts()->insert(team));
    Calendar work;
    work.id = QStringLiteral("team-work");
    work.account_id = team.id;
    work.url = QStringLiteral("https://dav.example/work/");
    work.name = QStringLiteral("Work");
    work.created_at = work.updated_at = kNow;
    QVERIFY(state->calendars()->insert(work));

    QComboBox combo;
    CalendarPickerDialog::fillCalendarCombo(&combo, state.get(), work.id);
    QStringList labels;
    for (int i = 0; i < combo.count(); ++i)
        labels << combo.itemText(i);
    labels.sort();
    QCOMPARE(labels,
             (QStringList {QStringLiteral("Personal"), QStringLiteral("Work (On This Device)"),
                           QStringLiteral("Work (Team server)")}));
    QCOMPARE(combo.currentData().toString(), work.id);
}

void TestDialogs::eventWhenText_data()
{
    QTest::addColumn<bool>("allDay");
    QTest::addColumn<QDateTime>("start");
    QTest::addColumn<QDateTime>("end");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("text");

    const QDate day(2026, 6, 10);
    QTest::newRow("timed, 12-hour")
        << false << QDateTime(day, QTime(9, 5)) << QDateTime(day, QTime(13, 30)) << "h:mm AP"
        << "Wed 10 Jun 2026, 9:05\u00A0AM – 1:30\u00A0PM";
    QTest::newRow("over midnight, 24-hour") << false << QDateTime(day, QTime(21, 30))
                                            << QDateTime(day.addDays(2), QTime(6, 15)) << "HH:mm"
                                            << "Wed 10 Jun 2026 21:30 – Fri 12 Jun 2026 06:15";
    QTest::newRow("one all-day") << true << QDateTime(day, QTime(0, 0))
                                 << QDateTime(day.addDays(1), QTime(0, 0)) << "HH:mm"
                                 << "Wed 10 Jun 2026, all day";
    QTest::newRow("three all-day")
        << true << QDateTime(day, QTime(0, 0)) << QDateTime(day.addDays(3), QTime(0, 0)) << "HH:mm"
        << "Wed 10 Jun 2026 – Fri 12 Jun 2026, all day";
}

void TestDialogs::eventWhenText()
{
    QFETCH(bool, allDay);
    QFETCH(QDateTime, start);
    QFETCH(QDateTime, end);
    QFETCH(QString, format);
    QFETCH(QString, text);
    Event event;
    event.is_all_day = allDay;
    event.start_time = start;
    event.end_time = end;
    QCOMPARE(::eventWhenText(event, format), text);
}

QTEST_MAIN(TestDialogs)
#include "tst_Dialogs.moc"
