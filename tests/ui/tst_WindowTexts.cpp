// Every window of the program opened in German at font scale 150 %: no button, label, field,
// tab or menu may cut its text or be narrower than its text needs, no check box or button glyph
// stays small beside its text, and every window stays on the screen. With LARK_GALLERY_DIR set,
// `gallery` photographs the same windows instead (in the language, theme and font scale
// LARK_GALLERY_LANGUAGE, _THEME and _FONT_SCALE name), which scripts/screenshots runs under Xvfb.

#include "app/Application.h"
#include "core/AppState.h"
#include "core/IcsImport.h"
#include "core/QuickAddQueue.h"
#include "core/TimeFormat.h"
#include "model/Clock.h"
#include "platform/DataPaths.h"
#include "services/account/ApiClient.h"
#include "services/account/Client.h"
#include "services/account/TokenManager.h"
#include "services/sync/cloud/ConfigSyncService.h"
#include "services/sync/cloud/SharingBackend.h"
#include "services/update/ReleaseManifest.h"
#include "storage/AccountRepository.h"
#include "storage/CalendarRepository.h"
#include "storage/EventRepository.h"
#include "support/FakeCloudService.h"
#include "support/IcsFiles.h"
#include "support/StartedAppState.h"
#include "support/TestFiles.h"
#include "support/TestSupport.h"
#include "ui/MessagePresenter.h"
#include "ui/ScrollingBody.h"
#include "ui/TabOrder.h"
#include "ui/WindowFit.h"
#include "ui/account/AccountScreen.h"
#include "ui/account/ShareMembersDialog.h"
#include "ui/dialogs/AboutDialog.h"
#include "ui/dialogs/AccountsCalendarsDialog.h"
#include "ui/dialogs/CalendarPickerDialog.h"
#include "ui/dialogs/ColorPickerDialog.h"
#include "ui/dialogs/EventDetailsPopover.h"
#include "ui/dialogs/EventFormDialog.h"
#include "ui/dialogs/MissedRemindersDialog.h"
#include "ui/dialogs/PreferencesDialog.h"
#include "ui/dialogs/WeatherSettingsDialog.h"
#include "ui/mainwindow/ElidingStatusBar.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/theme/Theme.h"
#include "ui/theme/ThemeManager.h"
#include "ui/tray/NotificationService.h"
#include "ui/tray/TrayManager.h"
#include "ui/tray/WinTrayPopover.h"
#include "ui/update/UpdateDialog.h"
#include "ui/update/WhatsNewDialog.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QSystemTrayIcon>
#include <QTabBar>
#include <QTest>
#include <QTimer>

#include <cstdlib>
#include <functional>
#include <memory>

