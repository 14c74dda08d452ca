#include "services/update/FeedFixtures.h"
#include "support/FakeHttpServer.h"
#include "support/TestSupport.h"
#include "support/UrlSink.h"
#include "ui/MessagePresenter.h"
#include "ui/update/NotesBrowser.h"
#include "ui/update/UpdateDialog.h"
#include "ui/update/UpdateFlows.h"
#include "ui/update/WhatsNewDialog.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QJsonObject>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>

#include <memory>

using namespace LarkTest;
using namespace LarkUpdate;
using FeedFixtures::offering;

namespace {

const QString kProductName = QStringLiteral("Larkspindle Calendar");
const QString kManifestPath = QStringLiteral("/calendar/stable/latest.json");
const QString kRunningNotesPath = QStringLiteral("/calendar/1.3.4/release-notes.md");
const QString kNewNotesPath = QStringLiteral("/calendar/1.4.0/release-notes.md");
const QUrl kDownload(QStringLiteral("https://dl.example/calendar-1.4.0.msi"));
// What is logged where a link is refused, and where no browser is there to open a page.
const QString kRefused = QStringLiteral("refusing to open a link that is not http or https");
const QString kNoBrowser = QStringLiteral("openUrl failed");

void expectWarning(const QString &warning)
{
    if (warning == kNoBrowser)
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    if (!warning.isEmpty())
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(warning));
}

Artifact artifact(const QUrl &notes = QUrl(), bool mandatory = false)
{
    Artifact a;
    a.version = QStringLiteral("1.4.0");
    a.releasedAt = QDateTime(QDate(2026, 11, 30), QTime(12, 0), Qt::UTC);
    a.url = kDownload;
    a.size = 1000;
    a.sha256 = QString(64, u'0');
    a.mandatory = mandatory;
    a.releaseNotesUrl = notes;
    return a;
}

QStringList buttonTexts(const QWidget *dialog)
{
    QStringList texts;
    const auto *box = dialog->findChild<QDialogButtonBox *>(QStringLiteral("buttons"));
    for (QAbstractButton *b : box->buttons())
        texts << b->text();
    texts.sort();
    return texts;
}

} // namespace

class tst_UpdateDialogs : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void updateDialogButtons_data();
    void updateDialogButtons();
    void updateDialogWithNotes();
    void updateDialogWithoutNotesKeepsNaturalSize();
    void updateDialogNotesUnavailable();
    void downloadOpensOnlyWebLinks_data();
    void downloadOpensOnlyWebLinks();
    void laterOpensNothing();
    void notesLinksOpenOnlyWebLinks();
    void whatsNewDialog_data();
    void whatsNewDialog();
    void interactiveCheck_data();
    void interactiveCheck();
    void interactiveCheckAfterParentIsGone();
    void whatsNewFlow_data();
    void whatsNewFlow();
    void automaticCheckDoesNotBlock();
    void automaticCheckFailureIsOnlyLogged();
    void feedbackPage_data();
    void feedbackPage();

private:
    UpdateChannelConfig config() const
    {
        return {QStringLiteral("calendar"), QStringLiteral("stable"),
                m_server->url(QStringLiteral("/calendar/stable/")), QStringLiteral("1.3.4")};
    }
    UiCallbacks recorder()
    {
        return {[this](const QString &t) { m_status << u"show:" + t; },
                [this] { m_status << QStringLiteral("clear"); },
                [this](const QString &t, int ms) {
                    m_status << QStringLiteral("timed:%1:%2").arg(t).arg(ms);
                }};
    }

    UrlSink m_sink;
    QStringList m_said; // the boxes shown
    std::unique_ptr<FakeHttpServer> m_server;
    std::unique_ptr<QWidget> m_window;
    QStringList m_status;
};

void tst_UpdateDialogs::initTestCase()
{
    MessagePresenter::setHandler([this](MessagePresenter::Kind, QWidget *, const QString &,
                                        const QString &text) { m_said << text; });
}

