#include "storage/Database.h"
#include "storage/PreferenceKeys.h"
#include "storage/PreferencesRepository.h"
#include "support/FakeHttpServer.h"
#include "support/IcsFiles.h"
#include "support/StartedAppState.h"
#include "ui/MessagePresenter.h"
#include "ui/dialogs/WeatherSettingsDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSqlQuery>
#include <QTest>

using LarkTest::FakeReply;
using namespace Qt::StringLiterals;

namespace {

const QString searchPath = u"/v1/search"_s;

FakeReply matches(const QByteArray &results)
{
    return FakeReply::text(200, R"({"results": [)" + results + "]}", "application/json");
}

QStringList rows(const QListWidget *list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

struct Setup
{
    LarkTest::FakeHttpServer server;
    LarkTest::StartedAppState state;
    std::unique_ptr<WeatherSettingsDialog> dialog;

    Setup()
    {
        (void)server.listen();
        qputenv("WEATHER_GEOCODING_URL", server.url(searchPath).toEncoded());
        dialog = std::make_unique<WeatherSettingsDialog>(state.get(), nullptr);
        dialog->show();
        (void)QTest::qWaitForWindowActive(dialog.get());
    }
    ~Setup() { qunsetenv("WEATHER_GEOCODING_URL"); }
    // Types into the field and presses Return there, as a user would.
    void search(const QString &text)
    {
        dialog->searchEdit()->setText(text);
        dialog->searchEdit()->setFocus();
        QTest::keyClick(dialog->searchEdit(), Qt::Key_Return);
    }
    QString pref(const QString &key) const { return state->preferences()->getString(key); }
};

} // namespace

class TestWeatherSettingsDialog : public QObject
{
    Q_OBJECT
private slots:
    void searchAndSave();
    void onlyTheLatestSearchIsShown();
    void failureSavesNoPlace();
};

void TestWeatherSettingsDialog::searchAndSave()
{
    Setup setup;
    setup.server.route("GET", searchPath, matches(R"(
        {"name": "Springfield", "admin1": "Illinois", "country_code": "US",
         "latitude": 39.80172, "longitude": -89.64371},
        {"name": "Springfield", "country_code": "US", "latitude": 42.1, "longitude": -72.58},
        {"name": "Springfield", "admin1": "Otago", "latitude": -43.33, "longitude": 171.93})"));
    QVERIFY(setup.dialog->isActiveWindow());
    // The dialog opens with the focus in the city field: a city typed at once and Return search.
    QWidget *focus = QApplication::focusWidget();
    QCOMPARE(focus, setup.dialog->searchEdit());
    QTest::keyClicks(focus, u"  Springfield, IL  "_s);
    QTest::keyClick(focus, Qt::Key_Return);
    QVERIFY(!setup.dialog->searchButton()->isEnabled());
    QTRY_VERIFY(setup.dialog->searchButton()->isEnabled());
    // The key went to the search, not to Save.
    QVERIFY(setup.dialog->isVisible());

    const QUrlQuery query = setup.server.requests().value(0).query;
    QCOMPARE(query.toString(QUrl::FullyDecoded),
             u"name=Springfield&count=6&language=en&format=json"_s);
    QCOMPARE(rows(setup.dialog->resultsList()),
             QStringList(
                 {u"Springfield, Illinois, US"_s, u"Springfield, US"_s, u"Springfield, Otago"_s}));

    setup.dialog->findChild<QComboBox *>(u"weatherUnitCombo"_s)->setCurrentIndex(0);
    setup.dialog->findChild<QCheckBox *>(u"weatherEnableCheck"_s)->setChecked(true);
    // While another program writes, or where the store refuses writes (a full disk, a
    // read-only file), Save stores none of it and says why; the dialog stays.
    QSqlQuery refuse(setup.state->database()->connection());
    for (const QString &cause :
         {u"Another program is writing"_s, u"The weather settings could"_s}) {
        QStringList said;
        MessagePresenter::setHandler([&said](MessagePresenter::Kind, QWidget *, const QString &,
                                             const QString &text) { said << text; });
        QVERIFY(cause.startsWith(u'A')
                    ? LarkTest::holdWriteLock(setup.state.dir() + u"/calendar.db"_s, 0)
                    : refuse.exec(u"PRAGMA query_only = ON"_s));
        setup.dialog->save();
        MessagePresenter::setHandler({});
        QVERIFY2(said.size() == 1 && said.first().startsWith(cause), qPrintable(said.join(u'|')));
        QVERIFY(setup.dialog->isVisible());
        QVERIFY(!setup.state->preferences()->get(Prefs::WeatherUnit));
        QTest::qWait(0); // the other program lets go of the lock
    }
    QVERIFY(refuse.exec(u"PRAGMA query_only = OFF"_s));
    setup.dialog->save();
    QCOMPARE(setup.pref(Prefs::WeatherLocationLat), u"39.80172"_s);
    QCOMPARE(setup.pref(Prefs::WeatherLocationLng), u"-89.64371"_s);
    QCOMPARE(setup.pref(Prefs::WeatherLocationName), u"Springfield, Illinois, US"_s);
    QCOMPARE(setup.pref(Prefs::WeatherUnit), u"C"_s);
    QCOMPARE(setup.pref(Prefs::WeatherEnabled), u"1"_s);
}

void TestWeatherSettingsDialog::onlyTheLatestSearchIsShown()
{
    Setup setup;
    setup.server.route("GET", searchPath, [](const LarkTest::RecordedRequest &request) {
        const QString name = request.query.queryItemValue(u"name"_s);
        FakeReply reply
            = matches(R"({"name": ")" + name.toUtf8() + R"(", "latitude": 1, "longitude": 2})");
        // The first search's answer is late: it arrives after the second one's.
        return name == u"Paris"_s ? reply.held() : reply;
    });
    setup.search(u"Paris"_s);
    QTRY_COMPARE(setup.server.heldCount(), 1);
    setup.search(u"Berlin"_s);
    QTRY_COMPARE(rows(setup.dialog->resultsList()), QStringList {u"Berlin"_s});
    QVERIFY(setup.dialog->searchButton()->isEnabled());

    QCOMPARE(setup.server.releaseHeld(), 1);
    QTest::qWait(100);
    QCOMPARE(rows(setup.dialog->resultsList()), QStringList {u"Berlin"_s});
}

void TestWeatherSettingsDialog::failureSavesNoPlace()
{
    Setup setup;
    setup.server.route("GET", searchPath, FakeReply::text(503, "down"));
    setup.search(u"Oslo"_s);
    QTRY_COMPARE(rows(setup.dialog->resultsList()),
                 QStringList {u"Search failed: Geocoding returned HTTP 503"_s});
    setup.dialog->save();
    QCOMPARE(setup.pref(Prefs::WeatherUnit), u"F"_s);
    QVERIFY(setup.pref(Prefs::WeatherLocationLat).isEmpty());
    QVERIFY(setup.pref(Prefs::WeatherLocationName).isEmpty());
}

QTEST_MAIN(TestWeatherSettingsDialog)
#include "tst_WeatherSettingsDialog.moc"
