#include "services/update/ReleaseNotesFetcher.h"
#include "support/FakeHttpServer.h"

#include <QLocale>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace LarkTest;
using namespace LarkUpdate;

namespace {

const QString kNotes = QStringLiteral("/calendar/1.4.0/release-notes.md");
const QString kGermanNotes = QStringLiteral("/calendar/1.4.0/release-notes.de.md");

// "ready:<text>" or "unavailable", once the fetcher has ended; "pending" if it has not.
QString waitForOutcome(ReleaseNotesFetcher &fetcher)
{
    QSignalSpy ready(&fetcher, &ReleaseNotesFetcher::notesReady);
    QSignalSpy unavailable(&fetcher, &ReleaseNotesFetcher::notesUnavailable);
    fetcher.start();
    if (!QTest::qWaitFor([&] { return ready.count() + unavailable.count() > 0; }, 5000))
        return QStringLiteral("pending");
    QTest::qWait(20); // a second outcome would be a fault
    if (ready.count() + unavailable.count() != 1)
        return QStringLiteral("%1 outcomes").arg(ready.count() + unavailable.count());
    return ready.isEmpty() ? QStringLiteral("unavailable")
                           : u"ready:" + ready.first().first().toString();
}

QStringList requestedPaths(const FakeHttpServer &server)
{
    QStringList paths;
    for (const RecordedRequest &r : server.requests())
        paths << r.path;
    return paths;
}

} // namespace

class tst_ReleaseNotes : public QObject
{
    Q_OBJECT
private slots:
    void localizedUrl_data();
    void localizedUrl();
    void runningVersionNotesUrl_data();
    void runningVersionNotesUrl();
    void languageFallback_data();
    void languageFallback();
    void englishSystemLocaleAsksOnce();
    void requestCarriesTag();
    void onlyWebAddressesAreFetched_data();
    void onlyWebAddressesAreFetched();
};

void tst_ReleaseNotes::localizedUrl_data()
{
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("expected");

    const QString notes = QStringLiteral("https://feed.example/calendar/1.3.4/release-notes.md");
    QTest::newRow("German") << notes << "de_DE"
                            << "https://feed.example/calendar/1.3.4/release-notes.de.md";
    QTest::newRow("Japanese") << notes << "ja_JP"
                              << "https://feed.example/calendar/1.3.4/release-notes.ja.md";
    QTest::newRow("Austrian German") << notes << "de_AT"
                                     << "https://feed.example/calendar/1.3.4/release-notes.de.md";
    QTest::newRow("English") << notes << "en_US"
                             << "";
    QTest::newRow("British English") << notes << "en_GB"
                                     << "";
    QTest::newRow("C locale") << notes << "C"
                              << "";
    QTest::newRow("POSIX locale") << notes << "POSIX"
                                  << "";
    QTest::newRow("no locale") << notes << ""
                               << "";
    QTest::newRow("upper-case extension") << "https://feed.example/n/NOTES.MD"
                                          << "fr_FR"
                                          << "https://feed.example/n/NOTES.fr.MD";
    QTest::newRow("query kept") << "https://feed.example/n/notes.md?v=2"
                                << "es_ES"
                                << "https://feed.example/n/notes.es.md?v=2";
    QTest::newRow("not markdown") << "https://feed.example/n/notes.txt"
                                  << "de_DE"
                                  << "https://feed.example/n/notes.txt";
    QTest::newRow("encoded path") << "https://feed.example/my%20notes/n.md"
                                  << "de_DE"
                                  << "https://feed.example/my%20notes/n.de.md";
}

void tst_ReleaseNotes::localizedUrl()
{
    QFETCH(QString, url);
    QFETCH(QString, locale);
    QFETCH(QString, expected);
    QCOMPARE(ReleaseNotesFetcher::localizedUrl(QUrl(url), locale).toString(QUrl::FullyEncoded),
             expected);
}

void tst_ReleaseNotes::runningVersionNotesUrl_data()
{
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("notes");
    QTest::newRow("channel folder") << "https://feed.example/calendar/stable/"
                                    << "https://feed.example/calendar/1.3.4/release-notes.md";
    QTest::newRow("without slash") << "https://feed.example/calendar/stable"
                                   << "https://feed.example/calendar/1.3.4/release-notes.md";
    QTest::newRow("deeper feed") << "http://127.0.0.1:8000/feed/calendar/stable/"
                                 << "http://127.0.0.1:8000/feed/calendar/1.3.4/release-notes.md";
}

void tst_ReleaseNotes::runningVersionNotesUrl()
{
    QFETCH(QString, base);
    QFETCH(QString, notes);
    const UpdateChannelConfig config {QStringLiteral("calendar"), QStringLiteral("stable"),
                                      QUrl(base), QStringLiteral("1.3.4")};
    ReleaseNotesFetcher fetcher(config);
    QCOMPARE(fetcher.notesUrl().toString(), notes);
}