void tst_UpdateDialogs::cleanupTestCase()
{
    for (const char *scheme : {"http", "https", "file", "data"})
        QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    MessagePresenter::setHandler({});
}

void tst_UpdateDialogs::init()
{
    for (const char *scheme : {"http", "https", "file", "data"})
        QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &m_sink, "open");
    m_sink.opened.clear();
    m_said.clear();
    m_status.clear();
    m_server = std::make_unique<FakeHttpServer>();
    QVERIFY(m_server->listen());
    m_window = std::make_unique<QWidget>();
    m_window->show();
}

void tst_UpdateDialogs::cleanup()
{
    m_window.reset();
    m_server.reset();
}

void tst_UpdateDialogs::updateDialogButtons_data()
{
    QTest::addColumn<bool>("mandatory");
    QTest::addColumn<QStringList>("buttons");
    QTest::newRow("optional") << false << strings({"Download", "Later"});
    QTest::newRow("mandatory") << true << strings({"Download"});
}

void tst_UpdateDialogs::updateDialogButtons()
{
    QFETCH(bool, mandatory);
    QFETCH(QStringList, buttons);
    UpdateDialog dialog(artifact(QUrl(), mandatory), QStringLiteral("1.3.4"), kProductName,
                        m_window.get());
    QCOMPARE(buttonTexts(&dialog), buttons);
    QVERIFY(dialog.findChild<QPushButton *>(QStringLiteral("downloadButton"))->isDefault());
    QVERIFY(dialog.isModal());
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Update available"));
    const auto *headline = dialog.findChild<QLabel *>(QStringLiteral("headline"));
    QCOMPARE(headline->text(),
             QStringLiteral("A new version of Larkspindle Calendar is available."));
    QCOMPARE(headline->font().weight(), QFont::Bold);
    QCOMPARE(headline->font().pointSizeF(), dialog.font().pointSizeF() + 1);
    QCOMPARE(dialog.findChild<QLabel *>(QStringLiteral("versions"))->text(),
             QStringLiteral("You have version 1.3.4. The latest version is 1.4.0."));
}

void tst_UpdateDialogs::updateDialogWithNotes()
{
    m_server->route("GET", kNewNotesPath,
                    FakeReply::text(200, "## Highlights\n\n- Faster sync\n").held());
    UpdateDialog dialog(artifact(m_server->url(kNewNotesPath)), QStringLiteral("1.3.4"),
                        kProductName, m_window.get());
    dialog.show();
    QCOMPARE(dialog.size(), QSize(520, 420));
    auto *browser = dialog.findChild<NotesBrowser *>();
    QVERIFY(browser);
    QCOMPARE(browser->minimumHeight(), 150);
    QCOMPARE(browser->placeholderText(), QStringLiteral("Loading release notes…"));
    QVERIFY(browser->toPlainText().isEmpty());

    QTRY_COMPARE(m_server->heldCount(), 1);
    QCOMPARE(m_server->requests().first().header("User-Agent"),
             QByteArray("LarkUpdateQt/0.1 (update-dialog)"));
    m_server->releaseHeld();
    QTRY_COMPARE(browser->toPlainText(), QStringLiteral("Highlights\nFaster sync"));
}

void tst_UpdateDialogs::updateDialogWithoutNotesKeepsNaturalSize()
{
    UpdateDialog dialog(artifact(), QStringLiteral("1.3.4"), kProductName, m_window.get());
    dialog.show();
    QVERIFY(!dialog.findChild<NotesBrowser *>());
    QCOMPARE(dialog.size(), dialog.sizeHint());
    QVERIFY(dialog.height() < 420);
    QCOMPARE(m_server->requestCount(), 0);
}

