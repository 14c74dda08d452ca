#include "AccountUiRig.h"

#include "model/Clock.h"
#include "services/account/AuthClient.h"
#include "support/StartedAppState.h"
#include "ui/account/AccountGroupPage.h"
#include "ui/account/AccountRows.h"
#include "ui/account/AccountScreen.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/theme/Theme.h"

#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QMenu>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTest>

using namespace AccountUi;
using namespace Qt::StringLiterals;
using LarkAccount::AccountRows;
using LarkAccount::AccountScreen;

namespace {

QWidget *page(AccountScreen &screen, const char *name)
{
    return screen.findChild<QWidget *>(QString::fromLatin1(name));
}

QPushButton *firstButton(QWidget *page, const char *name)
{
    const auto buttons = page->findChildren<QPushButton *>(QString::fromLatin1(name));
    for (QPushButton *b : buttons) {
        if (b->isVisibleTo(page))
            return b;
    }
    return nullptr;
}

} // namespace

class TestAccountScreen : public QObject
{
    Q_OBJECT
private slots:
    void relativeTime_data();
    void relativeTime();
    void groupPage_data();
    void groupPage();
    void devicesAndSessionsShowServerTextLiterally();
    void passwordRules_data();
    void passwordRules();
    void deletionNeedsTheExactWord_data();
    void deletionNeedsTheExactWord();
    void actionsReportTheServersAnswer_data();
    void actionsReportTheServersAnswer();
    void pageReplacedWhileAskingKeepsTheHandlerAlive();
    void answerAfterTheScreenIsGoneDoesNothing();
    void accountMenuFollowsSignIn();
};

void TestAccountScreen::relativeTime_data()
{
    QTest::addColumn<qint64>("age");
    QTest::addColumn<QString>("text");
    QTest::newRow("59 s") << qint64(59) << "Active now";
    QTest::newRow("a minute") << qint64(60) << "1m ago";
    QTest::newRow("just under an hour") << qint64(3599) << "59m ago";
    QTest::newRow("an hour") << qint64(3600) << "1h ago";
    QTest::newRow("just under a day") << qint64(86399) << "23h ago";
    QTest::newRow("a day") << qint64(86400) << "1d ago";
    QTest::newRow("just under a week") << qint64(604799) << "6d ago";
    QTest::newRow("a week: the date") << qint64(604800) << "Feb 23, 2026";
    QTest::newRow("in the future") << qint64(-500) << "Active now";
}

void TestAccountScreen::relativeTime()
{
    QFETCH(qint64, age);
    QFETCH(QString, text);
    const QDateTime now(QDate(2026, 3, 2), QTime(9, 0), Qt::UTC);
    QCOMPARE(AccountRows::relativeTime(now.addSecs(-age), now), text);
    QCOMPARE(AccountRows::relativeTime(QDateTime(), now), QStringLiteral("Unknown"));
}

void TestAccountScreen::groupPage_data()
{
    QTest::addColumn<QString>("role");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QStringList>("shown");
    const QStringList members
        = texts("Family|3 of 5 seats used|Members|Ann Lee|ann@example.com|Owner");
    QTest::newRow("owner: removes members, sees invitations") << "owner" << ownerGroupReply()
                                                              << members
            + texts("bob@example.com|[Remove]|<b>Cy</b>|cy@example.com|[Remove]|"
                    "Pending Invitations|dee@example.com|[Revoke]|Invite code: K7Q2|"
                    "[Revoke]|Invite Members|[Invite by Email]|[Generate Invite Code]");
    QTest::newRow("member: can only leave")
        << "member" << ownerGroupReply()
        << members + texts("bob@example.com|<b>Cy</b>|cy@example.com|[Leave Group]");
    QTest::newRow("no group") << "" << QByteArray("{}")
                              << texts("No Group|You're not part of a group. The group owner can "
                                       "invite you, or you can join with an invite code.|"
                                       "[Join with Invite Code]");
}

