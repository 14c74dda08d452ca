#include "core/IcsImport.h"
#include "core/ImportsUnderWay.h"
#include "core/Store.h"
#include "core/SyncStatus.h"
#include "core/sync/SyncClientRegistry.h"
#include "model/ICalendar.h"
#include "services/account/ApiClient.h"
#include "services/account/Client.h"
#include "services/sync/cloud/ConfigSyncService.h"
#include "services/update/FeedFixtures.h"
#include "storage/AccountRepository.h"
#include "storage/CalendarRepository.h"
#include "storage/Database.h"
#include "storage/EventRepository.h"
#include "storage/PreferenceKeys.h"
#include "storage/PreferencesRepository.h"
#include "storage/TaskRepository.h"
#include "support/FakeCloudService.h"
#include "support/FakeHttpServer.h"
#include "support/IcsFiles.h"
#include "support/StartedAppState.h"
#include "support/TestSupport.h"
#include "support/UrlSink.h"
#include "ui/MessagePresenter.h"
#include "ui/dialogs/CalendarPickerDialog.h"
#include "ui/dialogs/EventFormDialog.h"
#include "ui/mainwindow/ElidingStatusBar.h"
#include "ui/mainwindow/MainWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

const QString kPersonal = QStringLiteral("larkspindle-personal-default");

int rowCount(AppState *state, const QString &sql)
{
    QSqlQuery q(state->database()->connection());
    if (!q.exec(sql) || !q.next())
        return -1;
    return q.value(0).toInt();
}

int eventCount(AppState *state)
{
    return rowCount(state, QStringLiteral("SELECT COUNT(*) FROM events"));
}

// Answers the modal dialogs the code under test opens, in order, and records their names. A
// dialog that nobody expected is rejected, so a test never blocks on one.
class ModalAnswerer : public QObject
{
public:
    using Answer = std::function<void(QDialog *)>;
    explicit ModalAnswerer(QList<Answer> answers)
        : m_answers(std::move(answers))
    {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!dialog || dialog == m_last)
                return;
            m_last = dialog;
            seen << dialog->objectName();
            if (m_answers.isEmpty())
                dialog->reject();
            else
                m_answers.takeFirst()(dialog);
        });
        m_timer.start(20);
    }
    QStringList seen;

private:
    QList<Answer> m_answers;
    QTimer m_timer;
    QPointer<QDialog> m_last;
};

void acceptDialog(QDialog *dialog)
{
    dialog->accept();
}

QString statusText(MainWindow &window)
{
    return window.statusBar()->currentMessage();
}

QString writeFile(const QString &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir + QLatin1Char('/') + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return QString();
    return path;
}

QByteArray twoEvents(const char *secondTitle)
{
    return QByteArray("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Test//EN\r\n"
                      "BEGIN:VEVENT\r\nUID:one@test\r\nSUMMARY:First\r\n"
                      "DTSTART:20260610T090000Z\r\nDTEND:20260610T100000Z\r\nEND:VEVENT\r\n"
                      "BEGIN:VEVENT\r\nUID:two@test\r\nSUMMARY:")
        + secondTitle
        + "\r\nDTSTART:20260611T090000Z\r\nDTEND:20260611T100000Z\r\nEND:VEVENT\r\n"
          "END:VCALENDAR\r\n";
}

// A sync client that ends as the test says, once the loop runs.
class ScriptedSyncRun : public AccountSyncRun
{
public:
    ScriptedSyncRun(QString failure, QObject *parent, bool atOnce = false)
        : AccountSyncRun(parent)
        , m_failure(std::move(failure))
        , m_atOnce(atOnce)
    { }
    void start() override
    {
        auto end = [this] {
            if (m_failure.isEmpty())
                emit finished();
            else
                emit failed(QStringLiteral("cal-1"), m_failure);
        };
        if (m_atOnce)
            end();
        else
            QTimer::singleShot(0, this, end);
    }

private:
    QString m_failure;
    bool m_atOnce;
};

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void closeRule_data();
    void closeRule();
    void focusWindowBringsBackAHiddenOrMinimisedWindow_data();
    void focusWindowBringsBackAHiddenOrMinimisedWindow();
    void showTodayMovesToToday();

    void quickAdd_data();
    void quickAdd();

    void importIntoACalendar_data();
    void importIntoACalendar();
    void importTwiceReplacesInsteadOfDoubling();
    void importStorageFailureStoresNothing();
    void importFromCommandAsksForAWritableCalendar();
    void importFromCommandWithoutAWritableCalendarSaysSo();
    void importFromCommandReportsABadFileWithoutAsking();
    void importRefusesWhatIsNoPlainFile_data();
    void importRefusesWhatIsNoPlainFile();
    void commandsWaitWhileADialogIsOpen();
    void commandWaitingForTheUsersDialogRunsWhenItCloses();
    void importCancelledThenQuitLeavesNoRow();
    void interruptedImportIsTakenBackBehindADialog();
    void importOutcomeBoxClosesWithOneReturn();

    void newEventWithoutCalendarOpensTheManagerFirst();
    void newEventStoresAPendingEvent();

    void syncNowRunsTheRegisteredClient_data();
    void syncNowRunsTheRegisteredClient();
    void syncNowKeepsAFailureOfTheSameRound();
    void syncNowNamesTypesWithoutAClient();
    void settingsSyncTroubleIsShown();

    void focusOnEvent();
    void focusOnUnknownEventOnlyFocuses();

    void developerMenuOnlyInTheDevInstance();

    void helpMenu_data();
    void helpMenu();
    void aboutNamesVersionAndLicences();
};

// Message boxes are taken here instead of blocking the test.
QStringList g_boxes;

void TestMainWindow::init()
{
    MessagePresenter::setHandler([](MessagePresenter::Kind, QWidget *, const QString &,
                                    const QString &text) { g_boxes << text; });
}

