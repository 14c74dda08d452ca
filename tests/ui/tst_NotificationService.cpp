#include "platform/DesktopNotifier.h"
#include "storage/CalendarRepository.h"
#include "storage/Database.h"
#include "support/ReminderRows.h"
#include "support/SessionBus.h"
#include "support/StartedAppState.h"
#include "support/TestSupport.h"
#include "ui/dialogs/MissedRemindersDialog.h"
#include "ui/tray/NotificationService.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QListWidget>
#include <QSignalSpy>
#include <QtTest>

#include <sys/resource.h>

#include <algorithm>

namespace {

const QDateTime kNow = LarkTest::kReminderNow;
QDateTime at(int day, int h, int mi = 0, int s = 0)
{
    return LarkTest::reminderTime(day, h, mi, s);
}
const auto iso = LarkTest::isoText;

// A started application state on its own database, with the clock at kNow.
struct Fixture : LarkTest::ReminderRows
{
    LarkTest::StartedAppState state;

    Fixture()
    {
        if (!state.ok())
            return;
        connection = state->database()->connection();
        const QList<Calendar> calendars = state->calendars()->listAll();
        if (!calendars.isEmpty())
            calendarId = calendars.first().id;
    }

    bool ready() const { return state.ok() && !calendarId.isEmpty(); }
};

// A service whose balloons are recorded instead of reaching a tray.
struct Recorder
{
    QList<NotificationService::Balloon> shown;
    void attach(NotificationService &service)
    {
        service.setPresenter([this](const NotificationService::Balloon &b) {
            shown << b;
            return true;
        });
    }
};

// The desktop's notification service on a private bus, broken until a test mends it: it answers
// every notification with an error, or never answers.
class BrokenNotifications : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    bool broken = true;
    bool hangs = false;
    // How long the caller waits for an answer that does not come.
    int callerWaitsMs = 0;
    int calls = 0;
    // Notifications sent again while another call was still under way.
    int retriesAmidCalls = 0;

public slots:
    uint Notify(const QString &, uint, const QString &, const QString &summary, const QString &,
                const QStringList &, const QVariantMap &, int)
    {
        ++calls;
        if (!broken)
            return uint(calls);
        // A call is under way until it was answered or its caller gave up on it (a little
        // earlier here: the caller counts from before it reached the bus).
        const qint64 now = m_clock.elapsed();
        const bool underWay = std::any_of(m_underWayUntil.cbegin(), m_underWayUntil.cend(),
                                          [now](qint64 until) { return until > now; });
        if (m_titles.contains(summary) && underWay)
            ++retriesAmidCalls;
        m_titles << summary;
        if (hangs) {
            setDelayedReply(true);
            m_underWayUntil << now + callerWaitsMs - 50;
        } else {
            sendErrorReply(QDBusError::Failed, QStringLiteral("the notification daemon is broken"));
        }
        return 0;
    }

private:
    QElapsedTimer m_clock = [] {
        QElapsedTimer clock;
        clock.start();
        return clock;
    }();
    QList<qint64> m_underWayUntil;
    QStringList m_titles;
};

// CPU time this process has used, user and system, in milliseconds.
qint64 cpuMs()
{
    rusage usage = {};
    ::getrusage(RUSAGE_SELF, &usage);
    return (qint64(usage.ru_utime.tv_sec) + usage.ru_stime.tv_sec) * 1000
        + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000;
}

} // namespace

class TestNotificationService : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void withoutTrayOrNotifierRemindersWaitForTheWindow();
    void retryPause_data();
    void retryPause();
    void brokenDesktopIsTriedSparinglyThenTheReminderIsMissed_data();
    void brokenDesktopIsTriedSparinglyThenTheReminderIsMissed();
    void severalRemindersAreQueuedAndClicksFollowTheBalloonOnScreen();
    void failedEventQueryShowsNoTaskReminder();
    void failedAcknowledgementFiresAgain();
    void firstPollRunsSoonAfterConstruction();
};

void TestNotificationService::initTestCase()
{
    QVERIFY(LarkTest::installEnglish(this));
}