namespace {

const QDateTime kNow(QDate(2026, 12, 10), QTime(9, 20)); // a Thursday, local time
const QString kProduct = QStringLiteral("Larkspindle Calendar");

QString setting(const char *name, const char *fallback)
{
    const QString value = qEnvironmentVariable(name);
    return value.isEmpty() ? QString::fromLatin1(fallback) : value;
}

// One window as the program opens it; the function returns it shown.
struct Opener
{
    QString name;
    std::function<QWidget *()> open;
};

QString describe(const QWidget *widget, const QString &text)
{
    return QStringLiteral("%1 %2 \"%3\"")
        .arg(QString::fromLatin1(widget->metaObject()->className()),
             widget->objectName().isEmpty() ? QString() : widget->objectName(), text);
}

// Texts that do not fit the widget that shows them.
QStringList cutTexts(QWidget *window)
{
    QStringList faults;
    const auto check = [&faults](const QWidget *w, const QString &text, int need, int have) {
        if (have < need)
            faults << QStringLiteral("%1 needs %2 px, has %3")
                          .arg(describe(w, text))
                          .arg(need)
                          .arg(have);
    };
    QList<QWidget *> widgets = window->findChildren<QWidget *>();
    widgets.prepend(window);
    for (QWidget *w : std::as_const(widgets)) {
        if (!w->isVisibleTo(window) && w != window)
            continue;
        // A field lower than it asks to be cuts its text's tops or descenders.
        QWidget *holder = w->parentWidget();
        if (qobject_cast<QComboBox *>(w) || qobject_cast<QAbstractSpinBox *>(w)
            || (qobject_cast<QLineEdit *>(w) && !qobject_cast<QAbstractSpinBox *>(holder)
                && !qobject_cast<QComboBox *>(holder)))
            check(w, QStringLiteral("height"), w->sizeHint().height(), w->height());
        if (auto *button = qobject_cast<QAbstractButton *>(w)) {
            if (!button->text().isEmpty())
                check(button, button->text(), button->sizeHint().width(), button->width());
            // Boxes and glyphs beside a text grow with it: none smaller than the text's capitals.
            const int ascent = QFontMetrics(button->font()).ascent();
            if (qobject_cast<QCheckBox *>(w) || qobject_cast<QRadioButton *>(w)) {
                const QStyle::PixelMetric metric = qobject_cast<QCheckBox *>(w)
                    ? QStyle::PM_IndicatorHeight
                    : QStyle::PM_ExclusiveIndicatorHeight;
                check(button, QStringLiteral("indicator"), ascent,
                      button->style()->pixelMetric(metric, nullptr, button));
            } else if (!button->icon().isNull() && !button->text().isEmpty()) {
                check(button, QStringLiteral("icon"), ascent * 4 / 5, button->iconSize().height());
            }
        } else if (auto *label = qobject_cast<QLabel *>(w)) {
            if (label->text().isEmpty())
                continue;
            if (label->wordWrap())
                check(label, label->text(), label->heightForWidth(label->width()), label->height());
            else
                check(label, label->text(), label->sizeHint().width(), label->width());
        } else if (auto *combo = qobject_cast<QComboBox *>(w)) {
            check(combo, combo->currentText(), combo->sizeHint().width(), combo->width());
        } else if (auto *spin = qobject_cast<QAbstractSpinBox *>(w)) {
            check(spin, spin->text(), spin->sizeHint().width(), spin->width());
        } else if (auto *edit = qobject_cast<QLineEdit *>(w)) {
            if (qobject_cast<QAbstractSpinBox *>(edit->parentWidget())
                || qobject_cast<QComboBox *>(edit->parentWidget())
                || edit->placeholderText().isEmpty() || !edit->text().isEmpty())
                continue;
            // The room the field paints its placeholder in, measured as it measures it.
            QStyleOptionFrame option;
            option.initFrom(edit);
            option.rect = edit->rect();
            option.lineWidth
                = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit);
            option.state |= QStyle::State_Sunken;
            const QRect contents = edit->style()
                                       ->subElementRect(QStyle::SE_LineEditContents, &option, edit)
                                       .marginsRemoved(edit->textMargins());
            const QFontMetrics fm(edit->font());
            const int room = contents.width() - 2 * 2 - std::max(0, -fm.minLeftBearing());
            check(edit, edit->placeholderText(), fm.horizontalAdvance(edit->placeholderText()),
                  room);
        } else if (auto *tabs = qobject_cast<QTabBar *>(w)) {
            QStringList texts;
            for (int i = 0; i < tabs->count(); ++i)
                texts << tabs->tabText(i);
            check(tabs, texts.join(QStringLiteral(" | ")), tabs->sizeHint().width(), tabs->width());
        } else if (auto *status = qobject_cast<QStatusBar *>(w)) {
            // The message is painted left of the first permanent widget; what stands there
            // leaves it a third of the bar at least.
            if (status->currentMessage().isEmpty())
                continue;
            int right = status->width() - 12;
            for (const QWidget *side :
                 status->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
                if (side->isVisible() && side->x() > 0)
                    right = std::min(right, side->x() - 2);
            }
            check(status, status->currentMessage(),
                  std::min(status->fontMetrics().horizontalAdvance(status->currentMessage()),
                           status->width() / 3),
                  right - 6);
            // Where a message quotes a line or names the program, that part gives way: the
            // words around it, which say what happened, all show.
            static const QRegularExpression quoted(QStringLiteral("[\"„“«「][^\"“”»」]*[\"“”»」]"));
            QString around = status->currentMessage();
            auto *eliding = qobject_cast<ElidingStatusBar *>(status);
            if (!eliding || around.remove(quoted).remove(kProduct) == status->currentMessage())
                continue;
            for (const QString &word : around.split(u' ', Qt::SkipEmptyParts)) {
                if (!eliding->shownMessage().contains(word))
                    faults << describe(status, eliding->shownMessage()) + QStringLiteral(" loses ")
                            + word;
            }
        } else if (auto *bar = qobject_cast<QMenuBar *>(w)) {
            const QList<QAction *> actions = bar->actions();
            for (QAction *action : actions) {
                const QRect place = bar->actionGeometry(action);
                check(bar, action->text(), place.right() + 1,
                      std::min(bar->width(), window->width()));
            }
        }
    }
    // A title bar shows the title in bold.
    QFont bold = window->font();
    bold.setBold(true);
    if (window->windowType() == Qt::Dialog)
        check(window, window->windowTitle(),
              std::min(QFontMetrics(bold).horizontalAdvance(window->windowTitle())
                           + WindowFit::kTitleBarChrome,
                       window->screen()->availableGeometry().width()),
              window->width());
    return faults;
}

QString offScreen(QWidget *window)
{
    const QRect area = window->screen()->availableGeometry();
    if (area.contains(window->frameGeometry()))
        return QString();
    return QStringLiteral("%1 at %2,%3 %4x%5 is off the screen %6x%7")
        .arg(window->objectName())
        .arg(window->frameGeometry().x())
        .arg(window->frameGeometry().y())
        .arg(window->frameGeometry().width())
        .arg(window->frameGeometry().height())
        .arg(area.width())
        .arg(area.height());
}

// The window with its frame; without it where the frame read is smaller than the window, as
// it can be while the window manager reparents the window.
QRect framed(const QWidget *window)
{
    const QRect frame = window->frameGeometry();
    return frame.contains(window->geometry()) ? frame : window->geometry();
}

// A window with a parent opens centred over it, moved only as far as needed to lie on the screen.
QString misplaced(QWidget *window)
{
    const QWidget *parent = window->parentWidget() ? window->parentWidget()->window() : nullptr;
    const Qt::WindowType type = window->windowType();
    const QRect screen = window->screen()->availableGeometry();
    // A box without a parent (before the main window exists) opens centred on the screen.
    const bool onScreen = !parent && type == Qt::Dialog;
    if ((!onScreen && (!parent || !parent->isVisible()))
        || (type != Qt::Window && type != Qt::Dialog))
        return QString();
    QRect expected = framed(window);
    expected.moveCenter(onScreen ? screen.center() : framed(parent).center());
    expected = WindowFit::fitted(expected, screen);
    // Room for the frame a dialog guesses before the window manager has framed it (Qt guesses
    // 10 by 40 px where it knows none) and for the title bar the window manager then adds.
    const QPoint off = framed(window).topLeft() - expected.topLeft();
    if (std::abs(off.x()) <= 16 && std::abs(off.y()) <= 56)
        return QString();
    return QStringLiteral("%1 opens at %2,%3, not over its parent at %4,%5")
        .arg(window->objectName())
        .arg(framed(window).x())
        .arg(framed(window).y())
        .arg(expected.x())
        .arg(expected.y());
}

