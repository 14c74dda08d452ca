// The application object in this process: its rules, a failed start, and a full start with
// "--background --show-today" run to the event loop.

#include "app/Application.h"
#include "core/AppState.h"
#include "platform/DataPaths.h"
#include "platform/SingleInstance.h"
#include "services/update/FeedFixtures.h"
#include "storage/Database.h"
#include "storage/PreferenceKeys.h"
#include "storage/PreferencesRepository.h"
#include "support/FakeHttpServer.h"
#include "support/MemoryTokenStore.h"
#include "support/TestFiles.h"
#include "ui/MessagePresenter.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/update/UpdateDialog.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTranslator>

namespace {
Application *app = nullptr;

struct ShownBox
{
    MessagePresenter::Kind kind;
    QWidget *parent;
    QString title;
    QString text;
};
} // namespace

class TestApplication : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();
    void loggingRules_data();
    void loggingRules();
    void language_data();
    void language();
    void translatorsFollowTheStoredLanguage_data();
    void translatorsFollowTheStoredLanguage();
    void identityAndFont();
    void startFailureShowsTheBoxAndEndsWithOne_data();
    void startFailureShowsTheBoxAndEndsWithOne();
    void backgroundStartShowsTodayAndOffersAnUpdateWithoutBlocking();
};

void TestApplication::cleanup()
{
    MessagePresenter::setHandler({});
    QSettings(QStringLiteral("Larkspindle"), QStringLiteral("Calendar")).clear();
}

void TestApplication::loggingRules_data()
{
    QTest::addColumn<QString>("instance");
    QTest::addColumn<QByteArray>("userRules");
    QTest::addColumn<QString>("rules");

    const QString quiet = QStringLiteral("*.debug=false\n*.info=false");
    QTest::newRow("no instance") << "" << QByteArray() << quiet;
    QTest::newRow("named instance") << "work" << QByteArray() << quiet;
    QTest::newRow("dev instance") << "dev" << QByteArray() << "";
    QTest::newRow("dev is exact") << "Dev" << QByteArray() << quiet;
    QTest::newRow("user rules") << "" << QByteArray("calendar.expansion.debug=true") << "";
}

void TestApplication::loggingRules()
{
    QFETCH(QString, instance);
    QFETCH(QByteArray, userRules);
    QFETCH(QString, rules);
    QCOMPARE(startupLoggingRules(instance, userRules), rules);
}

void TestApplication::language_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("systemLocale");
    QTest::addColumn<QString>("language");

    QTest::newRow("system, Brazilian Portuguese") << "system"
                                                  << "pt_BR"
                                                  << "en";
    QTest::newRow("system, Japanese") << "system"
                                      << "ja_JP"
                                      << "ja";
    QTest::newRow("system, Austrian German") << "system"
                                             << "de_AT"
                                             << "de";
    QTest::newRow("system, C locale") << "system"
                                      << "C"
                                      << "en";
    QTest::newRow("system, letter case counts") << "system"
                                                << "DE_de"
                                                << "en";
    QTest::newRow("stored Italian stands") << "it"
                                           << "ja_JP"
                                           << "it";
    QTest::newRow("stored French") << "fr"
                                   << "de_DE"
                                   << "fr";
}

void TestApplication::language()
{
    QFETCH(QString, stored);
    QFETCH(QString, systemLocale);
    QFETCH(QString, language);
    QCOMPARE(Application::resolveLanguage(stored, systemLocale), language);
}

void TestApplication::translatorsFollowTheStoredLanguage_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("appTranslation");
    QTest::addColumn<QString>("cancel"); // Qt's own button text
    QTest::addColumn<QString>("monday"); // as dates name it

    QTest::newRow("English") << "en" << true << "Cancel"
                             << "Monday";
    QTest::newRow("German") << "de" << true << "Abbrechen"
                            << "Montag";
    QTest::newRow("Japanese") << "ja" << true << "キャンセル"
                              << "月曜日";
    QTest::newRow("Italian: no program translation") << "it" << false << "Annulla"
                                                     << "lunedì";
}

void TestApplication::translatorsFollowTheStoredLanguage()
{
    QFETCH(QString, stored);
    QFETCH(bool, appTranslation);
    QFETCH(QString, cancel);
    QFETCH(QString, monday);
    {
        QSettings settings(QStringLiteral("Larkspindle"), QStringLiteral("Calendar"));
        settings.setValue(QStringLiteral("ui/language"), stored);
    }
    QCOMPARE(app->resolveLanguage(), stored);
    app->installTranslators();
    QCOMPARE(app->appTranslation() != nullptr, appTranslation);
    QCOMPARE(app->qtTranslation() != nullptr, stored != QLatin1String("en"));
    const QString qtCancel = QCoreApplication::translate("QPlatformTheme", "Cancel");
    const QString dayName = QLocale().dayName(Qt::Monday);

    // Back to the untranslated program for the tests that follow.
    for (QTranslator *translator : {app->qtTranslation(), app->appTranslation()}) {
        if (translator)
            QCoreApplication::removeTranslator(translator);
    }
    QLocale::setDefault(QLocale::c());
    QCOMPARE(qtCancel, cancel);
    QCOMPARE(dayName, monday);
}