void TestNotificationService::withoutTrayOrNotifierRemindersWaitForTheWindow()
{
    Fixture f;
    QVERIFY(f.ready());
    QVERIFY(f.addEvent(QStringLiteral("e1"), QStringLiteral("One"), iso(at(10, 10, 10))));
    QVERIFY(f.addEvent(QStringLiteral("e2"), QStringLiteral("Two"), iso(at(10, 10, 20))));
    QVERIFY(f.addReminder(QStringLiteral("r1"), QStringLiteral("e1"), 10, iso(at(10, 10))));
    QVERIFY(f.addReminder(QStringLiteral("r2"), QStringLiteral("e2"), 20, iso(at(10, 10))));
    QVERIFY(f.addTask(QStringLiteral("t"), QStringLiteral("Task"), iso(at(10, 10)), false));
    QVERIFY(f.addTaskReminder(QStringLiteral("tr"), QStringLiteral("t"), 0));

    // No tray icon, and a session bus that is not there.
    NotificationService service(f.state.get(), nullptr);
    DesktopNotifier nowhere(QStringLiteral("unix:path=/nonexistent/bus"));
    service.setDesktopNotifier(&nowhere);
    QWidget window;
    service.setWindow(&window);
    QSignalSpy clicked(&service, &NotificationService::reminderClicked);
    QSignalSpy taskOpened(&service, &NotificationService::taskReminderOpened);

    // They wait, unacknowledged, also past the time they could fire in, and nothing is added
    // twice while they do.
    const auto waitingTitles = [&service] {
        QStringList titles;
        for (const NotificationService::Balloon &b : service.waiting())
            titles << b.title;
        return titles;
    };
    for (const QDateTime &t : {kNow, at(10, 12)}) {
        f.clock.set(t);
        service.poll();
        QCOMPARE(waitingTitles(), LarkTest::strings({"One", "Two", "Task"}));
        QVERIFY(!f.acknowledged(QStringLiteral("reminders"), QStringLiteral("r1")));
        QVERIFY(!f.acknowledged(QStringLiteral("task_reminders"), QStringLiteral("tr")));
    }

    // Showing the window lists them beside it; then they are done with.
    window.show();
    QTRY_VERIFY(service.missedDialog());
    MissedRemindersDialog *missed = service.missedDialog();
    QCOMPARE(missed->parentWidget(), &window);
    QVERIFY(!missed->isModal());
    QCOMPARE(missed->list()->count(), 3);
    // As of when they are listed: "Two" was 20 minutes ahead when it came due.
    QCOMPARE(missed->list()->item(1)->text(), QStringLiteral("Two\nStarted at 10:20 AM"));
    QVERIFY(service.waiting().isEmpty());
    QVERIFY(f.acknowledged(QStringLiteral("reminders"), QStringLiteral("r1")));
    QVERIFY(f.acknowledged(QStringLiteral("reminders"), QStringLiteral("r2")));
    QVERIFY(f.acknowledged(QStringLiteral("task_reminders"), QStringLiteral("tr")));
    emit missed->list()->itemActivated(missed->list()->item(1));
    emit missed->list()->itemActivated(missed->list()->item(2));
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(clicked[0][0].toString(), QStringLiteral("e2"));
    // A task's opens the day it is due.
    QCOMPARE(taskOpened.count(), 1);
    QCOMPARE(taskOpened[0][0].toDate(), QDate(2024, 1, 10));
    // Left open, the list says the time left as the clock goes on, not as it was when listed.
    QVERIFY(f.addEvent(QStringLiteral("e3"), QStringLiteral("Three"), iso(at(10, 12, 5))));
    QVERIFY(f.addReminder(QStringLiteral("r3"), QStringLiteral("e3"), 10, iso(at(10, 11, 55))));
    service.poll();
    QCOMPARE(missed->list()->count(), 4);
    QCOMPARE(missed->list()->item(3)->text(), QStringLiteral("Three\nIn 5 minutes (12:05 PM)"));
    f.clock.set(at(10, 12, 4, 40));
    QTRY_COMPARE(missed->list()->item(3)->text(), QStringLiteral("Three\nStarting now (12:05 PM)"));

    // Without any state the pass does nothing at all.
    NotificationService bare(nullptr, nullptr);
    bare.poll();
    QCOMPARE(bare.currentBalloon(), nullptr);
}

void TestNotificationService::retryPause_data()
{
    QTest::addColumn<int>("failures");
    QTest::addColumn<int>("pauseMs");
    // Tries at 0, 5, 15 and 35 s: four a minute, then the reminder is listed as missed.
    QTest::newRow("first") << 1 << 5000;
    QTest::newRow("second") << 2 << 10000;
    QTest::newRow("fourth") << 4 << 40000;
    QTest::newRow("at most a minute") << 5 << 60000;
    QTest::newRow("many") << 40 << 60000;
}