void tst_UpdateDialogs::updateDialogNotesUnavailable()
{
    m_server->route("GET", kNewNotesPath, FakeReply::text(200, "  \n "));
    UpdateDialog dialog(artifact(m_server->url(kNewNotesPath)), QStringLiteral("1.3.4"),
                        kProductName, m_window.get());
    auto *browser = dialog.findChild<NotesBrowser *>();
    QTRY_COMPARE(browser->toPlainText(),
                 QStringLiteral("Release notes are not available for this version."));
    QVERIFY(browser->document()->begin().begin().fragment().charFormat().fontItalic());
}

void tst_UpdateDialogs::downloadOpensOnlyWebLinks_data()
{
    QTest::addColumn<QUrl>("url");
    QTest::addColumn<bool>("opened");
    QTest::addColumn<QString>("warning");
    QTest::newRow("https") << kDownload << true << QString();
    QTest::newRow("http") << QUrl(QStringLiteral("http://dl.example/c.msi")) << true << QString();
    QTest::newRow("file") << QUrl(QStringLiteral("file:///usr/bin/xterm")) << false << kRefused;
    QTest::newRow("no host") << QUrl(QStringLiteral("https:calendar.msi")) << false << kRefused;
    QTest::newRow("empty") << QUrl() << false << kRefused;
    QTest::newRow("no browser") << kDownload << false << kNoBrowser;
}

// Where no page opens the user is told, with the address to copy.
void tst_UpdateDialogs::downloadOpensOnlyWebLinks()
{
    QFETCH(QUrl, url);
    QFETCH(bool, opened);
    QFETCH(QString, warning);
    Artifact a = artifact();
    a.url = url;
    UpdateDialog dialog(a, QStringLiteral("1.3.4"), kProductName, m_window.get());
    dialog.show();
    expectWarning(warning);
    dialog.findChild<QPushButton *>(QStringLiteral("downloadButton"))->click();
    QCOMPARE(m_sink.opened, opened ? QList<QUrl> {url} : QList<QUrl> {});
    QCOMPARE(m_said.size(), opened ? 0 : 1);
    QVERIFY2(opened || m_said.first().endsWith(url.toString()), qPrintable(m_said.join(u'|')));
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!dialog.isVisible());
}

void tst_UpdateDialogs::laterOpensNothing()
{
    UpdateDialog dialog(artifact(), QStringLiteral("1.3.4"), kProductName, m_window.get());
    dialog.show();
    dialog.findChild<QPushButton *>(QStringLiteral("laterButton"))->click();
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(!dialog.isVisible());
    QVERIFY(m_sink.opened.isEmpty());
}

void tst_UpdateDialogs::notesLinksOpenOnlyWebLinks()
{
    WhatsNewDialog dialog(QStringLiteral("[site](https://larkspindle.example/)\n\n"
                                         "[run](file:///usr/bin/xterm)\n\n"
                                         "[inline](data:text/html,x)\n\n"
                                         "[below](#fixes)"),
                          QStringLiteral("1.3.4"), QStringLiteral("1.3.4"), kProductName,
                          m_window.get());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto *browser = dialog.findChild<NotesBrowser *>();
    // Clicks the link text of the given paragraph, as the user would.
    const auto clickParagraph = [browser](int paragraph) {
        QTextCursor cursor(browser->document()->findBlockByNumber(paragraph));
        cursor.movePosition(QTextCursor::NextCharacter);
        const QPoint at = browser->cursorRect(cursor).center();
        QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, at);
    };
    clickParagraph(0);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("refusing to open")));
    clickParagraph(1);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("refusing to open")));
    clickParagraph(2);
    clickParagraph(3);
    QCOMPARE(m_sink.opened, QList<QUrl> {QUrl(QStringLiteral("https://larkspindle.example/"))});
}

void tst_UpdateDialogs::whatsNewDialog_data()
{
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QUrl>("download");
    QTest::addColumn<QStringList>("buttons");
    QTest::addColumn<bool>("browser");
    const QStringList both = strings({"Close", "Download 1.4.0"});
    QTest::newRow("running version") << "1.3.4" << QUrl() << strings({"Close"}) << true;
    QTest::newRow("newer release") << "1.4.0" << kDownload << both << true;
    QTest::newRow("newer release, no browser") << "1.4.0" << kDownload << both << false;
}