void TestMainWindow::cleanup()
{
    SyncClientRegistry::registerClient(QStringLiteral("larkspindle"), {});
    SyncClientRegistry::registerClient(QStringLiteral("caldav"), {});
    qunsetenv("CALENDAR_INSTANCE");
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget *w : windows)
        w->close();
}

void TestMainWindow::closeRule_data()
{
    QTest::addColumn<bool>("closeToTray");
    QTest::addColumn<bool>("hasTray");
    QTest::addColumn<bool>("quitting");
    QTest::addColumn<bool>("staysOpen");

    QTest::newRow("tray and preference: hides") << true << true << false << true;
    QTest::newRow("no tray: closes") << true << false << false << false;
    QTest::newRow("preference off: closes") << false << true << false << false;
    QTest::newRow("quitting: closes") << true << true << true << false;
}

void TestMainWindow::closeRule()
{
    QFETCH(bool, closeToTray);
    QFETCH(bool, hasTray);
    QFETCH(bool, quitting);
    QFETCH(bool, staysOpen);

    LarkTest::StartedAppState state;
    QVERIFY(state.ok());
    QVERIFY(state->preferences()->setBool(Prefs::CloseToTray, closeToTray));
    MainWindow window(state.get());
    QSystemTrayIcon tray;
    window.setTrayIcon(hasTray ? &tray : nullptr);
    window.show();
    QVERIFY(window.isVisible());

    if (quitting) {
        window.quitApplication();
        QVERIFY(window.isQuitting());
    } else {
        QCOMPARE(window.close(), !staysOpen);
    }
    // Hidden or closed, the window is off the screen either way; only a hidden one may come back
    // without being built again, which the close result above tells apart.
    QVERIFY(!window.isVisible());
    QCOMPARE(MainWindow::closeHidesWindow(closeToTray, hasTray, quitting), staysOpen);
    // Hiding says so, once: the notice is marked as given.
    QCOMPARE(state->preferences()->getBool(Prefs::CloseToTrayBalloonShown, false), staysOpen);
}

void TestMainWindow::focusWindowBringsBackAHiddenOrMinimisedWindow_data()
{
    QTest::addColumn<bool>("minimised");
    QTest::newRow("hidden in the tray") << false;
    QTest::newRow("minimised") << true;
}

void TestMainWindow::focusWindowBringsBackAHiddenOrMinimisedWindow()
{
    QFETCH(bool, minimised);
    LarkTest::StartedAppState state;
    QVERIFY(state.ok());
    MainWindow window(state.get());
    QSystemTrayIcon tray;
    window.setTrayIcon(&tray);
    window.show();
    if (minimised)
        window.showMinimized();
    else
        QVERIFY(!window.close());
    QVERIFY(minimised ? window.isMinimized() : !window.isVisible());

    window.focusWindow();
    QVERIFY(window.isVisible());
    QVERIFY(!window.isMinimized());
}

void TestMainWindow::showTodayMovesToToday()
{
    LarkTest::StartedAppState state;
    QVERIFY(state.ok());
    MainWindow window(state.get());
    state->setCurrentDate(QDate(2001, 2, 3));
    const QDate before = QDate::currentDate();
    window.showToday();
    const QDate after = QDate::currentDate();
    QVERIFY(window.isVisible());
    QVERIFY(state->currentDate() == before || state->currentDate() == after);
}

void TestMainWindow::quickAdd_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("withCalendar");
    QTest::addColumn<int>("newItems");
    QTest::addColumn<QString>("status");
    // 1: another program holds the write lock; 2: and the waiting line cannot be saved to disk
    QTest::addColumn<int>("writer");

    QTest::newRow("event") << "Lunch with Sam tomorrow 12:30" << true << 1
                           << "Added \"Lunch with Sam tomorrow 12:30\"." << 0;
    // A line read as nothing dated is kept as a task without a date, which no view shows.
    QTest::newRow("undated task") << "Mittagessen morgen 13 Uhr" << true << 1
                                  << "Added \"Mittagessen morgen 13 Uhr\" as a task without a date."
                                  << 0;
    QTest::newRow("blank") << "   " << true << 0 << "" << 0;
    QTest::newRow("no calendar") << "Lunch tomorrow" << false << 0
                                 << "Quick add needs a calendar: add one first." << 0;
    // The word stays while the line waits, also once something clears the bar.
    QTest::newRow("waits") << "Lunch tomorrow" << true << 0
                           << "Will be added once another program is done writing: \"Lunch "
                              "tomorrow\""
                           << 1;
    QTest::newRow("waits, not saved")
        << "Lunch tomorrow" << true << 0
        << "Another program is writing to the calendar, and 1 waiting quick-add line(s) could not "
           "be saved to disk: they are lost if Larkspindle Calendar ends before the calendar is "
           "free."
        << 2;
}

void TestMainWindow::quickAdd()
{
    QFETCH(QString, text);
    QFETCH(bool, withCalendar);
    QFETCH(int, newItems);
    QFETCH(QString, status);
    QFETCH(int, writer);
    const bool behindAWriter = writer > 0;

    LarkTest::StartedAppState state;
    QVERIFY(state.ok());
    if (!withCalendar)
        QVERIFY(state->calendars()->remove(kPersonal));
    MainWindow window(state.get());
    const auto items = [&] {
        return rowCount(state.get(),
                        QStringLiteral("SELECT (SELECT COUNT(*) FROM events) + (SELECT COUNT(*) "
                                       "FROM tasks)"));
    };
    const int before = items();
    QVERIFY(!behindAWriter
            || LarkTest::holdWriteLock(state.dir() + QStringLiteral("/calendar.db"), 500));
    QVERIFY(writer < 2 || QDir().mkpath(state.dir() + QStringLiteral("/quick-add-waiting.json")));
    window.quickAddFromCommand(text);
    QVERIFY(window.isVisible());
    QCOMPARE(items(), before + newItems);
    if (behindAWriter)
        window.statusBar()->clearMessage(); // as the update check's end does
    // Whole, as shown beside the settings-sync field, which stays hidden.
    QTRY_COMPARE(qobject_cast<ElidingStatusBar *>(window.statusBar())->shownMessage(), status);
    QTest::qWait(behindAWriter ? 500 : 0); // the lock is let go
}