void TestAccountScreen::groupPage()
{
    QFETCH(QString, role);
    QFETCH(QByteArray, reply);
    QFETCH(QStringList, shown);
    Rig rig(role);
    rig.account("GET", "/group", Rig::json(reply));
    AccountScreen screen(rig.client.get(), nullptr);
    screen.refreshGroup();
    QWidget *group = page(screen, "groupPage");
    QTRY_COMPARE(shownTexts(group).mid(1), shown);
    // The owner's badge is small text in a colour of its own: it reads at 4.5:1 as well.
    for (QLabel *label : group->findChildren<QLabel *>()) {
        if (label->text() != u"Owner"_s)
            continue;
        label->ensurePolished();
        const QColor color = label->palette().color(QPalette::WindowText);
        for (const QColor &ground : {Theme::canvas(), Theme::surface()})
            QVERIFY2(Theme::contrastRatio(color, ground) >= 4.5,
                     qPrintable(u"%1 on %2: %3:1"_s.arg(color.name(), ground.name())
                                    .arg(Theme::contrastRatio(color, ground), 0, 'f', 2)));
    }
}

void TestAccountScreen::devicesAndSessionsShowServerTextLiterally()
{
    // The program's type: the body text at the body size.
    const QFont font = QApplication::font();
    QApplication::setFont(QFont(font.family(), Theme::fontBody));
    const auto restore = qScopeGuard([font] { QApplication::setFont(font); });
    Rig rig;
    rig.account("GET", "/devices", Rig::json(R"({"devices": [
        {"id": "d1", "device_name": "<img src=x>Laptop", "platform": "windows",
         "app_version": "1.3.4", "last_sync_at": "2026-03-02T08:00:00Z"},
        {"id": "d2", "device_name": "", "platform": "linux"}]})"));
    const QString agent = QString(61, QLatin1Char('a'));
    rig.auth("GET", "/users/me/sessions",
             Rig::json(R"({"sessions": [
        {"id": "s1", "user_agent": "Calendar/1.3.4", "ip_address": "10.0.0.2", "is_current": true},
        {"id": "s2", "user_agent": ")"
                       + agent.toLatin1() + R"(",
         "last_active_at": "2026-03-02T08:59:30Z"}]})"));
    AccountScreen screen(rig.client.get(), nullptr);
    const Clock::Override clock([&rig] { return rig.clock.now(); });
    screen.refreshDevices();
    screen.refreshSessions();

    QTRY_COMPARE(shownTexts(page(screen, "devicesPage")).mid(3),
                 texts("<img src=x>Laptop|windows  \u00B7  v1.3.4|1h ago|[Remove]|"
                       "Unknown Device|linux|Unknown|[Remove]"));
    const auto labels = page(screen, "devicesPage")->findChildren<QLabel *>();
    for (const QLabel *label : labels) {
        QCOMPARE(label->textFormat(), Qt::PlainText);
        // Hints and details are smaller than the body text, but not below the small step.
        QVERIFY2(label->font().pointSize() >= Theme::fontSm, qPrintable(label->text()));
    }
    QTRY_COMPARE(shownTexts(page(screen, "securityPage")).mid(3),
                 texts("Calendar/1.3.4|This session  \u00B7  10.0.0.2|Current")
                     + QStringList {agent.left(60) + u"..."_s} + texts("Active now|[Revoke]"));
}

void TestAccountScreen::passwordRules_data()
{
    QTest::addColumn<QStringList>("typed"); // "-" cancels the prompt
    QTest::addColumn<QString>("status");
    QTest::addColumn<bool>("sent");
    QTest::newRow("accepted") << QStringList {u"old-pass"_s, u"new-pass-1"_s, u"new-pass-1"_s}
                              << "Password changed." << true;
    QTest::newRow("seven characters") << QStringList {u"old-pass"_s, u"seven77"_s}
                                      << "Password must be at least 8 characters." << false;
    QTest::newRow("confirmation differs")
        << QStringList {u"old-pass"_s, u"new-pass-1"_s, u"new-pass-2"_s}
        << "Passwords do not match." << false;
    QTest::newRow("current cancelled") << QStringList {u"-"_s} << u""_s << false;
    QTest::newRow("empty new password") << QStringList {u"old-pass"_s, u""_s} << u""_s << false;
}

void TestAccountScreen::passwordRules()
{
    QFETCH(QStringList, typed);
    QFETCH(QString, status);
    QFETCH(bool, sent);
    Rig rig;
    rig.auth("POST", "/users/me/password", FakeReply::empty(204));
    Answers answers;
    for (const QString &text : typed)
        answers.texts << (text == u"-"_s ? std::nullopt : std::optional<QString>(text));
    AccountScreen screen(rig.client.get(), nullptr);
    screen.findChild<QPushButton *>(u"changePasswordButton"_s)->click();
    QTRY_COMPARE(screen.statusLabel()->text(), status);
    QCOMPARE(rig.sent("POST", authPath + u"/users/me/password"_s), sent ? 1 : 0);
}