void tst_UpdateDialogs::whatsNewDialog()
{
    QFETCH(QString, shown);
    QFETCH(QUrl, download);
    QFETCH(QStringList, buttons);
    QFETCH(bool, browser);
    WhatsNewDialog dialog(QStringLiteral("# Better\n\n- One\n- Two"), shown,
                          QStringLiteral("1.3.4"), kProductName, m_window.get(), download);
    dialog.show();
    QCOMPARE(dialog.windowTitle(), u"What's New in Larkspindle Calendar " + shown);
    QCOMPARE(dialog.findChild<QLabel *>(QStringLiteral("headline"))->text(),
             u"What's new in Larkspindle Calendar " + shown);
    QCOMPARE(dialog.findChild<QLabel *>(QStringLiteral("headline"))->font().pointSizeF(),
             dialog.font().pointSizeF() + 2);
    const auto *running = dialog.findChild<QLabel *>(QStringLiteral("runningVersion"));
    QCOMPARE(running->text(), QStringLiteral("You are running version 1.3.4"));
    QCOMPARE(running->styleSheet(), QStringLiteral("color: gray; font-size: 11px;"));
    QCOMPARE(dialog.findChild<NotesBrowser *>()->toPlainText(), QStringLiteral("Better\nOne\nTwo"));
    QCOMPARE(dialog.size(), QSize(520, 420));
    QVERIFY(!dialog.isModal());
    QCOMPARE(buttonTexts(&dialog), buttons);

    auto *downloadButton = dialog.findChild<QPushButton *>(QStringLiteral("downloadButton"));
    QCOMPARE(downloadButton != nullptr, download.isValid());
    QAbstractButton *pressed = downloadButton
        ? static_cast<QAbstractButton *>(downloadButton)
        : dialog.findChild<QPushButton *>(QStringLiteral("closeButton"));
    expectWarning(browser ? QString() : kNoBrowser);
    pressed->click();
    QVERIFY(!dialog.isVisible());
    const bool opened = download.isValid() && browser;
    QCOMPARE(m_sink.opened, opened ? QList<QUrl> {download} : QList<QUrl> {});
    QCOMPARE(m_said.size(), browser ? 0 : 1);
}

void tst_UpdateDialogs::interactiveCheck_data()
{
    QTest::addColumn<FakeReply>("manifest");
    QTest::addColumn<bool>("configured");
    QTest::addColumn<QStringList>("status");
    QTest::addColumn<bool>("dialogShown");

    const QString checking = QStringLiteral("show:Checking for updates…");
    const QString clear = QStringLiteral("clear");
    QTest::newRow("newer") << offering(QStringLiteral("1.4.0")) << true
                           << QStringList {checking, clear} << true;
    QTest::newRow("same")
        << offering(QStringLiteral("1.3.4")) << true
        << QStringList {checking, clear,
                        QStringLiteral(
                            "timed:Larkspindle Calendar is up to date (version 1.3.4):5000")}
        << false;
    QTest::newRow("server error")
        << FakeReply::text(503, "busy") << true
        << QStringList {checking, clear,
                        QStringLiteral(
                            "timed:Update check failed: network error: Error "
                            "transferring %URL - server replied: Service Unavailable:5000")}
        << false;
    QTest::newRow("feed not configured")
        << FakeReply() << false
        << QStringList {checking, clear,
                        QStringLiteral(
                            "timed:Larkspindle Calendar is up to date (version 1.3.4):5000")}
        << false;
}