// Imports the file as the user does, the calendar picker answered with its choice.
void importAccepting(MainWindow *main, const QString &path)
{
    QTimer picker;
    QObject::connect(&picker, &QTimer::timeout, [] {
        if (auto *dialog = qobject_cast<CalendarPickerDialog *>(QApplication::activeModalWidget()))
            dialog->accept();
    });
    picker.start(20);
    main->importIcsFromCommand(path);
}

} // namespace

class TestWindowTexts : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void textsFitInEveryWindow_data();
    void textsFitInEveryWindow();
    void frameCountsBeforeItIsKnown();
    void gallery();

private:
    void seed();
    QList<Opener> openers();
    QWidget *show(QWidget *window);
    bool settle();
    QWidget *showPopover(const QString &quickAdd);
    QWidget *showMissed(bool showFirst);
    void serveCloud();
    QWidget *showAccountPage(int page, const char *content);
    QString writeEvents(const QString &name, int count, const QByteArray &lines,
                        const QByteArray &more = {});
    QWidget *showStatusBar();
    QWidget *showImportTakenBack();

    std::unique_ptr<LarkTest::FakeCloudService> m_cloud;
    std::unique_ptr<LarkTest::StartedAppState> m_state;
    std::unique_ptr<MainWindow> m_main;
    QList<QPointer<QWidget>> m_opened;
};

void TestWindowTexts::initTestCase()
{
    MessagePresenter::setHandler(
        [](MessagePresenter::Kind, QWidget *, const QString &, const QString &) {});
    Application::loadFonts();
    QApplication::setFont(QFont(Theme::uiFontFamily(), Theme::fontBody));
    Application::installLanguage(setting("LARK_GALLERY_LANGUAGE", "de"), this);
    WindowFit::install(qApp);

    m_state = std::make_unique<LarkTest::StartedAppState>();
    QVERIFY(m_state->ok());
    ThemeManager *theme = m_state->get()->themeManager();
    QVERIFY(theme);
    theme->setMode(setting("LARK_GALLERY_THEME", "light"));
    theme->setFontScale(setting("LARK_GALLERY_FONT_SCALE", "150").toInt());
    seed();
    serveCloud();
    m_state->get()->setCurrentDate(kNow.date());
    m_main = std::make_unique<MainWindow>(m_state->get());
}

void TestWindowTexts::cleanupTestCase()
{
    m_main.reset();
    m_state.reset();
    m_cloud.reset();
    qunsetenv("WEATHER_GEOCODING_URL");
    MessagePresenter::setHandler({});
    Clock::setSource({});
}

void TestWindowTexts::seed()
{
    AppState *state = m_state->get();
    // Two calendars of one name in two accounts, as the calendar lists must tell apart.
    const QString first = AccountsCalendarsDialog::addLocalCalendar(state, QStringLiteral("Work"),
                                                                    QStringLiteral("#e67c73"));
    QVERIFY(!first.isEmpty());
    Account other;
    other.id = QStringLiteral("team-account");
    other.name = QStringLiteral("Team server");
    other.type = QStringLiteral("caldav");
    other.created_at = other.updated_at = kNow.toUTC();
    QVERIFY(state->accounts()->insert(other));
    Calendar second;
    second.id = QStringLiteral("team-work");
    second.account_id = other.id;
    second.url = QStringLiteral("https://dav.example/work/");
    second.name = QStringLiteral("Work");
    second.color = QStringLiteral("#33b679");
    second.created_at = second.updated_at = kNow.toUTC();
    QVERIFY(state->calendars()->insert(second));

    const struct
    {
        const char *id;
        const char *title;
        const char *location;
        int day;
        QTime start;
    } events[] = {
        {"review", "Design review", "Room 4 · Level 2", 0, QTime(9, 45)},
        {"gym", "Gym", "", 0, QTime(18, 0)},
        {"dentist", "Dentist", "", 1, QTime(9, 30)},
    };
    for (const auto &row : events) {
        Event e;
        e.id = e.uid = QString::fromLatin1(row.id);
        e.calendar_id = first;
        e.title = QString::fromUtf8(row.title);
        e.location = QString::fromUtf8(row.location);
        e.start_time = QDateTime(kNow.date().addDays(row.day), row.start).toUTC();
        e.end_time = e.start_time.addSecs(3600);
        e.raw_icalendar = QStringLiteral("BEGIN:VCALENDAR\r\nEND:VCALENDAR");
        e.created = e.last_modified = kNow.toUTC();
        QVERIFY(state->events()->insert(e));
    }
}