void TestNotificationService::retryPause()
{
    QFETCH(int, failures);
    QFETCH(int, pauseMs);
    QCOMPARE(Reminders::retryPauseMs(failures, NotificationService::kFirstRetryPauseMs), pauseMs);
}

void TestNotificationService::brokenDesktopIsTriedSparinglyThenTheReminderIsMissed_data()
{
    QTest::addColumn<bool>("hangs");
    QTest::newRow("answers with an error") << false;
    QTest::newRow("never answers") << true;
}

void TestNotificationService::brokenDesktopIsTriedSparinglyThenTheReminderIsMissed()
{
    QFETCH(bool, hangs);
    Fixture f;
    QVERIFY(f.ready());
    QVERIFY(f.addEvent(QStringLiteral("e1"), QStringLiteral("Standup"), iso(at(10, 10, 10))));
    QVERIFY(f.addReminder(QStringLiteral("r1"), QStringLiteral("e1"), 10, iso(at(10, 10))));

    LarkTest::SessionBus bus;
    QString busError;
    QVERIFY2(bus.start(&busError), qPrintable(busError));
    const QString address = bus.address();
    const QString connectionName
        = QStringLiteral("broken-notifications-") + QLatin1String(QTest::currentDataTag());
    {
        QDBusConnection connection = QDBusConnection::connectToBus(address, connectionName);
        BrokenNotifications fake;
        fake.hangs = hangs;
        QVERIFY(connection.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &fake,
                                          QDBusConnection::ExportAllSlots));
        QVERIFY(connection.registerService(QStringLiteral("org.freedesktop.Notifications")));

        NotificationService service(f.state.get(), nullptr);
        DesktopNotifier desktop(address);
        // Well above the pauses, so that a try started while a call is under way shows.
        fake.callerWaitsMs = 1000;
        desktop.setCallTimeout(fake.callerWaitsMs);
        service.setDesktopNotifier(&desktop);
        service.setFirstRetryPause(100);
        QWidget window;
        service.setWindow(&window);
        window.show();

        // Tried again after 100, 200, 400 and 800 ms, one call at a time; the program idles in
        // between. A second reminder comes while the first one's call is under way.
        const qint64 cpuBefore = cpuMs();
        service.poll();
        QTest::qWait(300);
        QVERIFY(f.addEvent(QStringLiteral("e2"), QStringLiteral("Review"), iso(at(10, 10, 20))));
        QVERIFY(f.addReminder(QStringLiteral("r2"), QStringLiteral("e2"), 20, iso(at(10, 10))));
        service.poll();
        QTest::qWait(1700);
        const qint64 cpuUsed = cpuMs() - cpuBefore;
        qInfo("%d tries and %lld ms of CPU time in 2 s", fake.calls, cpuUsed);
        QVERIFY2(fake.calls >= 2 && fake.calls <= 5, qPrintable(QString::number(fake.calls)));
        QCOMPARE(fake.retriesAmidCalls, 0);
        QVERIFY2(cpuUsed < 400, qPrintable(QString::number(cpuUsed)));
        QCOMPARE(service.missedDialog(), nullptr);
        QVERIFY(!f.acknowledged(QStringLiteral("reminders"), QStringLiteral("r1")));
        // Another poll leaves the reminders to their tries.
        service.poll();

        // A minute on, they are listed beside the window, once each, and done with.
        f.clock.set(kNow.addSecs(NotificationService::kGiveUpSecs));
        QTRY_VERIFY_WITH_TIMEOUT(service.missedDialog(), 5000);
        QListWidget *missed = service.missedDialog()->list();
        QTRY_COMPARE_WITH_TIMEOUT(missed->count(), 2, 3000);
        QStringList titles {missed->item(0)->text().section(QLatin1Char('\n'), 0, 0),
                            missed->item(1)->text().section(QLatin1Char('\n'), 0, 0)};
        titles.sort();
        QCOMPARE(titles, LarkTest::strings({"Review", "Standup"}));
        QVERIFY(f.acknowledged(QStringLiteral("reminders"), QStringLiteral("r1")));
        QVERIFY(f.acknowledged(QStringLiteral("reminders"), QStringLiteral("r2")));
        QCOMPARE(service.retryingCount(), 0);
        QCOMPARE(fake.retriesAmidCalls, 0);
        const int calls = fake.calls;
        service.poll();
        QTest::qWait(300);
        QCOMPARE(fake.calls, calls);

        // The service works again: the next reminder goes out at once, not after the pause the
        // failures before had come to.
        fake.broken = false;
        const QDateTime later = f.clock.now();
        QVERIFY(f.addEvent(QStringLiteral("e3"), QStringLiteral("Retro"), iso(later.addSecs(600))));
        QVERIFY(f.addReminder(QStringLiteral("r3"), QStringLiteral("e3"), 10, iso(later)));
        service.poll();
        QCOMPARE(service.retryingCount(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(f.acknowledged(QStringLiteral("reminders"), QStringLiteral("r3")),
                                 1000);
        QCOMPARE(fake.calls, calls + 1);
        QCOMPARE(missed->count(), 2);
    }
    QDBusConnection::disconnectFromBus(connectionName);
}

void TestNotificationService::severalRemindersAreQueuedAndClicksFollowTheBalloonOnScreen()
{
    Fixture f;
    QVERIFY(f.ready());
    QVERIFY(f.addEvent(QStringLiteral("a"), QStringLiteral("Alpha"), iso(at(10, 10, 10))));
    QVERIFY(f.addEvent(QStringLiteral("b"), QStringLiteral("Beta"), iso(at(11, 10, 0))));
    QVERIFY(f.addEvent(QStringLiteral("c"), QStringLiteral("Gamma"), iso(at(10, 10, 30))));
    QVERIFY(f.addReminder(QStringLiteral("ra"), QStringLiteral("a"), 15, iso(at(10, 9, 55))));
    QVERIFY(f.addReminder(QStringLiteral("rb"), QStringLiteral("b"), 1440, iso(at(10, 9, 58))));
    QVERIFY(f.addReminder(QStringLiteral("rc"), QStringLiteral("c"), 30, iso(at(10, 10, 0))));

    NotificationService service(f.state.get(), nullptr);
    service.setBalloonDuration(500);
    Recorder rec;
    rec.attach(service);
    QSignalSpy clicked(&service, &NotificationService::reminderClicked);
    service.poll();

    QCOMPARE(rec.shown.size(), 1);
    QVERIFY(service.currentBalloon());
    QCOMPARE(service.currentBalloon()->eventId, QStringLiteral("a"));
    QCOMPARE(service.queuedCount(), 2);

    // A click answers the balloon on screen and brings the next one up.
    service.onBalloonClicked();
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(clicked[0][0].toString(), QStringLiteral("a"));
    QCOMPARE(clicked[0][1].toDate(), QDate(2024, 1, 10));
    QCOMPARE(rec.shown.size(), 2);
    QCOMPARE(rec.shown[1].eventId, QStringLiteral("b"));

    // When a balloon's time is up the next replaces it, saying the time left as it shows; a
    // click then refers to that one.
    f.clock.set(at(10, 10, 20));
    QTRY_COMPARE(rec.shown.size(), 3);
    QCOMPARE(rec.shown[2].eventId, QStringLiteral("c"));
    QCOMPARE(rec.shown[2].body, QStringLiteral("In 10 minutes (10:30 AM)"));
    service.onBalloonClicked();
    QCOMPARE(clicked.count(), 2);
    QCOMPARE(clicked[1][0].toString(), QStringLiteral("c"));
    QCOMPARE(service.currentBalloon(), nullptr);
    QCOMPARE(service.queuedCount(), 0);

    // A second poll while balloons wait adds behind them, the tasks' after the events'.
    QVERIFY(f.addReminder(QStringLiteral("ra2"), QStringLiteral("a"), 5, iso(at(10, 10, 5))));
    QVERIFY(f.addReminder(QStringLiteral("rb2"), QStringLiteral("b"), 5, iso(at(10, 10, 5))));
    QVERIFY(f.addTask(QStringLiteral("t"), QStringLiteral("Task"), iso(at(10, 10, 5)), false));
    QVERIFY(f.addTaskReminder(QStringLiteral("tr"), QStringLiteral("t"), 0));
    f.clock.set(at(10, 10, 5));
    service.showTestNotification();
    service.poll();
    QCOMPARE(service.currentBalloon()->title, QStringLiteral("Test reminder"));
    QCOMPARE(rec.shown[3].body,
             QStringLiteral("If you can see this, your desktop notifications are wired up "
                            "correctly. Real reminders look just like this one."));
    QVERIFY(!rec.shown[3].date.isValid());
    QCOMPARE(service.queuedCount(), 3);
    QCOMPARE(rec.shown.size(), 4);
    // Waiting in the queue they are not shown yet, nor acknowledged, nor queued again.
    QVERIFY(!f.acknowledged(QStringLiteral("reminders"), QStringLiteral("ra2")));
    service.poll();
    QCOMPARE(service.queuedCount(), 3);
    // A click on the test balloon, as on a task's, opens nothing.
    service.onBalloonClicked();
    QCOMPARE(clicked.count(), 2);
    QVERIFY(f.acknowledged(QStringLiteral("reminders"), QStringLiteral("ra2")));
    QVERIFY(!f.acknowledged(QStringLiteral("reminders"), QStringLiteral("rb2")));
    service.onBalloonClicked();
    QVERIFY(f.acknowledged(QStringLiteral("reminders"), QStringLiteral("rb2")));
    service.onBalloonClicked();
    QCOMPARE(clicked.count(), 4);
    QCOMPARE(service.currentBalloon()->body, QStringLiteral("Due now (10:05 AM)"));
    service.onBalloonClicked();
    QCOMPARE(clicked.count(), 4);
}

void TestNotificationService::failedEventQueryShowsNoTaskReminder()
{
    Fixture f;
    QVERIFY(f.ready());
    QVERIFY(f.addTask(QStringLiteral("t"), QStringLiteral("Task"), iso(at(10, 10)), false));
    QVERIFY(f.addTaskReminder(QStringLiteral("tr"), QStringLiteral("t"), 0));
    QVERIFY(f.exec(QStringLiteral("ALTER TABLE reminders RENAME COLUMN trigger_time TO t2")));
    NotificationService service(f.state.get(), nullptr);
    Recorder rec;
    rec.attach(service);
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral(
                             "^EventRepository::unacknowledgedReminders failed:.*trigger_time")));
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("^NotificationService poll failed:")));
    service.poll();
    QCOMPARE(rec.shown.size(), 0);
    QVERIFY(!f.acknowledged(QStringLiteral("task_reminders"), QStringLiteral("tr")));
}

