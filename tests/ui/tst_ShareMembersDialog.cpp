#include "AccountUiRig.h"
#include "model/Clock.h"

#include "services/account/AuthClient.h"
#include "services/sync/cloud/SyncClient.h"
#include "storage/CalendarRepository.h"
#include "storage/EventRepository.h"
#include "support/FakeCloudService.h"
#include "support/StartedAppState.h"
#include "ui/account/ShareMembersDialog.h"
#include "ui/dialogs/AccountsCalendarsDialog.h"

#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

using namespace AccountUi;
using namespace Qt::StringLiterals;
using LarkAccount::ShareMember;
using LarkAccount::ShareMembersDialog;

namespace {

// Shares kept in memory; answers on the next turn of the event loop, or when released.
class FakeSharing : public LarkAccount::SharingBackend
{
public:
    QList<ShareMember> shares;
    QStringList calls;
    bool hold = false;
    bool failNext = false;
    QString error;
    QList<std::function<void()>> held;

    void listMembers(const QString &, std::function<void(const QList<ShareMember> &)> done) override
    {
        calls << u"list"_s;
        answer([done, shares = shares] { done(shares); });
    }
    void shareWith(const QString &, const QString &userId, const QString &role,
                   std::function<void(bool, const QString &)> done) override
    {
        calls << u"share %1 %2"_s.arg(userId, role);
        const bool ok = !std::exchange(failNext, false);
        if (ok)
            shares << ShareMember {userId, userId, {}, {}, role, {}};
        answer([done, ok, error = error] { done(ok, ok ? QString() : error); });
    }
    void removeShare(const QString &, const QString &userId,
                     std::function<void(bool)> done) override
    {
        calls << u"remove %1"_s.arg(userId);
        const bool ok = !std::exchange(failNext, false);
        if (ok)
            shares.removeIf([&](const ShareMember &s) { return s.userId == userId; });
        answer([done, ok] { done(ok); });
    }
    void release()
    {
        const auto answers = std::exchange(held, {});
        for (const auto &a : answers)
            a();
    }

private:
    void answer(std::function<void()> reply)
    {
        if (hold)
            held << std::move(reply);
        else
            QTimer::singleShot(0, this, std::move(reply));
    }
};

QByteArray groupOf(const QByteArray &members)
{
    return R"({"id": "g1", "name": "Family", "members": [)" + members + "]}";
}

const QByteArray me
    = R"({"account_id": "a-me", "display_name": "Me Myself", "email": "me@example.com"})";
const QByteArray ann
    = R"({"account_id": "a-ann", "display_name": "Ann Lee", "email": "ann@example.com"})";
const QByteArray bob = R"({"account_id": "a-bob", "display_name": "", "email": "bob@example.com"})";

ShareMembersDialog::Texts texts()
{
    ShareMembersDialog::Texts t;
    t.title = u"Share Calendar"_s;
    t.noGroupMembersHint = u"Invite people to your group first."_s;
    return t;
}

// What the two lists show: names and initials, placeholders and buttons, in order.
QStringList listTexts(const ShareMembersDialog &dialog)
{
    QStringList shown = shownTexts(&dialog);
    shown.removeAll(u"[Close]"_s);
    const auto removes = dialog.findChildren<QToolButton *>(u"removeShareButton"_s);
    for (const QToolButton *b : removes) {
        if (b->isVisibleTo(&dialog))
            shown << u"[x]"_s;
    }
    return shown.mid(shown.indexOf(u"People with access"_s));
}

struct Setup
{
    Rig rig;
    FakeSharing *backend = new FakeSharing;
    std::unique_ptr<ShareMembersDialog> dialog;

    Setup(const QByteArray &group, const QList<ShareMember> &shares = {})
    {
        rig.account("GET", "/profile", Rig::json(R"({"id": "a-me"})"));
        rig.account("GET", "/group", Rig::json(group));
        backend->shares = shares;
        dialog = std::make_unique<ShareMembersDialog>(rig.client.get(), backend, u"srv-1"_s,
                                                      texts(), nullptr);
    }
    QPushButton *shareButton(int index) const
    {
        return dialog->findChildren<QPushButton *>(u"shareWithButton"_s).value(index);
    }
};

} // namespace

class TestShareMembersDialog : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { MessagePresenter::setQuestionHandler({}); }
    void lists_data();
    void lists();
    void shareAndRemove();
    void failuresShowTheirText();
    void answersAfterCloseAreDropped();
    void calendarOnThisDeviceMovesToTheCloudThenIsShared();
};