// The cloud service and the city search on loopback, with a group, devices and sessions, and
// the account's tokens (the group owner's) held without signing in, so nothing else syncs.
void TestWindowTexts::serveCloud()
{
    m_cloud = std::make_unique<LarkTest::FakeCloudService>();
    QVERIFY(m_cloud->listen());
    LarkTest::FakeHttpServer &server = m_cloud->server();
    const auto json = [](const char *body) {
        return LarkTest::FakeReply::text(200, body, "application/json");
    };
    const QString auth = QStringLiteral("/api/v1/realms/lark");
    const QString account = QStringLiteral("/account/v1");
    server.route(
        "GET", auth + QStringLiteral("/users/me"),
        json(R"({"id": "u1", "email": "ann.lee@example.com", "display_name": "Ann Lee"})"));
    server.route("GET", auth + QStringLiteral("/users/me/sessions"), json(R"j({"sessions": [
        {"id": "s1", "user_agent": "Larkspindle Calendar/1.3.4 (Windows 11)",
         "ip_address": "203.0.113.7", "is_current": true},
        {"id": "s2", "user_agent": "Mozilla/5.0 (X11; Linux x86_64) AppleWebKit/537.36 (KHTML, like Gecko) Chrome/120.0 Safari/537.36",
         "ip_address": "198.51.100.23", "last_active_at": "2026-12-09T08:00:00Z"}]})j"));
    server.route("GET", account + QStringLiteral("/devices"), json(R"({"devices": [
        {"id": "d1", "device_name": "Ann's <b>Laptop</b>", "platform": "windows",
         "app_version": "1.3.4", "last_sync_at": "2026-12-07T10:00:00Z"},
        {"id": "d2", "device_name": "", "platform": "linux"}]})"));
    server.route("GET", account + QStringLiteral("/profile"), json(R"({"id": "a-ann"})"));
    server.route("GET", account + QStringLiteral("/group"), json(R"({"id": "g1",
      "name": "Lee Family", "max_seats": 5, "members": [
        {"account_id": "a-ann", "display_name": "Ann Lee", "email": "ann.lee@example.com",
         "role": "owner"},
        {"account_id": "a-bob", "display_name": "Bob Lee", "email": "bob@example.com",
         "role": "member"},
        {"account_id": "a-cy", "display_name": "", "email": "cy@example.com", "role": "member"}],
      "pending_invitations": [{"id": "i1", "invited_email": "dee@example.com"},
        {"id": "i2", "invited_email": "", "invite_code": "K7Q2-M9XD"}]})"));
    server.route("GET", QStringLiteral("/v1/search"), json(R"({"results": [
        {"name": "Springfield", "admin1": "Illinois", "country_code": "US"},
        {"name": "Springfield", "admin1": "Massachusetts", "country_code": "US"},
        {"name": "Springfield", "admin1": "Missouri", "country_code": "US"},
        {"name": "Springfield", "admin1": "Oregon", "country_code": "US"},
        {"name": "Springfield", "admin1": "Ohio", "country_code": "US"},
        {"name": "Springfield", "admin1": "Tennessee", "country_code": "US"}]})"));
    qputenv("WEATHER_GEOCODING_URL", server.url(QStringLiteral("/v1/search")).toEncoded());
    m_cloud->addCalendar(QStringLiteral("family"), QStringLiteral("Family"));
    m_cloud->addUser(QStringLiteral("a-bob"), QStringLiteral("bob@example.com"),
                     QStringLiteral("Bob Lee"));

    LarkAccount::Client *client = m_state->get()->accountClient();
    client->authApiClient()->setBaseUrl(server.url(auth));
    client->accountApiClient()->setBaseUrl(server.url(account));
    client->syncApiClient()->setBaseUrl(m_cloud->baseUrl());
    Clock::setSource([] { return kNow.toUTC(); });
    const QJsonObject payload {
        {QStringLiteral("exp"), kNow.toUTC().addDays(1).toSecsSinceEpoch()},
        {QStringLiteral("custom"),
         QJsonObject {{QStringLiteral("lrk"),
                       QJsonObject {{QStringLiteral("role"), QStringLiteral("owner")}}}}}};
    const auto part = [](const QByteArray &bytes) {
        return bytes.toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals);
    };
    client->tokenManager()->setTokens(
        QString::fromLatin1(part("{}") + '.'
                            + part(QJsonDocument(payload).toJson(QJsonDocument::Compact))
                            + ".c2ln"),
        QStringLiteral("r"));
    bool shared = false;
    Larkspindle::SharingBackend sharing(client->syncApiClient());
    sharing.shareWith(QStringLiteral("family"), QStringLiteral("a-bob"), QString(),
                      [&shared](bool ok, const QString &) { shared = ok; });
    QTRY_VERIFY(shared);
}

QWidget *TestWindowTexts::showAccountPage(int page, const char *content)
{
    auto *screen = new LarkAccount::AccountScreen(m_state->get()->accountClient(), m_main.get());
    screen->setAttribute(Qt::WA_DeleteOnClose);
    screen->setWindowTitle(MainWindow::tr("Larkspindle Account"));
    // The ages on the account pages count from the pinned time.
    Clock::setSource([] { return kNow.toUTC(); });
    screen->refreshAll();
    screen->pageList()->setCurrentRow(page);
    screen->resize(QSize(640, 560) * Theme::fontScale / 100);
    show(screen);
    if (content && !QTest::qWaitFor([&] {
            return screen->findChild<QWidget *>(QString::fromLatin1(content));
        }))
        qWarning("the account page %d was not filled", page);
    QTest::qWait(50);
    return screen;
}

QWidget *TestWindowTexts::show(QWidget *shown)
{
    // The program deletes some of its windows by itself (a dialog whose work ended) while this
    // waits.
    const QPointer<QWidget> window(shown);
    m_opened << window;
    if (!window->isVisible())
        window->show();
    if (!QTest::qWaitForWindowExposed(window))
        qWarning("window %s was not exposed", qPrintable(window->objectName()));
    // A window manager frames a window a moment after it shows, and the window is fitted again.
    // Its place then settles as the window manager configures it.
    if (window && !(window->windowFlags() & Qt::FramelessWindowHint)
        && QGuiApplication::platformName() == QLatin1String("xcb")) {
        // A frame that never comes is a window manager that frames nothing: measure as it is.
        (void)QTest::qWaitFor(
            [window] { return !window || window->frameGeometry() != window->geometry(); }, 2000);
        QRect last;
        for (int tries = 0; tries < 40; ++tries) {
            QTest::qWait(50);
            if (!window)
                break;
            const QRect now = window->frameGeometry();
            if (now == last && now.width() > 1 && now.height() > 1)
                break;
            last = now;
        }
    }
    QTest::qWait(50);
    return window;
}

// What a window before left under way (an import, a quick-add line that waits for another
// program's write) ends first, or it changes the next window while it is measured; the main
// window gets back the size the program gives it.
bool TestWindowTexts::settle()
{
    m_main->resize(1100, 720);
    WindowFit::fit(m_main.get());
    return QTest::qWaitFor(
        [this] {
            return !m_main->findChild<IcsImportJob *>()
                && m_state->get()->quickAdds()->waitingCount() == 0;
        },
        60000);
}