void tst_ReleaseNotes::languageFallback_data()
{
    QTest::addColumn<FakeReply>("german");
    QTest::addColumn<FakeReply>("english");
    QTest::addColumn<QString>("outcome");
    QTest::addColumn<QStringList>("requested");

    const FakeReply english = FakeReply::text(200, "  # Neu\n\n- Faster sync\n\n", "text/markdown");
    const FakeReply german = FakeReply::text(200, "# Neu\n- Schneller", "text/markdown");
    const FakeReply missing = FakeReply::text(404, "no");
    const QStringList both {kGermanNotes, kNotes};
    QTest::newRow("translation present")
        << german << english << "ready:# Neu\n- Schneller" << QStringList {kGermanNotes};
    QTest::newRow("translation missing")
        << missing << english << "ready:# Neu\n\n- Faster sync" << both;
    QTest::newRow("translation blank")
        << FakeReply::text(200, " \n\t \n") << english << "ready:# Neu\n\n- Faster sync" << both;
    QTest::newRow("translation server error")
        << FakeReply::text(500, "oops") << english << "ready:# Neu\n\n- Faster sync" << both;
    QTest::newRow("neither") << missing << missing << "unavailable" << both;
    QTest::newRow("untranslated blank")
        << missing << FakeReply::text(200, "\n\n   ") << "unavailable" << both;
    QTest::newRow("UTF-8 text") << FakeReply::text(200, "Überarbeitete Ansicht – schneller")
                                << english << "ready:Überarbeitete Ansicht – schneller"
                                << QStringList {kGermanNotes};
}

void tst_ReleaseNotes::languageFallback()
{
    QFETCH(FakeReply, german);
    QFETCH(FakeReply, english);
    QFETCH(QString, outcome);
    QFETCH(QStringList, requested);

    FakeHttpServer server;
    QVERIFY(server.listen());
    server.route("GET", kGermanNotes, german);
    server.route("GET", kNotes, english);
    ReleaseNotesFetcher fetcher(server.url(kNotes), QStringLiteral("calendar"));
    fetcher.setLocaleName(QStringLiteral("de_DE"));
    QCOMPARE(waitForOutcome(fetcher), outcome);
    QCOMPARE(requestedPaths(server), requested);
}

void tst_ReleaseNotes::englishSystemLocaleAsksOnce()
{
    // The tests run under LC_ALL=C.UTF-8: the untranslated program, which is English.
    QCOMPARE(QLocale::system().language(), QLocale::C);
    FakeHttpServer server;
    QVERIFY(server.listen());
    server.route("GET", QStringLiteral("/*"), FakeReply::text(404, "no"));
    server.route("GET", kNotes, FakeReply::text(200, "Notes"));
    ReleaseNotesFetcher fetcher(server.url(kNotes), QStringLiteral("calendar"));
    QVERIFY(fetcher.localizedNotesUrl().isEmpty());
    QCOMPARE(waitForOutcome(fetcher), QStringLiteral("ready:Notes"));
    QCOMPARE(requestedPaths(server), QStringList {kNotes});
}

void tst_ReleaseNotes::requestCarriesTag()
{
    FakeHttpServer server;
    QVERIFY(server.listen());
    server.route("GET", kNotes, FakeReply::text(200, "Notes"));
    ReleaseNotesFetcher fetcher(server.url(kNotes), QStringLiteral("update-dialog"));
    QCOMPARE(waitForOutcome(fetcher), QStringLiteral("ready:Notes"));
    QCOMPARE(server.requests().first().header("User-Agent"),
             QByteArray("LarkUpdateQt/0.1 (update-dialog)"));
    // A hung feed must not leave the notes pending for ever.
    QCOMPARE(
        ReleaseNotesFetcher::makeRequest(server.url(kNotes), QStringLiteral("x")).transferTimeout(),
        30000);
}

void tst_ReleaseNotes::onlyWebAddressesAreFetched_data()
{
    QTest::addColumn<QString>("scheme");
    QTest::newRow("file") << "file";
    QTest::newRow("data") << "data";
    QTest::newRow("qrc") << "qrc";
}

void tst_ReleaseNotes::onlyWebAddressesAreFetched()
{
    QFETCH(QString, scheme);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QFile file(dir.filePath(QStringLiteral("release-notes.md")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("secret local text");
    file.close();
    QUrl url;
    if (scheme == QLatin1String("file"))
        url = QUrl::fromLocalFile(file.fileName());
    else if (scheme == QLatin1String("data"))
        url = QUrl(QStringLiteral("data:text/plain,inline%20notes"));
    else
        url = QUrl(QStringLiteral("qrc:/i18n/release-notes.md"));

    ReleaseNotesFetcher fetcher(url, QStringLiteral("calendar"));
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("not http or https, not fetched")));
    QCOMPARE(waitForOutcome(fetcher), QStringLiteral("unavailable"));
}

QTEST_GUILESS_MAIN(tst_ReleaseNotes)
#include "tst_ReleaseNotes.moc"