void TestShareMembersDialog::lists_data()
{
    QTest::addColumn<QByteArray>("group");
    QTest::addColumn<QList<ShareMember>>("shares");
    QTest::addColumn<QStringList>("shown");
    const ShareMember owner {u"a-me"_s, u"a-me"_s, {}, {}, u"owner"_s, {}};
    const ShareMember idOnly {u"a-ann"_s, u"a-ann"_s, {}, {}, u"member"_s, {}};
    const ShareMember stranger {u"a-zed"_s, u"a-zed"_s, {}, {}, u"member"_s, {}};
    QTest::newRow("only the owner has it: the others are offered")
        << groupOf(me + "," + ann + "," + bob) << QList<ShareMember> {owner}
        << texts("People with access|Not shared with anyone yet.|Add people|"
                 "AL|Ann Lee|ann@example.com|[Share]|B|bob@example.com|[Share]");
    QTest::newRow("a share known by id takes the member's name")
        << groupOf(me + "," + ann) << QList<ShareMember> {idOnly, stranger}
        << texts("People with access|AL|Ann Lee|ann@example.com|?|a-zed|Add people|"
                 "All group members already have access|[x]|[x]");
    QTest::newRow("no group") << QByteArray("{}") << QList<ShareMember> {}
                              << texts("People with access|Not shared with anyone yet.|"
                                       "Add people|Invite people to your group first.");
}

void TestShareMembersDialog::lists()
{
    QFETCH(QByteArray, group);
    QFETCH(QList<ShareMember>, shares);
    QFETCH(QStringList, shown);
    Setup setup(group, shares);
    QTRY_COMPARE(listTexts(*setup.dialog), shown);
}

void TestShareMembersDialog::shareAndRemove()
{
    Setup setup(groupOf(me + "," + ann + "," + bob));
    QSignalSpy changed(setup.dialog.get(), &ShareMembersDialog::sharingChanged);
    QTRY_VERIFY(setup.shareButton(1));
    setup.backend->hold = true;
    QPushButton *shareAnn = setup.shareButton(0);
    shareAnn->click();
    // One change at a time: a second click while the first waits does nothing.
    setup.shareButton(1)->click();
    QCOMPARE(setup.backend->calls.filter(u"share"_s), QStringList {u"share a-ann "_s});
    setup.backend->hold = false;
    setup.backend->release();
    QTRY_COMPARE(changed.count(), 1);
    QTRY_COMPARE(listTexts(*setup.dialog).mid(0, 3),
                 QStringList({u"People with access"_s, u"AL"_s, u"Ann Lee"_s}));
    QVERIFY(!setup.dialog->isBusy());

    QString asked;
    MessagePresenter::setQuestionHandler([&](const QString &, const QString &text) {
        asked = text;
        return true;
    });
    setup.dialog->findChild<QToolButton *>(u"removeShareButton"_s)->click();
    QCOMPARE(asked, u"Ann Lee will no longer have access. Continue?"_s);
    QTRY_COMPARE(changed.count(), 2);
    QTRY_COMPARE(listTexts(*setup.dialog).value(1), u"Not shared with anyone yet."_s);
    QCOMPARE(setup.backend->calls.filter(u"remove"_s), QStringList {u"remove a-ann"_s});
}

void TestShareMembersDialog::failuresShowTheirText()
{
    Setup setup(groupOf(me + "," + ann + "," + bob));
    QTRY_VERIFY(setup.shareButton(1));
    QLabel *error = setup.dialog->errorLabel();

    setup.backend->failNext = true;
    setup.shareButton(1)->click();
    QTRY_VERIFY(!error->isHidden());
    QCOMPARE(error->text(), u"Could not share with bob@example.com."_s);

    setup.backend->failNext = true;
    setup.backend->error = u"<b>Seat limit</b> reached"_s;
    setup.shareButton(0)->click();
    QVERIFY(error->isHidden());
    QTRY_VERIFY(!error->isHidden());
    QCOMPARE(error->text(), u"<b>Seat limit</b> reached"_s);
    QCOMPARE(error->textFormat(), Qt::PlainText);
    QVERIFY(!setup.dialog->isBusy());
}