QWidget *TestWindowTexts::showPopover(const QString &quickAdd)
{
    auto *popover = new WinTrayPopover(m_state->get(), m_main.get());
    Clock::setSource([] { return kNow.toUTC(); });
    const QRect area = m_main->screen()->availableGeometry();
    popover->showAt(QPoint(area.right() - 40, area.bottom()));
    popover->findChild<QLineEdit *>(QStringLiteral("popoverQuickAdd"))->setText(quickAdd);
    return show(popover);
}

// The missed reminders of an event and a task; shown after the first row where showFirst.
QWidget *TestWindowTexts::showMissed(bool showFirst)
{
    auto *missed = new MissedRemindersDialog(m_main.get());
    ReminderNotice review;
    review.title = QStringLiteral("Design review");
    review.body = Reminders::eventBody(kNow.addSecs(900), kNow, QStringLiteral("09:45"),
                                       QStringLiteral("Room 4 · Level 2"));
    review.eventId = QStringLiteral("review");
    review.date = kNow.date();
    missed->add(review);
    if (showFirst)
        missed->show();
    ReminderNotice report;
    report.title = QStringLiteral("Send the quarterly report");
    report.body = Reminders::taskBody(false, 30, QStringLiteral("17:00"));
    report.date = kNow.date();
    report.task = true;
    missed->add(report);
    return show(missed);
}

// A calendar file of count events (UIDs <name>-0, <name>-1...) with the given lines, and `more`
// before its end; its path.
QString TestWindowTexts::writeEvents(const QString &name, int count, const QByteArray &lines,
                                     const QByteArray &more)
{
    QByteArray text = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\n";
    for (int i = 0; i < count; ++i)
        text += "BEGIN:VEVENT\r\nUID:" + name.toUtf8() + '-' + QByteArray::number(i) + "\r\n"
            + lines + "\r\nEND:VEVENT\r\n";
    const QString path = m_state->dir() + u'/' + name;
    if (!LarkTest::writeFile(path, text + more + "END:VCALENDAR\r\n"))
        qWarning("%s was not written", qPrintable(name));
    return path;
}

// The main window with an import's outcome in its status bar and a failed settings sync beside it.
QWidget *TestWindowTexts::showStatusBar()
{
    // One event without a start, so that the outcome names a skipped one too.
    importAccepting(m_main.get(),
                    writeEvents(QStringLiteral("public-holidays-2030.ics"), 1234,
                                "SUMMARY:Holiday\r\nDTSTART;VALUE=DATE:20300101",
                                "BEGIN:VEVENT\r\nUID:no-start\r\nSUMMARY:Holiday\r\nEND:"
                                "VEVENT\r\n"));
    if (!QTest::qWaitFor([this] { return !m_main->findChild<IcsImportJob *>(); }, 60000))
        qWarning("the import did not end");

    Larkspindle::ConfigSyncService *configSync = m_state->get()->configSync();
    configSync->setSignedInCheck([] { return true; });
    m_cloud->failRequests("GET", QStringLiteral("/sync/pull"), LarkTest::FakeReply::empty(403));
    configSync->syncNow();
    if (!QTest::qWaitFor(
            [configSync] { return configSync->state() == Larkspindle::ConfigSyncService::Failed; }))
        qWarning("the settings sync did not fail");
    return show(m_main.get());
}

// An import cancelled part way, while it is being taken back.
QWidget *TestWindowTexts::showImportTakenBack()
{
    importAccepting(m_main.get(),
                    writeEvents(QStringLiteral("many.ics"), 50000,
                                "SUMMARY:Imported\r\nDTSTART:20310610T090000Z"));
    const QPointer<QProgressDialog> progress
        = m_main->findChild<QProgressDialog *>(QStringLiteral("importProgressDialog"));
    // Another program's write, taken once some events are stored, holds the import and then its
    // take-back, which alone is over in a moment, until the picture is taken; its dialog then
    // goes.
    const QString database = m_state->dir() + QStringLiteral("/calendar.db");
    if (!QTest::qWaitFor([&] { return progress && progress->value() > 0; }, 10000)
        || !QTest::qWaitFor([&] { return LarkTest::holdWriteLock(database, 5000); }, 10000)
        || !QTest::qWaitFor(
            [&] {
                return progress && progress->isVisible() && progress->labelText().contains(u'\n');
            },
            10000))
        return nullptr;
    progress->findChild<QPushButton *>()->click();
    return show(progress);
}