void TestApplication::identityAndFont()
{
    QCOMPARE(QCoreApplication::organizationName(), QStringLiteral("Larkspindle"));
    QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Calendar"));
    QCOMPARE(QCoreApplication::applicationVersion(), QStringLiteral("1.3.4"));
    QCOMPARE(QApplication::font().family(), QStringLiteral("IBM Plex Sans"));
    QCOMPARE(QApplication::font().pointSize(), 11);
    QVERIFY(!QApplication::windowIcon().isNull());
}

void TestApplication::startFailureShowsTheBoxAndEndsWithOne_data()
{
    QTest::addColumn<QString>("folderAt"); // made a folder inside the data folder
    QTest::addColumn<QString>("fileAt"); // made a file there
    QTest::addColumn<QString>("dataAt"); // the data folder in the temporary one (empty: itself)
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("heldDark"); // held by a running copy whose stored theme is dark
    // The box names what SQLite refused, not a guess.
    QTest::newRow("database cannot be opened")
        << QStringLiteral("calendar.db") << QString() << QString()
        << QStringLiteral("Database Error")
        << QStringLiteral("The database cannot be opened for writing (unable to open database "
                          "file), so Larkspindle Calendar cannot start.\n\nData directory: %1")
        << false;
    QTest::newRow("not a database")
        << QString() << QStringLiteral("calendar.db") << QString()
        << QStringLiteral("Database Error")
        << QStringLiteral("The database cannot be opened for writing (file is not a database), "
                          "so Larkspindle Calendar cannot start.\n\nData directory: %1")
        << false;
    QTest::newRow("database is a link")
        << QString() << QStringLiteral("elsewhere") << QString()
        << QStringLiteral("Link in the Data Folder")
        << QStringLiteral("%1/calendar.db is a link. Larkspindle Calendar keeps its own files in "
                          "its data folder and does not write through links. Put the file itself "
                          "there or remove the link, then start Larkspindle Calendar again.")
        << false;
    // The box wears the running copy's look, read from its database, which this start never opens.
    QTest::newRow("held by a copy in dark mode")
        << QString() << QString() << QString() << QStringLiteral("Larkspindle Calendar Is Running")
        << QStringLiteral("Larkspindle Calendar is already running with this data folder (process "
                          "%1), perhaps in another session of yours. Close it there, then start it "
                          "here again.\n\nData directory: %2")
               .arg(QString::number(QCoreApplication::applicationPid()), QStringLiteral("%1"))
        << true;
    // Nobody can take such a lock, so the box says what is in the way, not a process number.
    QTest::newRow("lock path is a folder")
        << QStringLiteral("calendar.lock") << QString() << QString()
        << QStringLiteral("Data Folder Cannot Be Locked")
        << QStringLiteral("The lock file %1/calendar.lock is a folder, so no copy of Larkspindle "
                          "Calendar can take this data folder. Remove that folder, then start "
                          "Larkspindle Calendar again.")
        << false;
    // A file stands where the data folder's parent would be: that is the cause, not the locks.
    QTest::newRow("data folder cannot be made")
        << QString() << QStringLiteral("blocker") << QStringLiteral("blocker/data")
        << QStringLiteral("Data Folder Cannot Be Made")
        << QStringLiteral("The data folder cannot be made (cannot create %1: Not a directory).\n\n"
                          "Data directory: %1\n\nPlease check that no file stands in its path "
                          "and that you may write there, then start Larkspindle Calendar again.")
        << false;
}