void TestShareMembersDialog::answersAfterCloseAreDropped()
{
    Rig rig;
    rig.account("GET", "/profile", Rig::json(R"({"id": "a-me"})").held());
    auto *backend = new FakeSharing;
    backend->hold = true;
    const QPointer<FakeSharing> watched(backend);
    auto *dialog = new ShareMembersDialog(rig.client.get(), backend, u"srv-1"_s, texts(), nullptr);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    const QPointer<ShareMembersDialog> open(dialog);
    QTRY_COMPARE(rig.server.heldCount(), 1);
    dialog->show();
    dialog->close();
    QTRY_VERIFY(open.isNull());
    // The dialog took its backend along, and the account answer finds nobody.
    QVERIFY(watched.isNull());
    rig.account("GET", "/group", Rig::json(groupOf(ann)));
    QCOMPARE(rig.server.releaseHeld(), 1);
    QTest::qWait(100);
    QCOMPARE(rig.sent("GET", accountPath + u"/group"_s), 0);
}

void TestShareMembersDialog::calendarOnThisDeviceMovesToTheCloudThenIsShared()
{
    LarkTest::FakeCloudService cloud;
    QVERIFY(cloud.listen());
    cloud.addUser(u"a-ann"_s, u"ann@example.com"_s, u"Ann Lee"_s);
    cloud.server().route("GET", accountPath + u"/profile"_s, Rig::json(R"({"id": "a-me"})"));
    cloud.server().route("GET", accountPath + u"/group"_s, Rig::json(groupOf(me + "," + ann)));

    LarkTest::StartedAppState state;
    QVERIFY(state.ok());
    LarkAccount::Client *client = state->accountClient();
    client->syncApiClient()->setBaseUrl(cloud.baseUrl());
    client->accountApiClient()->setBaseUrl(cloud.server().url(accountPath));
    const QDateTime now(QDate(2026, 3, 2), QTime(9, 0), Qt::UTC);
    const Clock::Override pinned([now] { return now; });
    const QString calendarId
        = AccountsCalendarsDialog::addLocalCalendar(state.get(), u"Family"_s, u"#4285F4"_s);
    Event event;
    event.id = event.uid = u"ev-1"_s;
    event.calendar_id = calendarId;
    event.title = u"Dinner"_s;
    event.raw_icalendar = u"BEGIN:VCALENDAR"_s;
    event.created = event.last_modified = now;
    event.start_time = now.addDays(1);
    event.end_time = now.addDays(1).addSecs(3600);
    QVERIFY(state->events()->insert(event));

    AccountsCalendarsDialog dialog(state.get(), nullptr);
    const auto select = [&] {
        const auto items = dialog.tree()->findItems(u"Family"_s, Qt::MatchRecursive);
        dialog.tree()->setCurrentItem(items.value(0));
    };
    select();
    auto *share = dialog.findChild<QPushButton *>(u"shareCalendarButton"_s);
    // Sharing needs the account.
    QVERIFY(!share->isEnabled());
    client->authClient()->handleAuthCallback(
        QUrl(u"http://127.0.0.1/cb#access_token=%1&refresh_token=r1"_s.arg(
            AccountTest::jwtExpiring(now.toSecsSinceEpoch() + 3600))));
    QVERIFY(share->isEnabled());

    QSignalSpy opened(&dialog, &AccountsCalendarsDialog::shareDialogOpened);
    share->click();
    QTRY_COMPARE(opened.count(), 1);
    const Calendar moved = *state->calendars()->byId(calendarId);
    const QString serverId = Larkspindle::SyncClient::serverIdFromUrl(moved.url);
    QVERIFY(AccountsCalendarsDialog::isCloudCalendar(moved));
    QCOMPARE(cloud.events(serverId).size(), 1);

    auto *shareDialog = opened.first().first().value<ShareMembersDialog *>();
    QTRY_VERIFY(shareDialog->findChild<QPushButton *>(u"shareWithButton"_s));
    shareDialog->findChild<QPushButton *>(u"shareWithButton"_s)->click();
    QTRY_COMPARE(cloud.members(serverId).size(), 1);
    QCOMPARE(cloud.members(serverId).first().value(u"user_id"_s).toString(), u"a-ann"_s);
    // The dialog reloads from the service: Ann is now among those with access.
    QTRY_VERIFY(shareDialog->findChild<QToolButton *>(u"removeShareButton"_s));
}

QTEST_MAIN(TestShareMembersDialog)
#include "tst_ShareMembersDialog.moc"