QList<Opener> TestWindowTexts::openers()
{
    AppState *state = m_state->get();
    MainWindow *main = m_main.get();
    LarkUpdate::Artifact artifact;
    artifact.version = QStringLiteral("1.4.0");
    artifact.url = QUrl(QStringLiteral("https://dl.example/calendar-1.4.0.msi"));
    const QString notes = QStringLiteral(
        "## Larkspindle Calendar 1.3.4\n\n- Help menu with update check and feedback\n"
        "- Dates in the interface language\n- Sharper colour dots on HiDPI screens\n");
    return {
        {QStringLiteral("main-window"),
         [=] {
             return show(main);
         }},
        // Narrowed as far as it goes, every menu title still shows.
        {QStringLiteral("main-window-narrow"),
         [=] {
             main->resize(1, main->height());
             return show(main);
         }},
        {QStringLiteral("preferences"),
         [=] {
             return show(new PreferencesDialog(state, main));
         }},
        {QStringLiteral("accounts"),
         [=] {
             return show(new AccountsCalendarsDialog(state, main));
         }},
        {QStringLiteral("new-event"),
         [=] {
             return show(new EventFormDialog(state, kNow, main));
         }},
        {QStringLiteral("calendar-picker"),
         [=] {
             return show(new CalendarPickerDialog(
                 state,
                 MainWindow::tr("Import %Ln event(s) from %1 into:", nullptr, 3)
                     .arg(QStringLiteral("holidays.ics")),
                 main));
         }},
        {QStringLiteral("event-details"),
         [=] {
             const std::optional<Event> event = state->events()->byId(QStringLiteral("review"));
             auto *popover = new EventDetailsPopover(*event, QStringLiteral("Work"),
                                                     timeOfDayFormat(state->preferences()), main);
             popover->showCenteredOn(main);
             return show(popover);
         }},
        {QStringLiteral("about"),
         [=] {
             return show(new AboutDialog(kProduct, QStringLiteral(LARK_VERSION), main));
         }},
        {QStringLiteral("update"),
         [=] {
             return show(new LarkUpdate::UpdateDialog(artifact, QStringLiteral(LARK_VERSION),
                                                      kProduct, main));
         }},
        {QStringLiteral("whats-new"),
         [=] {
             return show(new LarkUpdate::WhatsNewDialog(notes, QStringLiteral(LARK_VERSION),
                                                        QStringLiteral(LARK_VERSION), kProduct,
                                                        main));
         }},
        {QStringLiteral("weather-settings"),
         [=] {
             auto *weather = new WeatherSettingsDialog(state, main);
             show(weather);
             weather->searchEdit()->setText(QStringLiteral("Springfield"));
             weather->startSearch();
             if (!QTest::qWaitFor([weather] { return weather->resultsList()->count() > 0; }))
                 qWarning("the city search did not answer");
             return show(weather);
         }},
        {QStringLiteral("account-profile"),
         [=] {
             return showAccountPage(0, nullptr);
         }},
        {QStringLiteral("account-group"),
         [=] {
             return showAccountPage(1, "groupContent");
         }},
        {QStringLiteral("account-devices"),
         [=] {
             return showAccountPage(2, "devicesContent");
         }},
        {QStringLiteral("account-security"),
         [=] {
             return showAccountPage(3, "sessionsContent");
         }},
        {QStringLiteral("account-privacy"),
         [=] {
             return showAccountPage(4, nullptr);
         }},
        {QStringLiteral("share-calendar"),
         [=] {
             LarkAccount::ShareMembersDialog::Texts texts;
             texts.title = AccountsCalendarsDialog::tr("Share Calendar");
             texts.subtitle
                 = AccountsCalendarsDialog::tr("Sharing: %1").arg(QStringLiteral("Family"));
             texts.intro = AccountsCalendarsDialog::tr(
                 "People you share with see the same events and changes you do. Sharing "
                 "doesn't merge calendars; they keep their own calendar list.");
             LarkAccount::Client *client = state->accountClient();
             auto *dialog = new LarkAccount::ShareMembersDialog(
                 client, new Larkspindle::SharingBackend(client->syncApiClient()),
                 QStringLiteral("family"), texts, main);
             dialog->setAttribute(Qt::WA_DeleteOnClose);
             show(dialog);
             if (!QTest::qWaitFor([dialog] {
                     return dialog->findChild<QWidget *>(QStringLiteral("shareWithButton"));
                 }))
                 qWarning("the share dialog was not filled");
             return dialog;
         }},
        {QStringLiteral("missed-reminders"),
         [=] {
             return showMissed(false);
         }},
        // A second reminder while the window manager has yet to frame the dialog.
        {QStringLiteral("missed-reminders-growing"),
         [=] {
             return showMissed(true);
         }},
        {QStringLiteral("tray-popover"),
         [=] {
             return showPopover(QString());
         }},
        {QStringLiteral("tray-popover-preview"),
         [=] {
             return showPopover(QStringLiteral("lunch with Sam tomorrow 1pm"));
         }},
        {QStringLiteral("start-refused"),
         [=] {
             DataFolderLockAttempt running;
             running.refusal = DataFolderLockAttempt::Refusal::Running;
             running.holderPid = 4242;
             QWidget *box = MessagePresenter::box(
                 MessagePresenter::Kind::Critical, nullptr, Application::refusalTitle(running),
                 Application::refusalText(
                     running, QDir::homePath() + QStringLiteral("/.local/share/Larkspindle")));
             box->setAttribute(Qt::WA_DeleteOnClose);
             return show(box);
         }},
        {QStringLiteral("start-waits-for-writer"),
         [=] {
             // With the start's own quick add, kept meanwhile.
             QWidget *notice = Application::writerNotice(
                 QStringLiteral("dentist tomorrow 9am about the crown"));
             notice->setAttribute(Qt::WA_DeleteOnClose);
             return show(notice);
         }},
        {QStringLiteral("start-waits-for-holder"),
         [=] {
             QWidget *notice = Application::holderNotice();
             notice->setAttribute(Qt::WA_DeleteOnClose);
             return show(notice);
         }},
        {QStringLiteral("quit-waits-for-writer"),
         [=] {
             QWidget *notice = Application::quitNotice(main, 3);
             notice->setAttribute(Qt::WA_DeleteOnClose);
             return show(notice);
         }},
        {QStringLiteral("accent-colour"),
         [=] {
             return show(new ColorPickerDialog(Theme::accent(), main));
         }},
        // Sized lower than its body before it shows (fitted to a briefly smaller screen): it
        // grows to show the body.
        {QStringLiteral("accent-colour-squeezed"),
         [=] {
             auto *picker = new ColorPickerDialog(Theme::accent(), main);
             picker->resize(picker->sizeHint().width(), 1);
             return show(picker);
         }},
        // Its words on another program's write wrap within the screen.
        {QStringLiteral("import-waits-for-writer"),
         [=] {
             if (!LarkTest::holdWriteLock(m_state->dir() + QStringLiteral("/calendar.db"), 3000))
                 qWarning("the write lock was not taken");
             importAccepting(
                 main, writeEvents(QStringLiteral("waits.ics"), 3, "DTSTART:20310610T090000Z"));
             auto *progress = main->findChild<QProgressDialog *>();
             if (!progress
                 || !QTest::qWaitFor([=] { return progress->labelText().contains(u'\n'); }))
                 qWarning("the import does not say that it waits");
             return show(progress);
         }},
        {QStringLiteral("import-taking-back"),
         [=] {
             return showImportTakenBack();
         }},
        // Refused while another program writes: the message takes room of its own.
        {QStringLiteral("new-event-refused"),
         [=] {
             auto *form = new EventFormDialog(state, kNow, main);
             form->titleEdit()->setText(QStringLiteral("Besprechung"));
             if (!LarkTest::holdWriteLock(m_state->dir() + QStringLiteral("/calendar.db"), 0)
                 || !show(form) || !form->save().isEmpty())
                 qWarning("the form was not refused");
             return show(form);
         }},
        {QStringLiteral("main-window-quick-add-waits"),
         [=] {
             if (!LarkTest::holdWriteLock(m_state->dir() + QStringLiteral("/calendar.db"), 3000))
                 qWarning("the write lock was not taken");
             main->quickAddFromCommand(QStringLiteral("dentist tomorrow 9am about the crown"));
             return show(main);
         }},
        {QStringLiteral("main-window-quick-adds-restored"),
         [=] {
             emit state->quickAdds()->restoredAdded(2);
             return show(main);
         }},
        // Last: the settings sync stays failed from here on.
        {QStringLiteral("main-window-status"),
         [=] {
             return showStatusBar();
         }},
        {QStringLiteral("main-window-quick-add-added"),
         [=] {
             main->quickAddFromCommand(QStringLiteral("dentist tomorrow 9am about the crown"));
             return show(main);
         }},
    };
}