void TestMainWindow::importIntoACalendar_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<int>("imported");
    QTest::addColumn<QString>("status");

    QTest::newRow("good file") << LarkTest::readData(QStringLiteral("ics/webcal_weekly_series.ics"))
                               << false << 2 << "Imported 2 event(s) from input.ics.";
    QTest::newRow("garbage") << QByteArray("\x00\x01not a calendar at all", 22) << false << 0
                             << "Import failed: no events found in input.ics.";
    QTest::newRow("empty calendar") << QByteArray("BEGIN:VCALENDAR\r\nEND:VCALENDAR\r\n") << false
                                    << 0 << "Import failed: no events found in input.ics.";
    QTest::newRow("read-only calendar") << twoEvents("Second") << true << 0
                                        << "Import failed: the calendar \"Personal\" is read-only.";
}

void TestMainWindow::importIntoACalendar()
{
    QFETCH(QByteArray, contents);
    QFETCH(bool, readOnly);
    QFETCH(int, imported);
    QFETCH(QString, status);

    LarkTest::StartedAppState state;
    QVERIFY(state.ok());
    const QString path = writeFile(state.dir(), QStringLiteral("input.ics"), contents);
    QVERIFY(!path.isEmpty());
    MainWindow window(state.get());
    // The calendar turns read-only while the picker is open.
    ModalAnswerer answers({[&](QDialog *dialog) {
        Calendar calendar = *state->calendars()->byId(kPersonal);
        calendar.is_read_only = readOnly;
        QVERIFY(state->calendars()->update(calendar));
        dialog->accept();
    }});

    g_boxes.clear();
    window.importIcsFromCommand(path);
    QCOMPARE(statusText(window), status);
    // Also in a box, where a long reason is not cut off.
    QCOMPARE(g_boxes, QStringList {status});
    const QList<Event> stored = state->events()->listByCalendar(kPersonal);
    QCOMPARE(eventCount(state.get()), imported);
    for (const Event &event : stored) {
        QCOMPARE(event.sync_status, QStringLiteral("pending"));
        QVERIFY(!event.raw_icalendar.isEmpty());
    }
}

void TestMainWindow::importTwiceReplacesInsteadOfDoubling()
{
    LarkTest::StartedAppState state;
    QVERIFY(state.ok());
    MainWindow window(state.get());
    const QString path = LarkTest::dataPath(QStringLiteral("ics/webcal_weekly_series.ics"));
    ModalAnswerer answers({acceptDialog, acceptDialog});
    window.importIcsFromCommand(path);
    window.importIcsFromCommand(path);
    QCOMPARE(eventCount(state.get()), 2);
    QCOMPARE(statusText(window),
             QStringLiteral("Imported 2 event(s) from webcal_weekly_series.ics."));
}

void TestMainWindow::importStorageFailureStoresNothing()
{
    LarkTest::StartedAppState state;
    QVERIFY(state.ok());
    // The store refuses the second event of the file.
    QSqlQuery trigger(state->database()->connection());
    QVERIFY(trigger.exec(
        QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON events WHEN NEW.title = 'Refused' "
                       "BEGIN SELECT RAISE(ABORT, 'refused'); END")));
    const QString path = writeFile(state.dir(), QStringLiteral("two.ics"), twoEvents("Refused"));
    MainWindow window(state.get());
    ModalAnswerer answers({acceptDialog});

    window.importIcsFromCommand(path);
    QCOMPARE(statusText(window),
             QStringLiteral("Import failed: the events of two.ics could not be stored; nothing "
                            "was imported."));
    QCOMPARE(eventCount(state.get()), 0);
}

void TestMainWindow::importFromCommandAsksForAWritableCalendar()
{
    LarkTest::StartedAppState state;
    QVERIFY(state.ok());
    QVERIFY(state->database()->connection().isOpen());
    // A read-only calendar is never offered.
    Calendar readOnly = *state->calendars()->byId(kPersonal);
    readOnly.id = QStringLiteral("subscribed");
    readOnly.name = QStringLiteral("Subscribed");
    readOnly.is_read_only = true;
    readOnly.is_default = false;
    QVERIFY(state->calendars()->insert(readOnly));
    MainWindow window(state.get());

    QStringList offered;
    ModalAnswerer answers({[&offered](QDialog *dialog) {
        auto *combo = dialog->findChild<QComboBox *>(QStringLiteral("calendarCombo"));
        for (int i = 0; combo && i < combo->count(); ++i)
            offered << combo->itemData(i).toString();
        dialog->accept();
    }});
    window.importIcsFromCommand(LarkTest::dataPath(QStringLiteral("ics/exchange_meeting.ics")));

    QCOMPARE(answers.seen, QStringList {QStringLiteral("calendarPickerDialog")});
    QCOMPARE(offered, QStringList {kPersonal});
    QCOMPARE(state->events()->listByCalendar(kPersonal).size(), 1);
    QCOMPARE(statusText(window), QStringLiteral("Imported 1 event(s) from exchange_meeting.ics."));
}