void TestAccountScreen::deletionNeedsTheExactWord_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("sent");
    QTest::newRow("lower case") << "delete" << false;
    QTest::newRow("leading space") << " DELETE" << false;
    QTest::newRow("exact word") << "DELETE" << true;
}

void TestAccountScreen::deletionNeedsTheExactWord()
{
    QFETCH(QString, typed);
    QFETCH(bool, sent);
    Rig rig;
    rig.account("DELETE", "/profile", FakeReply::empty(204));
    Answers answers;
    answers.texts << typed;
    AccountScreen screen(rig.client.get(), nullptr);
    QSignalSpy logout(&screen, &AccountScreen::logoutRequested);
    screen.findChild<QPushButton *>(u"deleteAccountButton"_s)->click();
    if (sent)
        QTRY_COMPARE(logout.count(), 1);
    else
        QTest::qWait(50);
    QCOMPARE(rig.sent("DELETE", accountPath + u"/profile"_s), sent ? 1 : 0);
    QCOMPARE(answers.boxes.size(), logout.count());
}

void TestAccountScreen::actionsReportTheServersAnswer_data()
{
    QTest::addColumn<QString>("pageName");
    QTest::addColumn<QString>("buttonName");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("reloadPath");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("shown");
    const auto both
        = [](const char *name, const char *page, const char *button, const QString &path,
             const QString &reload, const char *ok, const char *failed) {
              QTest::addRow("%s succeeds", name)
                  << page << button << path << reload << 204 << QString::fromUtf8(ok);
              QTest::addRow("%s fails", name)
                  << page << button << path << reload << 500 << QString::fromUtf8(failed);
          };
    both("remove device", "devicesPage", "removeDeviceButton", accountPath + u"/devices/d1"_s,
         accountPath + u"/devices"_s, "Device removed.", "Failed to remove device.");
    both("revoke session", "securityPage", "revokeSessionButton",
         authPath + u"/users/me/sessions/s2"_s, authPath + u"/users/me/sessions"_s,
         "Session revoked.", "Failed to revoke session.");
    both("remove member", "groupPage", "removeMemberButton",
         accountPath + u"/group/members/a-bob"_s, accountPath + u"/group"_s,
         "bob@example.com removed.", "Failed to remove bob@example.com.");
    both("revoke invitation", "groupPage", "revokeInvitationButton",
         accountPath + u"/group/invitations/i1"_s, accountPath + u"/group"_s, "Invitation revoked.",
         "Failed to revoke invitation.");
}

void TestAccountScreen::actionsReportTheServersAnswer()
{
    QFETCH(QString, pageName);
    QFETCH(QString, buttonName);
    QFETCH(QString, path);
    QFETCH(QString, reloadPath);
    QFETCH(int, status);
    QFETCH(QString, shown);
    Rig rig(QStringLiteral("owner"));
    rig.account("GET", "/group", Rig::json(ownerGroupReply()));
    rig.account("GET", "/devices",
                Rig::json(R"({"devices": [{"id": "d1", "device_name": "Laptop"}]})"));
    rig.auth("GET", "/users/me/sessions",
             Rig::json(R"({"sessions": [{"id": "s2", "user_agent": "Phone"}]})"));
    rig.server.route("DELETE", path, FakeReply::empty(status).held());
    Answers answers;
    AccountScreen screen(rig.client.get(), nullptr);
    screen.refreshAll();
    QWidget *target = page(screen, pageName.toLatin1().constData());
    QTRY_VERIFY(firstButton(target, buttonName.toLatin1().constData()));
    QPushButton *button = firstButton(target, buttonName.toLatin1().constData());
    QTRY_COMPARE(rig.sent("GET", reloadPath), 1);
    button->click();

    // Nothing is claimed before the server has answered.
    QTRY_COMPARE(rig.server.heldCount(), 1);
    QVERIFY(screen.statusLabel()->text().isEmpty());
    QVERIFY(!button->isEnabled());
    rig.server.releaseHeld();
    QTRY_COMPARE(screen.statusLabel()->text(), shown);
    // A success reloads the page; a failure leaves it as it was, its button usable again.
    if (status < 300) {
        QTRY_COMPARE(rig.sent("GET", reloadPath), 2);
    } else {
        QTest::qWait(50);
        QCOMPARE(rig.sent("GET", reloadPath), 1);
        QVERIFY(button->isEnabled());
    }
}