void TestWindowTexts::textsFitInEveryWindow_data()
{
    QTest::addColumn<int>("index");
    const QList<Opener> all = openers();
    for (int i = 0; i < all.size(); ++i)
        QTest::newRow(qPrintable(all.at(i).name)) << i;
}

void TestWindowTexts::textsFitInEveryWindow()
{
    QFETCH(int, index);
    QVERIFY(settle());
    // Dialogs open over the main window, as they do in the program.
    show(m_main.get());
    QWidget *window = openers().at(index).open();
    QVERIFY2(window, "the window did not open");
    // A loaded window manager may place the window a moment after it settled in size.
    (void)QTest::qWaitFor(
        [window = QPointer<QWidget>(window)] { return !window || misplaced(window).isEmpty(); },
        2000);
    QStringList faults = cutTexts(window);
    faults << offScreen(window) << misplaced(window);
    faults.removeAll(QString());
    // The missed reminders are read at a glance: every row shows whole; the tray's coming
    // events, its main content, show at least their heading and the next one whatever the screen.
    for (const QString &name :
         {QStringLiteral("missedRemindersList"), QStringLiteral("popoverList")}) {
        auto *list = window->findChild<QListWidget *>(name);
        list = list && list->isVisible() ? list : nullptr;
        int whole = 0;
        for (int row = 0; list && row < list->count(); ++row)
            whole += QRegion(list->visualItemRect(list->item(row)))
                         .subtracted(list->viewport()->visibleRegion())
                         .isEmpty();
        const int rows = list ? list->count() : 0;
        if (whole < (name == QLatin1String("popoverList") ? std::min(rows, 2) : rows))
            faults << QStringLiteral("%1 shows %2 of %3 rows whole").arg(name).arg(whole).arg(rows);
    }
    // A body or a list scrolls down, and a page sideways, only where the screen has no more room
    // for its window.
    const QSize room = window->screen()->availableGeometry().size() - framed(window).size();
    for (QAbstractScrollArea *area : window->findChildren<QAbstractScrollArea *>()) {
        if (!area->isVisibleTo(window))
            continue;
        if (area->verticalScrollBar()->maximum() > 0
            && (qobject_cast<QListWidget *>(area) || qobject_cast<ScrollingBody *>(area))
            && room.height() > 2 * area->fontMetrics().lineSpacing())
            faults << QStringLiteral("%1 scrolls with %2 px left on the screen")
                          .arg(area->objectName())
                          .arg(room.height());
        // A dialog's body wraps its texts rather than scroll sideways.
        const int hidden = area->horizontalScrollBar()->maximum();
        if (hidden > 0 && (room.width() > hidden || qobject_cast<ScrollingBody *>(area)))
            faults << QStringLiteral("%1 hides %2 px sideways with %3 px left on the screen")
                          .arg(area->objectName())
                          .arg(hidden)
                          .arg(room.width());
    }
    // Every focus stop of a scrolling body comes into view, whichever way Tab goes, also when it
    // comes from the buttons below the body.
    auto *body = window->findChild<ScrollingBody *>();
    body = body && body->isVisible() ? body : nullptr;
    if (body)
        window->activateWindow();
    for (int i = 0;
         i < 40 && body && QTest::qWaitForWindowActive(window) && QApplication::focusWidget();
         ++i) {
        QTest::keyClick(QApplication::focusWidget(), i < 20 ? Qt::Key_Tab : Qt::Key_Backtab);
        QWidget *focus = QApplication::focusWidget();
        const QRect place = focus && body->widget()->isAncestorOf(focus)
            ? QRect(focus->mapTo(body->viewport(), QPoint()), focus->size())
            : QRect();
        // One taller than the body (a long text) shows as much of itself as it can.
        if (place.intersected(body->viewport()->rect()).size()
            != place.size().boundedTo(body->viewport()->size()))
            faults << describe(focus, QString()) + QStringLiteral(" has the focus out of view");
    }
    // Menus size themselves to their widest entry: each must still fit on the screen.
    for (QMenu *menu : window->findChildren<QMenu *>()) {
        if (menu->sizeHint().width() > window->screen()->availableGeometry().width())
            faults << QStringLiteral("menu %1 is wider than the screen").arg(menu->title());
    }
    if (window != m_main.get())
        window->close();
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
}