void tst_UpdateDialogs::interactiveCheck()
{
    QFETCH(FakeReply, manifest);
    QFETCH(bool, configured);
    QFETCH(QStringList, status);
    QFETCH(bool, dialogShown);

    m_server->route("GET", kManifestPath, manifest);
    UpdateChannelConfig c = config();
    if (!configured)
        c.manifestBaseUrl = QUrl();
    status.replaceInStrings(QStringLiteral("%URL"), m_server->url(kManifestPath).toString());

    checkForUpdatesInteractive(c, kProductName, m_window.get(), recorder());
    QTRY_COMPARE(m_status.size(), status.size());
    QCOMPARE(m_status, status);
    const auto dialogs = m_window->findChildren<UpdateDialog *>();
    QCOMPARE(dialogs.size(), dialogShown ? 1 : 0);
    if (dialogShown) {
        QVERIFY(dialogs.first()->isVisible());
        QVERIFY(dialogs.first()->testAttribute(Qt::WA_DeleteOnClose));
    }
    QCOMPARE(m_server->requestCount(), configured ? 1 : 0);
}

void tst_UpdateDialogs::interactiveCheckAfterParentIsGone()
{
    m_server->route("GET", kManifestPath, offering(QStringLiteral("1.4.0")).held());
    auto *parent = new QWidget(m_window.get());
    checkForUpdatesInteractive(config(), kProductName, parent, recorder());
    QTRY_COMPARE(m_server->heldCount(), 1);
    delete parent;
    m_server->releaseHeld();
    QTRY_COMPARE(m_status.size(), 2);
    QCOMPARE(m_status.last(), QStringLiteral("clear"));
    QTest::qWait(20);
    QVERIFY(m_window->findChildren<UpdateDialog *>().isEmpty());
}

void tst_UpdateDialogs::whatsNewFlow_data()
{
    QTest::addColumn<FakeReply>("runningNotes");
    QTest::addColumn<FakeReply>("manifest");
    QTest::addColumn<FakeReply>("newNotes");
    QTest::addColumn<QString>("dialogTitle"); // empty: no dialog
    QTest::addColumn<QStringList>("buttons");

    const FakeReply notes = FakeReply::text(200, "Things got better.");
    const FakeReply missing = FakeReply::text(404, "no");
    const FakeReply newer = offering(
        QStringLiteral("1.4.0"), {{QStringLiteral("release_notes_url"), QStringLiteral("%NOTES")}});
    QTest::newRow("running version's notes")
        << notes << missing << missing << "What's New in Larkspindle Calendar 1.3.4"
        << strings({"Close"});
    QTest::newRow("newest release's notes")
        << missing << newer << notes << "What's New in Larkspindle Calendar 1.4.0"
        << strings({"Close", "Download 1.4.0"});
    QTest::newRow("blank running notes, newest release's notes")
        << FakeReply::text(200, "\n \n") << newer << notes
        << "What's New in Larkspindle Calendar 1.4.0" << strings({"Close", "Download 1.4.0"});
    QTest::newRow("newest release without notes URL")
        << missing << offering(QStringLiteral("1.4.0")) << notes << QString() << QStringList();
    QTest::newRow("newest release's notes missing")
        << missing << newer << missing << QString() << QStringList();
    QTest::newRow("up to date") << missing << offering(QStringLiteral("1.3.4")) << notes
                                << QString() << QStringList();
    QTest::newRow("check fails") << missing << FakeReply::text(500, "oops") << notes << QString()
                                 << QStringList();
}