void TestMainWindow::importFromCommandWithoutAWritableCalendarSaysSo()
{
    LarkTest::StartedAppState state;
    QVERIFY(state.ok());
    QVERIFY(state->calendars()->remove(kPersonal));
    MainWindow window(state.get());
    ModalAnswerer answers({});
    window.importIcsFromCommand(LarkTest::dataPath(QStringLiteral("ics/exchange_meeting.ics")));
    QVERIFY(answers.seen.isEmpty());
    QCOMPARE(statusText(window),
             QStringLiteral("Import failed: there is no calendar that can take events. Add one "
                            "first."));
    QCOMPARE(eventCount(state.get()), 0);
}

void TestMainWindow::importFromCommandReportsABadFileWithoutAsking()
{
    LarkTest::StartedAppState state;
    QVERIFY(state.ok());
    MainWindow window(state.get());
    ModalAnswerer answers({});
    const QString missing = state.dir() + QStringLiteral("/nowhere/missing.ics");
    window.importIcsFromCommand(missing);
    QVERIFY(answers.seen.isEmpty());
    QCOMPARE(statusText(window),
             QStringLiteral("Import failed: the file %1 does not exist.").arg(missing));

    // A folder named like a calendar file cannot be read as one.
    window.importIcsFromCommand(state.dir());
    QVERIFY(answers.seen.isEmpty());
    QVERIFY(statusText(window).startsWith(QStringLiteral("Import failed:")));

    // Nor is anyone asked where to put the events of a file whose events are all unusable.
    const QString unusable = writeFile(
        state.dir(), QStringLiteral("no-start.ics"),
        "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nUID:a\r\nSUMMARY:No start\r\nEND:VEVENT\r\n"
        "BEGIN:VEVENT\r\nSUMMARY:No identifier\r\nDTSTART:20260601T090000Z\r\nEND:VEVENT\r\n"
        "END:VCALENDAR\r\n");
    window.importIcsFromCommand(unusable);
    QVERIFY(answers.seen.isEmpty());
    QCOMPARE(statusText(window),
             QStringLiteral("Import failed: no events found in no-start.ics. 2 event(s) without an "
                            "identifier or a start were skipped."));
    QCOMPARE(eventCount(state.get()), 0);
}

void TestMainWindow::importRefusesWhatIsNoPlainFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("status"); // %1 is the path
    QTest::newRow("pipe") << "pipe"
                          << "Import failed: %1 is not a regular file.";
    QTest::newRow("endless device") << "/dev/zero"
                                    << "Import failed: %1 is not a regular file.";
    QTest::newRow("over the size limit") << "large"
                                         << "Import failed: the file %1 is larger than 100 MB.";
}

void TestMainWindow::importRefusesWhatIsNoPlainFile()
{
    QFETCH(QString, kind);
    QFETCH(QString, status);
    LarkTest::StartedAppState state;
    QVERIFY(state.ok());
    const QString path = LarkTest::unusualIcsFile(kind, state.dir());
    QVERIFY(!path.isEmpty());
    MainWindow window(state.get());
    ModalAnswerer answers({});
    window.importIcsFromCommand(path);
    QVERIFY(answers.seen.isEmpty());
    QCOMPARE(statusText(window), status.arg(path));
    QCOMPARE(eventCount(state.get()), 0);
}

void TestMainWindow::commandsWaitWhileADialogIsOpen()
{
    LarkTest::StartedAppState state;
    QVERIFY(state.ok());
    MainWindow window(state.get());
    const QString later = writeFile(state.dir(), QStringLiteral("later.ics"), twoEvents("Later"));
    QVERIFY(!later.isEmpty());
    ModalAnswerer answers({[&](QDialog *dialog) {
                               // More commands arrive while the first picker is open; the same
                               // file twice is imported once. The event form is rejected.
                               window.importIcsFromCommand(later);
                               window.importIcsFromCommand(later);
                               window.newEventFromCommand();
                               dialog->accept();
                           },
                           acceptDialog});
    window.importIcsFromCommand(LarkTest::dataPath(QStringLiteral("ics/exchange_meeting.ics")));

    QCOMPARE(
        answers.seen,
        QStringList({QStringLiteral("calendarPickerDialog"), QStringLiteral("calendarPickerDialog"),
                     QStringLiteral("eventFormDialog")}));
    QCOMPARE(eventCount(state.get()), 3);
}

void TestMainWindow::commandWaitingForTheUsersDialogRunsWhenItCloses()
{
    LarkTest::StartedAppState state;
    QVERIFY(state.ok());
    MainWindow window(state.get());
    const QString ics = LarkTest::dataPath(QStringLiteral("ics/exchange_meeting.ics"));
    ModalAnswerer answers({[&](QDialog *dialog) {
                               window.importIcsFromCommand(ics);
                               dialog->reject();
                           },
                           acceptDialog});
    // Preferences opens by its key, also on a desktop that names none of its own.
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, Qt::Key_Comma, Qt::ControlModifier);
    QTRY_COMPARE(
        answers.seen,
        QStringList({QStringLiteral("preferencesDialog"), QStringLiteral("calendarPickerDialog")}));
    QCOMPARE(eventCount(state.get()), 1);
}