void TestNotificationService::failedAcknowledgementFiresAgain()
{
    Fixture f;
    QVERIFY(f.ready());
    QVERIFY(f.addEvent(QStringLiteral("e"), QStringLiteral("Sticky"), iso(at(10, 10, 10))));
    QVERIFY(f.addReminder(QStringLiteral("r"), QStringLiteral("e"), 10, iso(at(10, 10))));
    QVERIFY(f.exec(QStringLiteral("CREATE TRIGGER no_ack BEFORE UPDATE ON reminders BEGIN "
                                  "SELECT RAISE(ABORT, 'read-only'); END")));
    NotificationService service(f.state.get(), nullptr);
    Recorder rec;
    rec.attach(service);
    const QRegularExpression storeWarning(
        QStringLiteral("^EventRepository::acknowledgeReminders failed:.*read-only"));
    const QRegularExpression ackWarning(
        QStringLiteral("^NotificationService ack failed for \"reminders\" :.*read-only"));
    QTest::ignoreMessage(QtWarningMsg, storeWarning);
    QTest::ignoreMessage(QtWarningMsg, ackWarning);
    service.poll();
    QCOMPARE(rec.shown.size(), 1);
    service.onBalloonClicked();
    QTest::ignoreMessage(QtWarningMsg, storeWarning);
    QTest::ignoreMessage(QtWarningMsg, ackWarning);
    service.poll();
    QCOMPARE(rec.shown.size(), 2);
    QCOMPARE(rec.shown[1].title, QStringLiteral("Sticky"));
}

void TestNotificationService::firstPollRunsSoonAfterConstruction()
{
    Fixture f;
    QVERIFY(f.ready());
    QVERIFY(f.addEvent(QStringLiteral("e"), QStringLiteral("Soon"), iso(at(10, 10, 10))));
    QVERIFY(f.addReminder(QStringLiteral("r"), QStringLiteral("e"), 10, iso(at(10, 10))));
    NotificationService service(f.state.get(), nullptr);
    Recorder rec;
    rec.attach(service);
    QTest::qWait(1500);
    QVERIFY(!f.acknowledged(QStringLiteral("reminders"), QStringLiteral("r")));
    QTRY_VERIFY_WITH_TIMEOUT(f.acknowledged(QStringLiteral("reminders"), QStringLiteral("r")),
                             3000);
}

QTEST_MAIN(TestNotificationService)
#include "tst_NotificationService.moc"
