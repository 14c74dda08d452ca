#include "core/AppState.h"
#include "ui/FirstPaint.h"
#include "ui/tray/TrayManager.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

const QDateTime kNow(QDate(2024, 1, 10), QTime(10, 7), Qt::UTC); // a Wednesday
const QColor kBase(90, 90, 90);
const QString k12h = QStringLiteral("h:mm AP");

QIcon plainIcon()
{
    QIcon icon;
    for (int size : TrayLook::kIconSizes) {
        QPixmap pm(size, size);
        pm.fill(kBase);
        icon.addPixmap(pm);
    }
    return icon;
}

Event timed(const QString &title, const QDateTime &start)
{
    Event e;
    e.id = QStringLiteral("e1");
    e.title = title;
    e.start_time = start;
    e.end_time = start.addSecs(3600);
    return e;
}

Event allDay(const QString &title, const QDate &date)
{
    Event e;
    e.id = QStringLiteral("e2");
    e.title = title;
    e.is_all_day = true;
    e.start_time = QDateTime(date, QTime(0, 0), Qt::UTC);
    return e;
}

} // namespace

Q_DECLARE_METATYPE(std::optional<Event>)

class TestTrayManager : public QObject
{
    Q_OBJECT

private slots:
    void badgeColor_data();
    void badgeColor();
    void badgeGeometry_data();
    void badgeGeometry();
    void plainStateKeepsTheApplicationIcon();
    void applicationIconGetsABadgeAtEverySize();
    void tooltip_data();
    void tooltip();
    void activationReasons_data();
    void activationReasons();
    void withoutSystemTrayNothingIsCreated();
    void storeReadsWaitForTheFirstPaint();
};

void TestTrayManager::badgeColor_data()
{
    QTest::addColumn<bool>("busy");
    QTest::addColumn<bool>("errored");
    QTest::addColumn<QColor>("expected");
    QTest::newRow("idle") << false << false << QColor();
    QTest::newRow("syncing") << true << false << QColor(66, 133, 244);
    QTest::newRow("last sync failed") << false << true << QColor(229, 57, 53);
    QTest::newRow("failed while a new sync runs") << true << true << QColor(229, 57, 53);
}

void TestTrayManager::badgeColor()
{
    QFETCH(bool, busy);
    QFETCH(bool, errored);
    QFETCH(QColor, expected);
    const std::optional<QColor> color = TrayLook::badgeColor(busy, errored);
    QCOMPARE(color.value_or(QColor()), expected);
}

void TestTrayManager::badgeGeometry_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<QRect>("rect");
    QTest::addColumn<int>("pen");
    QTest::addColumn<bool>("errored");
    QTest::newRow("16 px, red") << 16 << QRect(10, 10, 5, 5) << 2 << true;
    QTest::newRow("24 px, blue") << 24 << QRect(15, 15, 8, 8) << 4 << false;
    QTest::newRow("32 px, red") << 32 << QRect(20, 20, 11, 11) << 5 << true;
    QTest::newRow("48 px, blue") << 48 << QRect(30, 30, 17, 17) << 8 << false;
}

void TestTrayManager::badgeGeometry()
{
    QFETCH(int, size);
    QFETCH(QRect, rect);
    QFETCH(int, pen);
    QFETCH(bool, errored);
    QCOMPARE(TrayLook::badgeRect(size), rect);
    QCOMPARE(TrayLook::badgePenWidth(size), pen);

    const QColor badge = *TrayLook::badgeColor(!errored, errored);
    const QImage image = TrayLook::statusIcon(plainIcon(), !errored, errored)
                             .pixmap(size, size)
                             .toImage()
                             .convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(image.size(), QSize(size, size));
    // The circle's centre is the badge colour; the rest of the icon is untouched.
    const QPoint centre(rect.left() + rect.width() / 2, rect.top() + rect.height() / 2);
    QCOMPARE(image.pixelColor(centre), badge);
    QCOMPARE(image.pixelColor(0, 0), kBase);
    QCOMPARE(image.pixelColor(size / 2, size / 2), kBase);
    QCOMPARE(image.pixelColor(size - 1, 0), kBase);
    QCOMPARE(image.pixelColor(0, size - 1), kBase);
    // The white outline lightens the circle's top edge well beyond the badge and the base.
    const QColor edge = image.pixelColor(centre.x(), rect.top());
    QVERIFY2(edge.green() > 150 && edge.blue() > 150, qPrintable(edge.name()));
}