// Cancelled at 15,000 of 50,000 events and quit 0.3 s later: the dialog says that the import is
// being taken back until it is, and after the program has ended none of its rows is left.
void TestMainWindow::importCancelledThenQuitLeavesNoRow()
{
    LarkTest::StartedAppState state;
    QVERIFY(state.ok());
    const QString path = writeFile(state.dir(), QStringLiteral("many.ics"),
                                   LarkTest::manyEvents(50000, "Imported"));
    QVERIFY(!path.isEmpty());
    const QString cancelled = QStringLiteral("Import cancelled; nothing was imported.");
    {
        MainWindow window(state.get());
        window.show();
        ModalAnswerer answers({acceptDialog, [](QDialog *) {
                               }});
        window.importIcsFromCommand(path);
        QPointer<QProgressDialog> progress
            = window.findChild<QProgressDialog *>(QStringLiteral("importProgressDialog"));
        QVERIFY(progress);
        QTRY_VERIFY_WITH_TIMEOUT(progress->isVisible() && progress->value() >= 15000, 60000);
        progress->findChild<QPushButton *>()->click();
        QVERIFY(progress && progress->isVisible());
        QCOMPARE(progress->labelText(), QStringLiteral("Taking back the import…"));
        QVERIFY(statusText(window) != cancelled);

        QTest::qWait(300);
        window.quitApplication();
        QTRY_VERIFY_WITH_TIMEOUT(window.isQuitting(), 60000);
        QVERIFY(!progress);
        QCOMPARE(statusText(window), cancelled);
    }
    // What the next run finds, read over a connection of its own.
    {
        QSqlDatabase after
            = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("afterExit"));
        after.setDatabaseName(state.dir() + QStringLiteral("/calendar.db"));
        QVERIFY(after.open());
        QSqlQuery q(after);
        QVERIFY(q.exec(QStringLiteral("SELECT (SELECT COUNT(*) FROM events), (SELECT COUNT(*) "
                                      "FROM import_run)")));
        QVERIFY(q.next());
        qInfo("rows after cancel and quit: %d", q.value(0).toInt());
        QCOMPARE(q.value(0).toInt(), 0);
        QCOMPARE(q.value(1).toInt(), 0);
    }
    QSqlDatabase::removeDatabase(QStringLiteral("afterExit"));
}

// What a killed import stored goes behind a dialog that is up before the first row goes, with
// its calendar held from sync until the last has; the box then says how many went.
void TestMainWindow::interruptedImportIsTakenBackBehindADialog()
{
    LarkTest::StartedAppState state;
    QVERIFY(state.ok());
    constexpr int kStored = 20000;
    const QString path = writeFile(state.dir(), QStringLiteral("many.ics"),
                                   LarkTest::manyEvents(kStored, "Imported"));
    QVERIFY(LarkTest::importFile(state->store(), path, kPersonal).ok);
    // The record a kill leaves: the import never marked complete.
    QSqlQuery q(state->database()->connection());
    QVERIFY(q.exec(QStringLiteral("INSERT INTO import_run (id, calendar_id, file_name) VALUES (1, "
                                  "'larkspindle-personal-default', 'many.ics')")));
    QVERIFY(q.exec(QStringLiteral("INSERT INTO import_added SELECT id FROM events")));
    g_boxes.clear();

    MainWindow window(state.get());
    window.show();
    // Another program writes as it begins: the dialog says so while it waits.
    QVERIFY(LarkTest::holdWriteLock(state.dir() + QStringLiteral("/calendar.db"), 1000));
    window.takeBackInterruptedImport();
    QPointer<QProgressDialog> progress
        = window.findChild<QProgressDialog *>(QStringLiteral("takeBackProgressDialog"));
    QVERIFY(progress && progress->isVisible());
    QCOMPARE(progress->labelText(), QStringLiteral("Taking back the import of many.ics…"));
    const QString waits = QStringLiteral(
        "Another program is writing to the calendar database; this goes on as soon as it is done.");
    QTRY_VERIFY(progress && progress->labelText().endsWith(waits));
    QCOMPARE(eventCount(state.get()), kStored);
    QVERIFY(state->store().imports()->isImportingInto(kPersonal));
    auto *takeBack = window.findChild<IcsImportJob *>();
    QVERIFY(takeBack);
    QSignalSpy steps(takeBack, &IcsImportJob::progress);

    QTRY_COMPARE_WITH_TIMEOUT(g_boxes.size(), 1, 30000);
    QCOMPARE(g_boxes.first(),
             QStringLiteral("The import of many.ics did not finish in the last run; the %1 "
                            "event(s) it had stored have been taken back.")
                 .arg(QLocale().toString(kStored)));
    // It went in steps the dialog showed.
    QVERIFY(steps.size() >= 2);
    QCOMPARE_LT(steps.first().at(0).toInt(), kStored);
    QCOMPARE(eventCount(state.get()), 0);
    QVERIFY(!state->store().imports()->isImportingInto(kPersonal));
    QTRY_VERIFY(!progress);
}

// The chain with the real boxes, answered by keys as a user does: the outcome's box, left open a
// while, closes with one Return and leaves the main window alone on the screen.
void TestMainWindow::importOutcomeBoxClosesWithOneReturn()
{
    LarkTest::StartedAppState state;
    QVERIFY(state.ok());
    const QString path = writeFile(state.dir(), QStringLiteral("few.ics"), twoEvents("Second"));
    MainWindow window(state.get());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    MessagePresenter::setHandler({});
    QPointer<QMessageBox> box;
    QElapsedTimer open;
    bool pressed = false;
    QTimer keys;
    connect(&keys, &QTimer::timeout, this, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (qobject_cast<CalendarPickerDialog *>(modal))
            return QTest::keyClick(modal->windowHandle(), Qt::Key_Return);
        if (!box && (box = qobject_cast<QMessageBox *>(modal)))
            open.start();
        if (box && open.elapsed() >= 5000 && !std::exchange(pressed, true))
            QTest::keyClick(box->windowHandle(), Qt::Key_Return);
        else if (box && open.elapsed() > 7000)
            box->done(QMessageBox::Ok); // one the Return left open, so that the test ends
    });
    keys.start(50);
    // From the event loop, as the menu or a second start brings it.
    QEventLoop loop;
    QTimer::singleShot(0, &window, [&] {
        window.importIcsFromCommand(path);
        loop.quit();
    });
    loop.exec();
    QCOMPARE_LT(open.elapsed(), 7000);
    QTest::qWait(1000);
    QWidgetList shown = QApplication::topLevelWidgets();
    shown.removeIf([](QWidget *widget) { return !widget->isVisible(); });
    QCOMPARE(shown, QWidgetList {&window});
    QCOMPARE(eventCount(state.get()), 2);
}