void TestAccountScreen::pageReplacedWhileAskingKeepsTheHandlerAlive()
{
    Rig rig;
    rig.account("GET", "/devices",
                Rig::json(R"({"devices": [{"id": "d1", "device_name": "Laptop"}]})"));
    rig.account("DELETE", "/devices/d1", FakeReply::empty(204));
    AccountScreen screen(rig.client.get(), nullptr);
    screen.refreshDevices();
    QTRY_VERIFY(firstButton(page(screen, "devicesPage"), "removeDeviceButton"));
    QPointer<QPushButton> clicked = firstButton(page(screen, "devicesPage"), "removeDeviceButton");

    // The page reloads while the question is open: the row with the running handler stays.
    bool replaced = false;
    MessagePresenter::setQuestionHandler([&](const QString &, const QString &) {
        screen.refreshDevices();
        replaced
            = QTest::qWaitFor([&] { return clicked && clicked->parentWidget()->isHidden(); }, 5000);
        QTest::qWait(20);
        return !clicked.isNull();
    });
    clicked->click();
    QVERIFY(replaced);
    QTRY_COMPARE(screen.statusLabel()->text(), QStringLiteral("Device removed."));
    QTRY_VERIFY(clicked.isNull());
    MessagePresenter::setQuestionHandler({});
}

void TestAccountScreen::answerAfterTheScreenIsGoneDoesNothing()
{
    Rig rig;
    rig.account("GET", "/group", Rig::json(ownerGroupReply()).held());
    rig.account("GET", "/devices", Rig::json(R"({"devices": []})").held());
    rig.auth("GET", "/users/me", Rig::json(R"({"id": "u1"})").held());
    rig.auth("GET", "/users/me/sessions", Rig::json(R"({"sessions": []})").held());
    auto screen = std::make_unique<AccountScreen>(rig.client.get(), nullptr);
    screen->refreshAll();
    QTRY_COMPARE(rig.server.heldCount(), 4);
    screen.reset();
    QCOMPARE(rig.server.releaseHeld(), 4);
    // The four answers arrive and find nobody: no crash, nothing left waiting.
    QTRY_COMPARE(rig.client->authClient()->currentUser().id, QStringLiteral("u1"));
}

void TestAccountScreen::accountMenuFollowsSignIn()
{
    LarkTest::StartedAppState state;
    QVERIFY(state.ok());
    MainWindow window(state.get());
    const auto actions = window.accountMenu()->actions();
    QCOMPARE(actions.size(), 3);
    const auto enabled = [&] {
        return QList<bool> {actions[0]->isEnabled(), actions[1]->isEnabled(),
                            actions[2]->isEnabled()};
    };
    QCOMPARE(enabled(), QList<bool>({true, false, false}));

    state->accountClient()->authClient()->handleAuthCallback(
        QUrl(QStringLiteral("http://127.0.0.1/cb#access_token=%1&refresh_token=r1")
                 .arg(AccountTest::jwt({}))));
    QCOMPARE(enabled(), QList<bool>({false, true, true}));
    actions[1]->trigger();
    LarkAccount::AccountScreen *screen = window.accountScreen();
    QVERIFY(screen);
    QCOMPARE(screen->windowTitle(), QStringLiteral("Larkspindle Account"));
    screen->pageList()->setCurrentRow(3);
    actions[1]->trigger();
    QCOMPARE(window.accountScreen(), screen);
    QCOMPARE(screen->pages()->currentIndex(), 3);

    QTest::keyClick(screen, Qt::Key_Escape);
    QVERIFY(screen->isHidden());
    actions[1]->trigger();
    QVERIFY(!screen->isHidden());
    emit screen->logoutRequested();
    QCOMPARE(enabled(), QList<bool>({true, false, false}));
    QVERIFY(screen->isHidden());
}

QTEST_MAIN(TestAccountScreen)
#include "tst_AccountScreen.moc"