void TestTrayManager::plainStateKeepsTheApplicationIcon()
{
    const QIcon base = plainIcon();
    QCOMPARE(TrayLook::statusIcon(base, false, false).cacheKey(), base.cacheKey());
}

void TestTrayManager::applicationIconGetsABadgeAtEverySize()
{
    const QIcon app(QStringLiteral(":/icons/app-icon.png"));
    QVERIFY(!app.isNull());
    const QIcon badged = TrayLook::statusIcon(app, true, false);
    QList<QSize> sizes = badged.availableSizes();
    std::sort(sizes.begin(), sizes.end(),
              [](const QSize &a, const QSize &b) { return a.width() < b.width(); });
    QCOMPARE(sizes, (QList<QSize> {{16, 16}, {24, 24}, {32, 32}, {48, 48}}));
    for (int size : TrayLook::kIconSizes) {
        const QRect r = TrayLook::badgeRect(size);
        const QImage image = badged.pixmap(size, size).toImage();
        QCOMPARE(image.pixelColor(r.center()), QColor(66, 133, 244));
    }
}

void TestTrayManager::tooltip_data()
{
    QTest::addColumn<bool>("errored");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<std::optional<Event>>("next");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("expected");
    const std::optional<Event> none;
    const std::optional<Event> standup = timed(QStringLiteral("Standup"), kNow.addSecs(3600));
    QTest::newRow("failed without reason")
        << true << QString() << standup << k12h
        << QStringLiteral("Larkspindle Calendar \u2014 Last sync failed");
    QTest::newRow("failure wins over the next event")
        << true << QStringLiteral("401 Unauthorized") << standup << k12h
        << QStringLiteral("Larkspindle Calendar \u2014 Sync failed: 401 Unauthorized");
    QTest::newRow("nothing ahead")
        << false << QString() << none << k12h
        << QStringLiteral("Larkspindle Calendar \u2014 No upcoming events");
    QTest::newRow("timed today") << false << QString() << standup << k12h
                                 << QStringLiteral(
                                        "Larkspindle Calendar \u2014 Next: Standup at 11:07 AM");
    QTest::newRow("timed today, 24-hour")
        << false << QString()
        << std::optional<Event>(timed(QStringLiteral("Standup"), kNow.addSecs(4 * 3600)))
        << QStringLiteral("HH:mm")
        << QStringLiteral("Larkspindle Calendar \u2014 Next: Standup at 14:07");
    QTest::newRow("timed tomorrow")
        << false << QString()
        << std::optional<Event>(timed(QStringLiteral("Dentist"), kNow.addDays(1))) << k12h
        << QStringLiteral("Larkspindle Calendar \u2014 Next: Dentist tomorrow at 10:07 AM");
    QTest::newRow("timed later")
        << false << QString()
        << std::optional<Event>(timed(QStringLiteral("Trip"), kNow.addDays(3))) << k12h
        << QStringLiteral("Larkspindle Calendar \u2014 Next: Trip Sat, Jan 13 10:07 AM");
    QTest::newRow("untitled") << false << QString()
                              << std::optional<Event>(timed(QString(), kNow.addSecs(600))) << k12h
                              << QStringLiteral(
                                     "Larkspindle Calendar \u2014 Next: Untitled at 10:17 AM");
    QTest::newRow("all day today")
        << false << QString()
        << std::optional<Event>(allDay(QStringLiteral("Holiday"), kNow.date())) << k12h
        << QStringLiteral("Larkspindle Calendar \u2014 Next: Holiday (today, all day)");
    QTest::newRow("all day tomorrow")
        << false << QString()
        << std::optional<Event>(allDay(QStringLiteral("Holiday"), kNow.date().addDays(1))) << k12h
        << QStringLiteral("Larkspindle Calendar \u2014 Next: Holiday (tomorrow, all day)");
    QTest::newRow("all day in two days")
        << false << QString()
        << std::optional<Event>(allDay(QStringLiteral("Holiday"), kNow.date().addDays(2))) << k12h
        << QStringLiteral("Larkspindle Calendar \u2014 Next: Holiday (Fri, Jan 12, all day)");
    QTest::newRow("title with a placeholder")
        << false << QString()
        << std::optional<Event>(timed(QStringLiteral("50%2 off"), kNow.addSecs(600))) << k12h
        << QStringLiteral("Larkspindle Calendar \u2014 Next: 50%2 off at 10:17 AM");
}