void TestMainWindow::newEventWithoutCalendarOpensTheManagerFirst()
{
    LarkTest::StartedAppState state;
    QVERIFY(state.ok());
    QVERIFY(state->calendars()->remove(kPersonal));
    MainWindow window(state.get());
    ModalAnswerer answers({[](QDialog *dialog) {
        dialog->accept();
    }});
    window.openNewEventDialog();
    // Closed without adding a calendar: the form never opens.
    QCOMPARE(answers.seen, QStringList {QStringLiteral("accountsCalendarsDialog")});
}

void TestMainWindow::newEventStoresAPendingEvent()
{
    LarkTest::StartedAppState state;
    QVERIFY(state.ok());
    MainWindow window(state.get());
    ModalAnswerer answers({[](QDialog *dialog) {
        auto *form = qobject_cast<EventFormDialog *>(dialog);
        if (!form) {
            dialog->reject();
            return;
        }
        form->titleEdit()->setText(QStringLiteral("Planning"));
        if (form->save().isEmpty())
            form->reject();
        else
            form->accept();
    }});
    window.openNewEventDialog();
    QCOMPARE(answers.seen, QStringList {QStringLiteral("eventFormDialog")});
    const QList<Event> events = state->events()->listByCalendar(kPersonal);
    QCOMPARE(events.size(), 1);
    QCOMPARE(events.first().title, QStringLiteral("Planning"));
    QCOMPARE(events.first().sync_status, QStringLiteral("pending"));
    QCOMPARE(parseICalendarEvents(events.first().raw_icalendar).size(), 1);
    QCOMPARE(statusText(window), QStringLiteral("Event \"Planning\" saved."));
}

void TestMainWindow::syncNowRunsTheRegisteredClient_data()
{
    QTest::addColumn<QString>("failure");
    QTest::addColumn<bool>("errored");
    QTest::addColumn<QString>("status");
    QTest::addColumn<bool>("atOnce");
    QTest::newRow("completes") << QString() << false << "Sync finished." << false;
    QTest::newRow("fails") << "server said no" << true << "Sync failed: server said no" << false;
    // Nothing to send: the run ends inside Sync Now, and its word stays.
    QTest::newRow("completes at once") << QString() << false << "Sync finished." << true;
}

void TestMainWindow::syncNowRunsTheRegisteredClient()
{
    QFETCH(QString, failure);
    QFETCH(bool, errored);
    QFETCH(QString, status);
    QFETCH(bool, atOnce);

    LarkTest::StartedAppState state;
    QVERIFY(state.ok());
    QStringList accountsRun;
    SyncClientRegistry::registerClient(
        QStringLiteral("larkspindle"),
        [&accountsRun, failure, atOnce](AppState *, const Account &account, QObject *parent) {
            accountsRun << account.id;
            return new ScriptedSyncRun(failure, parent, atOnce);
        });
    MainWindow window(state.get());

    window.syncNow();
    QCOMPARE(accountsRun, QStringList {QStringLiteral("personal-local-account")});
    QCOMPARE(state->isSyncBusy(), !atOnce);
    QTRY_VERIFY(!state->isSyncBusy());
    QCOMPARE(state->lastSyncErrored(), errored);
    if (errored)
        QCOMPARE(state->lastSyncErrorReason(), failure);
    QCOMPARE(statusText(window), status);
}

void TestMainWindow::syncNowKeepsAFailureOfTheSameRound()
{
    LarkTest::StartedAppState state;
    QVERIFY(state.ok());
    Account dav;
    dav.id = QStringLiteral("dav");
    dav.name = QStringLiteral("Work");
    dav.type = QStringLiteral("caldav");
    dav.created_at = dav.updated_at = QDateTime(QDate(2026, 1, 1), QTime(0, 0), Qt::UTC);
    QVERIFY(state->accounts()->insert(dav));
    SyncClientRegistry::registerClient(
        QStringLiteral("caldav"), [](AppState *, const Account &, QObject *parent) {
            return new ScriptedSyncRun(QStringLiteral("401"), parent);
        });
    SyncClientRegistry::registerClient(QStringLiteral("larkspindle"),
                                       [](AppState *, const Account &, QObject *parent) {
                                           return new ScriptedSyncRun(QString(), parent);
                                       });
    MainWindow window(state.get());
    QSignalSpy said(window.statusBar(), &QStatusBar::messageChanged);
    window.syncNow();
    QCOMPARE(state->syncDepth(), 2);
    QTRY_VERIFY(!state->isSyncBusy());
    QVERIFY(state->lastSyncErrored());
    QCOMPARE(statusText(window), QStringLiteral("Sync failed: 401"));
    QVERIFY(!said.contains({QStringLiteral("Sync finished.")}));
}