void tst_UpdateDialogs::whatsNewFlow()
{
    QFETCH(FakeReply, runningNotes);
    QFETCH(FakeReply, manifest);
    QFETCH(FakeReply, newNotes);
    QFETCH(QString, dialogTitle);
    QFETCH(QStringList, buttons);

    manifest.body.replace("%NOTES", m_server->url(kNewNotesPath).toEncoded());
    m_server->route("GET", kRunningNotesPath, runningNotes);
    m_server->route("GET", kManifestPath, manifest);
    m_server->route("GET", kNewNotesPath, newNotes);

    showWhatsNew(config(), kProductName, m_window.get(), recorder());
    const QStringList expected = dialogTitle.isEmpty()
        ? QStringList {QStringLiteral("show:Loading release notes…"), QStringLiteral("clear"),
                       QStringLiteral("timed:No release notes available for Larkspindle "
                                      "Calendar 1.3.4:5000")}
        : QStringList {QStringLiteral("show:Loading release notes…"), QStringLiteral("clear")};
    QTRY_COMPARE(m_status.size(), expected.size());
    QCOMPARE(m_status, expected);
    QTest::qWait(20);
    const auto dialogs = m_window->findChildren<WhatsNewDialog *>();
    QCOMPARE(dialogs.size(), dialogTitle.isEmpty() ? 0 : 1);
    if (!dialogTitle.isEmpty()) {
        QCOMPARE(dialogs.first()->windowTitle(), dialogTitle);
        QCOMPARE(buttonTexts(dialogs.first()), buttons);
        QCOMPARE(dialogs.first()->findChild<NotesBrowser *>()->toPlainText(),
                 QStringLiteral("Things got better."));
        QVERIFY(dialogs.first()->isVisible());
    }
    QCOMPARE(m_server->requestsTo("GET", kRunningNotesPath).size(), 1);
}

void tst_UpdateDialogs::automaticCheckDoesNotBlock()
{
    m_server->route("GET", kManifestPath, offering(QStringLiteral("1.4.0")));
    QObject owner;
    scheduleAutomaticCheck(config(), kProductName, &owner, m_window.get(), 0);
    QTRY_COMPARE(m_window->findChildren<UpdateDialog *>().size(), 1);
    UpdateDialog *dialog = m_window->findChildren<UpdateDialog *>().first();
    QVERIFY(dialog->isVisible());
    QVERIFY(!dialog->isModal());
    QVERIFY(dialog->testAttribute(Qt::WA_DeleteOnClose));
    QCOMPARE(dialog->findChild<QLabel *>(QStringLiteral("versions"))->text(),
             QStringLiteral("You have version 1.3.4. The latest version is 1.4.0."));
}

void tst_UpdateDialogs::automaticCheckFailureIsOnlyLogged()
{
    m_server->route("GET", kManifestPath, FakeReply::text(200, "not json"));
    QObject owner;
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral(
                             "^\\[LarkUpgrade\\] update check failed: manifest invalid: ")));
    scheduleAutomaticCheck(config(), kProductName, &owner, m_window.get(), 0);
    QTRY_COMPARE(m_server->requestCount(), 1);
    QTest::qWait(50);
    QVERIFY(m_window->findChildren<QDialog *>().isEmpty());
}

void tst_UpdateDialogs::feedbackPage_data()
{
    QTest::addColumn<QUrl>("page");
    QTest::addColumn<QString>("opened"); // empty: none
    QTest::addColumn<QString>("warning");
    const QUrl site(QStringLiteral("https://feedback.example"));
    QTest::newRow("site root") << site << "https://feedback.example/?tags=calendar" << QString();
    QTest::newRow("path and query")
        << QUrl(QStringLiteral("https://feedback.example/board?sort=new&tags=x"))
        << "https://feedback.example/board/?tags=calendar" << QString();
    QTest::newRow("not configured") << QUrl() << QString() << kRefused;
    QTest::newRow("not a web address")
        << QUrl(QStringLiteral("file:///tmp/feedback")) << QString() << kRefused;
    QTest::newRow("no browser") << site << QString() << kNoBrowser;
}

void tst_UpdateDialogs::feedbackPage()
{
    QFETCH(QUrl, page);
    QFETCH(QString, opened);
    QFETCH(QString, warning);
    expectWarning(warning);
    openFeedbackPage(FeedbackConfig {QStringLiteral("calendar"), page}, m_window.get());
    QCOMPARE(m_sink.opened, opened.isEmpty() ? QList<QUrl> {} : QList<QUrl> {QUrl(opened)});
    QCOMPARE(m_said.size(), opened.isEmpty() ? 1 : 0);
}

QTEST_MAIN(tst_UpdateDialogs)
#include "tst_UpdateDialogs.moc"