void TestTrayManager::tooltip()
{
    QFETCH(bool, errored);
    QFETCH(QString, reason);
    QFETCH(std::optional<Event>, next);
    QFETCH(QString, format);
    QFETCH(QString, expected);
    QCOMPARE(TrayLook::tooltip(errored, reason, next, kNow, format), expected);
}

void TestTrayManager::activationReasons_data()
{
    QTest::addColumn<QSystemTrayIcon::ActivationReason>("reason");
    QTest::addColumn<bool>("toggles");
    QTest::newRow("click") << QSystemTrayIcon::Trigger << true;
    QTest::newRow("double click") << QSystemTrayIcon::DoubleClick << true;
    QTest::newRow("middle click") << QSystemTrayIcon::MiddleClick << true;
    QTest::newRow("context menu") << QSystemTrayIcon::Context << false;
    QTest::newRow("unknown") << QSystemTrayIcon::Unknown << false;
}

void TestTrayManager::activationReasons()
{
    QFETCH(QSystemTrayIcon::ActivationReason, reason);
    QFETCH(bool, toggles);
    QCOMPARE(TrayLook::togglesPopover(reason), toggles);
}

void TestTrayManager::withoutSystemTrayNothingIsCreated()
{
    if (QSystemTrayIcon::isSystemTrayAvailable())
        QSKIP("this platform has a system tray");
    QTemporaryDir dir;
    AppState state;
    QVERIFY(state.initialize(dir.filePath(QStringLiteral("calendar.db"))));
    TrayManager tray(&state, nullptr);
    tray.setup();
    QCOMPARE(tray.trayIcon(), nullptr);
    QCOMPARE(tray.menu(), nullptr);
    QCOMPARE(tray.popover(), nullptr);
    QCOMPARE(tray.findChildren<QTimer *>().size(), 0);
    // State changes reach nothing and break nothing.
    state.beginSync();
    state.endSync(true);
    tray.updateIcon();
    tray.updateTooltip();
    QCOMPARE(tray.trayIcon(), nullptr);
}

// What the tray reads at start waits until the window has been painted, or until the event
// loop runs when the window starts hidden; never inside the call that sets it up.
void TestTrayManager::storeReadsWaitForTheFirstPaint()
{
    QWidget window;
    window.resize(200, 100);
    int paints = 0;
    int paintsBeforeStep = -1;
    bool hiddenRan = false;
    struct PaintCounter : QObject
    {
        int *paints;
        bool eventFilter(QObject *, QEvent *e) override
        {
            *paints += e->type() == QEvent::Paint;
            return false;
        }
    } counter;
    counter.paints = &paints;
    window.installEventFilter(&counter);

    afterFirstPaint(nullptr, &window, [&] { hiddenRan = true; });
    window.show();
    afterFirstPaint(&window, &window, [&] { paintsBeforeStep = paints; });
    QVERIFY(!hiddenRan);
    QCOMPARE(paintsBeforeStep, -1);
    QTRY_VERIFY(hiddenRan);
    QTRY_VERIFY(paintsBeforeStep >= 1);
}

QTEST_MAIN(TestTrayManager)
#include "tst_TrayManager.moc"