void TestApplication::startFailureShowsTheBoxAndEndsWithOne()
{
    QFETCH(QString, folderAt);
    QFETCH(QString, fileAt);
    QFETCH(QString, dataAt);
    QFETCH(QString, title);
    QFETCH(QString, text);
    QFETCH(bool, heldDark);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    if (!folderAt.isEmpty())
        QVERIFY(QDir(dir.path()).mkdir(folderAt));
    // A page of it: SQLite takes a shorter file for an empty database.
    if (!fileAt.isEmpty())
        QVERIFY(LarkTest::writeFile(dir.filePath(fileAt), QByteArray(4096, 'x')));
    if (fileAt == QLatin1String("elsewhere"))
        QVERIFY(QFile::link(dir.filePath(fileAt), dir.filePath(QStringLiteral("calendar.db"))));
    const QString data = dataAt.isEmpty() ? dir.path() : dir.filePath(dataAt);
    qputenv("CALENDAR_DATA_DIR", QFile::encodeName(data));
    DataFolderLockAttempt held;
    Database holder;
    if (heldDark) {
        held = lockDataDirectory();
        QVERIFY(held.lock && holder.open(databasePath()) && holder.migrate());
        QVERIFY(PreferencesRepository(&holder).set(Prefs::Theme, QStringLiteral("dark")));
    }

    // The box wears the program's look like every other one, though no window exists yet.
    app->setStyleSheet(QString());
    QList<ShownBox> boxes;
    bool themed = false;
    bool dark = false;
    MessagePresenter::setHandler([&](MessagePresenter::Kind kind, QWidget *parent,
                                     const QString &title, const QString &text) {
        boxes.append({kind, parent, title, text});
        themed = !app->styleSheet().isEmpty();
        dark = app->palette().color(QPalette::Window).lightness() < 128;
    });
    LarkTest::ScopedMemoryTokenStore secrets;
    if (folderAt == QLatin1String("calendar.lock"))
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("cannot be locked")));
    QCOMPARE(app->run(), 1);
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes.first().kind, MessagePresenter::Kind::Critical);
    QVERIFY(!boxes.first().parent);
    QCOMPARE(boxes.first().title, title);
    QCOMPARE(boxes.first().text.remove(QChar(0x200B)), text.arg(data));
    QVERIFY(themed);
    QCOMPARE(dark, heldDark);
    QVERIFY(!app->window());
}

void TestApplication::backgroundStartShowsTodayAndOffersAnUpdateWithoutBlocking()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    qputenv("CALENDAR_DATA_DIR", QFile::encodeName(dir.path()));
    LarkTest::ScopedMemoryTokenStore secrets;
    // A release feed on this machine offers a newer version.
    LarkTest::FakeHttpServer feed;
    QVERIFY(feed.listen());
    feed.route("GET", QStringLiteral("/calendar/stable/latest.json"),
               FeedFixtures::offering(QStringLiteral("9.0.0")));
    qputenv("UPDATE_FEED_URL", feed.url(QStringLiteral("/")).toString().toUtf8());

    const QStringList arguments = QCoreApplication::arguments();
    QVERIFY(arguments.contains(QStringLiteral("--background")));
    auto *channel = new SingleInstance(app);
    QCOMPARE(channel->forwardOrListen(arguments), SingleInstance::Outcome::Serving);
    app->setSingleInstance(channel);
    app->setStartupCommand(InstanceCommand::fromArguments(arguments));

    // Armed before the loop: runs first in it, before the dispatched command.
    bool shownAtFirstTurn = true;
    QTimer::singleShot(0, app, [&] { shownAtFirstTurn = app->window()->isVisible(); });
    QDate shownOn;
    bool offerBlocks = true;
    QTimer poll;
    connect(&poll, &QTimer::timeout, app, [&] {
        if (app->window() && app->window()->isVisible() && !shownOn.isValid())
            shownOn = app->state()->currentDate();
        const auto offers = app->window()
            ? app->window()->findChildren<LarkUpdate::UpdateDialog *>()
            : QList<LarkUpdate::UpdateDialog *>();
        if (shownOn.isValid() && !offers.isEmpty() && offers.first()->isVisible()) {
            // The offer at start-up sits beside the window; the window still takes input.
            offerBlocks = offers.first()->isModal() || QApplication::activeModalWidget();
            QCoreApplication::quit();
        }
    });
    poll.start(20);
    QTimer::singleShot(10000, app, [] { QCoreApplication::quit(); });

    const QDate before = QDate::currentDate();
    QCOMPARE(app->run(), 0);
    const QDate after = QDate::currentDate();
    qunsetenv("UPDATE_FEED_URL");
    QVERIFY(!shownAtFirstTurn);
    QVERIFY(shownOn == before || shownOn == after);
    QVERIFY(!feed.requests().isEmpty());
    QVERIFY(!offerBlocks);
    QVERIFY(app->state()->preferences()->getBool(Prefs::AccountsDedupedV1, false));
    // No tray here: the window closes instead of hiding.
    QVERIFY(!app->window()->trayIcon());
    QVERIFY(app->window()->notificationService());
}

int main(int argc, char *argv[])
{
    // The program's own command line; the test framework keeps the real one.
    static char program[] = "calendar";
    static char background[] = "--background";
    static char showToday[] = "--show-today";
    static char *appArgv[] = {program, background, showToday, nullptr};
    int appArgc = 3;
    Application application(appArgc, appArgv);
    app = &application;
    TestApplication test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_Application.moc"