// A window fitted before the window system has framed it (as every window is, when it is
// shown) still lies whole on the screen once the frame has arrived.
void TestWindowTexts::frameCountsBeforeItIsKnown()
{
    QWidget window;
    window.setObjectName(QStringLiteral("large-window"));
    window.resize(8000, 8000);
    QCOMPARE(window.frameGeometry(), window.geometry());
    // Room is left for a frame before there is one: a window manager may frame the window
    // long after it was placed, with no new size to fit it by.
    WindowFit::fit(&window);
    const QRect area = window.screen()->availableGeometry();
    QVERIFY2(window.height() < area.height(),
             qPrintable(QStringLiteral("%1 px high on a %2 px screen")
                            .arg(window.height())
                            .arg(area.height())));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTRY_VERIFY(window.frameGeometry() != window.geometry());
    QTRY_VERIFY2(offScreen(&window).isEmpty(), qPrintable(offScreen(&window)));

    // A dialog is as wide as its title in bold, which runs wider in a font with a bold face.
    QDialog dialog;
    dialog.setFont(QFont(QStringLiteral("DejaVu Sans"), 20));
    dialog.setWindowTitle(QStringLiteral("Kalender für den Import auswählen"));
    dialog.resize(100, 100);
    WindowFit::fit(&dialog);
    QCOMPARE(cutTexts(&dialog), QStringList());
}

// Not a check: pictures for a person to look at.
void TestWindowTexts::gallery()
{
    const QString dir = qEnvironmentVariable("LARK_GALLERY_DIR");
    if (dir.isEmpty())
        QSKIP("LARK_GALLERY_DIR is not set");
    QVERIFY(QDir().mkpath(dir));
    const QString prefix = setting("LARK_GALLERY_NAME", "gallery");
    const auto shoot = [&](const QString &name) {
        QScreen *screen = m_main->screen();
        QTest::qWait(300);
        const QPixmap picture = screen->grabWindow(0);
        QVERIFY(picture.save(QStringLiteral("%1/%2-%3.png").arg(dir, prefix, name)));
    };
    const QList<Opener> all = openers();
    for (const Opener &opener : all) {
        if (!settle())
            qWarning("the work of the window before did not end");
        QWidget *window = opener.open();
        window->raise();
        shoot(opener.name);
        if (window != m_main.get())
            window->close();
    }

    // Keyboard focus on each control (a dialog's button is its default one while it has it).
    auto *form = new EventFormDialog(m_state->get(), kNow, m_main.get());
    show(form);
    form->activateWindow();
    if (!QTest::qWaitForWindowActive(form))
        qWarning("the event form is not active");
    const QList<QWidget *> buttons = TabOrder::visualOrder(form);
    for (int i = 0; i < buttons.size(); ++i) {
        if (buttons.at(i)->isVisible()) {
            buttons.at(i)->setFocus(Qt::TabFocusReason);
            shoot(QStringLiteral("focus-%1").arg(i));
        }
    }
    form->close();

    if (showImportTakenBack())
        shoot(QStringLiteral("import-taking-back"));

    // The boxes an import shows, as the program shows them: its outcome, and a file without
    // events.
    if (!QTest::qWaitFor(
            [this] {
                return !m_main->findChild<QProgressDialog *>(
                    QStringLiteral("importProgressDialog"));
            },
            60000))
        qWarning("the import was not taken back");
    MessagePresenter::setHandler({});
    int boxes = 0;
    QTimer answer;
    connect(&answer, &QTimer::timeout, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        answer.stop();
        show(box);
        shoot(QStringLiteral("import-box-%1").arg(++boxes));
        box->accept();
        answer.start();
    });
    answer.start(50);
    importAccepting(m_main.get(),
                    writeEvents(QStringLiteral("team-offsite-2031.ics"), 3,
                                "SUMMARY:Offsite\r\nDTSTART:20310610T090000Z"));
    m_main->importIcsFromCommand(writeEvents(QStringLiteral("empty-export.ics"), 0, {}));
    QTest::qWait(200);
    answer.stop();
    MessagePresenter::setHandler(
        [](MessagePresenter::Kind, QWidget *, const QString &, const QString &) {});

    // The Account menu, open.
    m_main->show();
    m_main->raise();
    QMenu *account = m_main->accountMenu();
    account->popup(
        m_main->mapToGlobal(m_main->menuBar()->actionGeometry(account->menuAction()).bottomLeft()));
    shoot(QStringLiteral("account-menu"));
    account->hide();

    // The Help menu, open.
    m_main->show();
    m_main->raise();
    QMenu *help = m_main->helpMenu();
    help->popup(
        m_main->mapToGlobal(m_main->menuBar()->actionGeometry(help->menuAction()).bottomLeft()));
    shoot(QStringLiteral("help-menu"));
    help->hide();

    // The tray's menu and the reminder balloon need a tray on the display.
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        return;
    TrayManager tray(m_state->get(), m_main.get());
    tray.setup();
    QTest::qWait(500);
    tray.menu()->popup(m_main->screen()->availableGeometry().center());
    shoot(QStringLiteral("tray-menu"));
    tray.menu()->hide();
    tray.trayIcon()->showMessage(QStringLiteral("Design review"),
                                 Reminders::eventBody(kNow.addSecs(1500), kNow,
                                                      QStringLiteral("9:45"),
                                                      QStringLiteral("Room 4")),
                                 QSystemTrayIcon::Information, 15000);
    shoot(QStringLiteral("balloon"));
}

QTEST_MAIN(TestWindowTexts)
#include "tst_WindowTexts.moc"