// The settings sync's pull is refused, then a calendar sync goes through: its "Sync finished."
// must not make the settings failure go away. The failure stays until a settings cycle works.
void TestMainWindow::settingsSyncTroubleIsShown()
{
    LarkTest::StartedAppState state;
    QVERIFY(state.ok());
    Larkspindle::ConfigSyncService *configSync = state->configSync();
    QVERIFY(configSync);
    LarkTest::FakeCloudService cloud;
    QVERIFY(cloud.listen());
    state->accountClient()->syncApiClient()->setBaseUrl(cloud.baseUrl());
    configSync->setSignedInCheck([] { return true; });
    SyncClientRegistry::registerClient(QStringLiteral("larkspindle"),
                                       [](AppState *, const Account &, QObject *parent) {
                                           return new ScriptedSyncRun(QString(), parent);
                                       });
    MainWindow window(state.get());
    window.show();
    QLabel *settings = window.settingsSyncStatus();
    QVERIFY(settings);
    QVERIFY(!settings->isVisible());

    cloud.failRequests("GET", QStringLiteral("/sync/pull"), LarkTest::FakeReply::empty(403));
    configSync->syncNow();
    QTRY_COMPARE(configSync->state(), Larkspindle::ConfigSyncService::Failed);
    window.syncNow();
    QTRY_VERIFY(!state->isSyncBusy());
    QCOMPARE(statusText(window), QStringLiteral("Sync finished."));
    QVERIFY(settings->isVisible());
    QCOMPARE(settings->text(),
             QStringLiteral("Settings sync failed: The settings could not be fetched (HTTP 403)"));
    // Read at a glance, so whole: on one line where the bar is wide, on more where it is not.
    const auto whole = [settings] {
        return settings->wordWrap()
            ? settings->height() >= settings->heightForWidth(settings->width())
            : settings->width() >= settings->fontMetrics().horizontalAdvance(settings->text());
    };
    // The message beside it gives way, and says so with "…" rather than stopping mid-word.
    auto *bar = qobject_cast<ElidingStatusBar *>(window.statusBar());
    QVERIFY(bar);
    bar->showMessage(QStringLiteral("Imported 1,234 events from public-holidays-2030.ics."));
    for (const int width : {1400, 420}) {
        window.resize(width, 400);
        QTRY_COMPARE(window.statusBar()->width(), width);
        QTRY_VERIFY2(whole() && settings->geometry().right() < width,
                     qPrintable(QStringLiteral("%1x%2 in %3")
                                    .arg(settings->width())
                                    .arg(settings->height())
                                    .arg(width)));
        const QString shown = bar->shownMessage();
        QVERIFY2(
            shown == statusText(window)
                || (shown.endsWith(QChar(0x2026))
                    && bar->fontMetrics().horizontalAdvance(shown) < settings->geometry().left()),
            qPrintable(shown));
    }
    QCOMPARE_NE(bar->shownMessage(), statusText(window));

    // A cycle under way leaves the failure standing; one that goes through takes it away.
    configSync->syncNow();
    QVERIFY(settings->isVisible());
    QTRY_COMPARE(configSync->state(), Larkspindle::ConfigSyncService::Idle);
    QVERIFY(!settings->isVisible());

    emit configSync->stateChanged(Larkspindle::ConfigSyncService::SignInRequired);
    QVERIFY(settings->isVisible());
    QCOMPARE(settings->text(), QStringLiteral("Sign in again to keep your settings in step."));
}

void TestMainWindow::syncNowNamesTypesWithoutAClient()
{
    LarkTest::StartedAppState state;
    QVERIFY(state.ok());
    SyncClientRegistry::registerClient(QStringLiteral("larkspindle"), {});
    MainWindow window(state.get());
    QSignalSpy busy(state.get(), &AppState::syncBusyChanged);
    // Only the calendar kept on this device: nothing to sync, and no word about its type.
    window.syncNow();
    QCOMPARE(busy.size(), 0);
    QCOMPARE(statusText(window), QStringLiteral("No account to sync."));

    int n = 0;
    for (const char *type : {"caldav", "zoho", "caldav"}) {
        Account account;
        account.id = QStringLiteral("account-%1").arg(++n);
        account.name = account.id;
        account.type = QString::fromLatin1(type);
        account.created_at = account.updated_at = QDateTime::currentDateTimeUtc();
        QVERIFY(state->accounts()->insert(account));
    }
    // Reached through the state's request too; each type named once, as users know it.
    emit state->syncNowRequested();
    QCOMPARE(busy.size(), 0);
    QCOMPARE(statusText(window), QStringLiteral("Sync is not available yet for CalDAV, Zoho."));
}

void TestMainWindow::focusOnEvent()
{
    LarkTest::StartedAppState state;
    QVERIFY(state.ok());
    Event weekly;
    weekly.id = QStringLiteral("weekly");
    weekly.uid = weekly.id;
    weekly.calendar_id = kPersonal;
    weekly.title = QStringLiteral("Choir");
    weekly.location = QStringLiteral("Hall");
    weekly.start_time = QDateTime(QDate(2026, 6, 1), QTime(18, 0));
    weekly.end_time = QDateTime(QDate(2026, 6, 1), QTime(19, 30));
    weekly.recurrence_rule = QStringLiteral("FREQ=WEEKLY");
    weekly.raw_icalendar = QStringLiteral("BEGIN:VCALENDAR\r\nEND:VCALENDAR");
    weekly.created = weekly.last_modified = QDateTime(QDate(2026, 5, 1), QTime(0, 0), Qt::UTC);
    QVERIFY(state->events()->insert(weekly));
    QVERIFY(state->preferences()->set(Prefs::TimeFormat, QStringLiteral("24")));
    MainWindow window(state.get());

    window.focusOnEvent(QStringLiteral("weekly"), QDate(2026, 6, 15));
    QVERIFY(window.isVisible());
    QCOMPARE(state->currentDate(), QDate(2026, 6, 15));
    QCOMPARE(state->selectedEventId(), QStringLiteral("weekly"));
    QWidget *popover = window.detailsPopover();
    QVERIFY(popover);
    QVERIFY(popover->isVisible());
    QCOMPARE(popover->findChild<QLabel *>(QStringLiteral("titleLabel"))->text(),
             QStringLiteral("Choir"));
    QCOMPARE(popover->findChild<QLabel *>(QStringLiteral("whenLabel"))->text(),
             QStringLiteral("Mon 15 Jun 2026, 18:00 – 19:30"));
    QCOMPARE(popover->findChild<QLabel *>(QStringLiteral("locationLabel"))->text(),
             QStringLiteral("Hall"));
    // The card sits over the middle of the window.
    QVERIFY(QRect(popover->pos(), popover->size()).contains(window.frameGeometry().center()));
}

void TestMainWindow::focusOnUnknownEventOnlyFocuses()
{
    LarkTest::StartedAppState state;
    QVERIFY(state.ok());
    MainWindow window(state.get());
    window.focusOnEvent(QStringLiteral("nope"), QDate());
    QVERIFY(window.isVisible());
    QVERIFY(!window.detailsPopover());
}

void TestMainWindow::developerMenuOnlyInTheDevInstance()
{
    LarkTest::StartedAppState state;
    QVERIFY(state.ok());
    qputenv("CALENDAR_INSTANCE", "test");
    {
        MainWindow window(state.get());
        QVERIFY(!window.developerMenu());
    }
    qputenv("CALENDAR_INSTANCE", "dev");
    MainWindow window(state.get());
    QMenu *menu = window.developerMenu();
    QVERIFY(menu);
    const QList<QAction *> actions = menu->actions();
    QCOMPARE(actions.size(), 2);
    QCOMPARE(actions.at(0)->text(), QStringLiteral("Load sample data"));
    actions.at(0)->trigger();
    QCOMPARE(statusText(window), QStringLiteral("Loaded 30 sample row(s)."));
    actions.at(0)->trigger();
    QCOMPARE(statusText(window), QStringLiteral("Loaded 0 sample row(s)."));
    actions.at(1)->trigger();
    QCOMPARE(statusText(window), QStringLiteral("Removed 30 sample row(s)."));
}

void TestMainWindow::helpMenu_data()
{
    QTest::addColumn<int>("entry"); // in the menu: update check, What's New, feedback
    QTest::addColumn<bool>("configured");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("opened"); // in the browser
    QTest::addColumn<QString>("dialog");

    QTest::newRow("update check without a feed")
        << 0 << false << "This build has no release feed, so it cannot check for updates."
        << QString() << QString();
    QTest::newRow("What's New without a feed")
        << 1 << false << "This build has no release feed, so it has no release notes to show."
        << QString() << QString();
    QTest::newRow("feedback without a page")
        << 2 << false << "This build has no feedback page configured." << QString() << QString();
    QTest::newRow("update check offered a release")
        << 0 << true << QString() << QString() << "updateDialog";
    QTest::newRow("feedback page")
        << 2 << true << QString() << "/feedback/?tags=calendar" << QString();
}

void TestMainWindow::helpMenu()
{
    QFETCH(int, entry);
    QFETCH(bool, configured);
    QFETCH(QString, status);
    QFETCH(QString, opened);
    QFETCH(QString, dialog);

    LarkTest::FakeHttpServer feed;
    QVERIFY(feed.listen());
    feed.route("GET", QStringLiteral("/calendar/stable/latest.json"),
               FeedFixtures::offering(QStringLiteral("1.4.0")));
    LarkTest::UrlSink browser;
    QDesktopServices::setUrlHandler(QStringLiteral("http"), &browser, "open");
    const QByteArray root = feed.url(QStringLiteral("/")).toString().toUtf8();
    qputenv("UPDATE_FEED_URL", configured ? root : QByteArray());
    qputenv("FEEDBACK_URL", configured ? root + "feedback/" : QByteArray());

    LarkTest::StartedAppState state;
    QVERIFY(state.ok());
    MainWindow window(state.get());
    window.show();
    const QList<QAction *> actions = window.helpMenu()->actions();
    QCOMPARE(actions.size(), 5); // three commands, a separator, About
    actions.at(entry)->trigger();

    if (!dialog.isEmpty())
        QTRY_VERIFY(window.findChild<QDialog *>(dialog));
    else
        QCOMPARE(window.findChildren<QDialog *>().size(), 0);
    QCOMPARE(statusText(window), status);
    QCOMPARE(browser.opened.size(), opened.isEmpty() ? 0 : 1);
    if (!opened.isEmpty())
        QCOMPARE(browser.opened.first().toString(QUrl::RemoveScheme | QUrl::RemoveAuthority),
                 opened);
    QCOMPARE(feed.requests().isEmpty(), !configured || entry == 2);

    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
    qunsetenv("UPDATE_FEED_URL");
    qunsetenv("FEEDBACK_URL");
}

void TestMainWindow::aboutNamesVersionAndLicences()
{
    LarkTest::StartedAppState state;
    QVERIFY(state.ok());
    MainWindow window(state.get());
    QStringList texts;
    ModalAnswerer answers({[&texts](QDialog *about) {
        for (const QLabel *label : about->findChildren<QLabel *>())
            texts << label->text();
        const auto *tabs = about->findChild<QTabWidget *>(QStringLiteral("licenceTabs"));
        for (int i = 0; tabs && i < tabs->count(); ++i) {
            const auto *text = tabs->widget(i)->findChild<QPlainTextEdit *>();
            texts << tabs->tabText(i) + QLatin1Char(':')
                    + (text ? text->toPlainText().section(QLatin1Char('\n'), 0, 9).simplified()
                            : QString());
        }
        about->reject();
    }});
    window.helpMenu()->actions().last()->trigger();
    QCOMPARE(answers.seen, QStringList {QStringLiteral("aboutDialog")});
    QVERIFY(texts.contains(QStringLiteral("Larkspindle Calendar")));
    QVERIFY(texts.contains(QStringLiteral("Version 1.3.4")));
    // The licence texts themselves, not just their names.
    QVERIFY2(texts.filter(QStringLiteral("IBM Plex:"))
                 .value(0)
                 .contains(QLatin1String("SIL Open Font License")),
             qPrintable(texts.join(QLatin1Char('|'))));
    QVERIFY2(
        texts.filter(QStringLiteral("Material Icons:")).value(0).contains(QLatin1String("Apache")),
        qPrintable(texts.join(QLatin1Char('|'))));
}

QTEST_MAIN(TestMainWindow)
#include "tst_MainWindow.moc"
