#include "services/sync/caldav/CalDavParse.h"
#include "support/TestSupport.h"

#include <QtTest>

using namespace CalDavParse;

class TestCalDavParse : public QObject
{
    Q_OBJECT
private slots:
    void reads_data();
    void reads();
};

void TestCalDavParse::reads_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QStringList>("expected");

    const auto data = [](const char *name) {
        return LarkTest::readData(QStringLiteral("caldav/") + QString::fromUtf8(name));
    };
    const QString r = QStringLiteral("http://127.0.0.1:5232");
    const QString x = QStringLiteral("http://127.0.0.1:8080");

    QTest::newRow("radicale principal")
        << data("radicale_principal.xml") << QStringList {u"principal " + r + u"/alice/"};
    QTest::newRow("radicale calendar home")
        << data("radicale_home.xml") << QStringList {u"home " + r + u"/alice/"};
    // The principal and the address book in the same listing are no calendars; a 404 propstat
    // gives nothing.
    QTest::newRow("radicale calendars")
        << data("radicale_calendars.xml")
        << QStringList {
               r
                   + u"/alice/work/|Work|#ff8800|Team & projects|VEVENT,VTODO|"
                     u"\"5fc92746dae2a2c8ba808a53fcf4c581aebcdec56189e6208e5d1be989c999fd\"",
               r
                   + u"/alice/plain/|alice/plain|||VTODO,VEVENT,VJOURNAL|"
                     u"\"ca5d66c59a8e12e6801df61f5601aaa0d0380afbd1f8c3623e713eb9b5d486ed\""};
    QTest::newRow("xandikos principal")
        << data("xandikos_principal.xml") << QStringList {u"principal " + x + u"/user/"};
    QTest::newRow("xandikos calendar home")
        << data("xandikos_home.xml") << QStringList {u"home " + x + u"/user/calendars/"};
    QTest::newRow("xandikos calendars")
        << data("xandikos_calendars.xml")
        << QStringList {x
                            + u"/user/calendars/rota/|Team Rota|#33AA55FF||VEVENT,VTODO,VJOURNAL,"
                              u"VFREEBUSY|a408b3977df02953c6dd3fe8942f6ca69049ff83",
                        x
                            + u"/user/calendars/calendar/|calendar|||VEVENT,VTODO,VJOURNAL,"
                              u"VFREEBUSY|ae4423fea231573dd53ab2567fdc26cd3f98a7ca"};
    QTest::newRow("no component set, absolute href elsewhere")
        << QByteArray("<m:multistatus xmlns:m='DAV:'><m:response>"
                      "<m:href>https://127.0.0.2/cals/a%20b/</m:href><m:propstat><m:prop>"
                      "<m:resourcetype><m:collection/><x:calendar "
                      "xmlns:x='urn:ietf:params:xml:ns:caldav'/></m:resourcetype>"
                      "</m:prop></m:propstat></m:response></m:multistatus>")
        << QStringList {QStringLiteral("https://127.0.0.2/cals/a%20b/||||VEVENT|")};
    // Later requests carry the password: nothing may point them at another kind of address.
    QTest::newRow("addresses that are not web addresses")
        << QByteArray("<multistatus xmlns='DAV:' xmlns:C='urn:ietf:params:xml:ns:caldav'>"
                      "<response><href>/</href><propstat><prop><current-user-principal>"
                      "<href>file:///etc/</href></current-user-principal></prop></propstat>"
                      "</response><response><href>ftp://127.0.0.1/cal/</href><propstat><prop>"
                      "<resourcetype><C:calendar/></resourcetype></prop></propstat></response>"
                      "</multistatus>")
        << QStringList();
    // A calendar element in another namespace is not a calendar collection.
    QTest::newRow("foreign namespace")
        << QByteArray("<multistatus xmlns='DAV:'><response><href>/c/</href><propstat><prop>"
                      "<resourcetype><calendar xmlns='urn:example'/></resourcetype></prop>"
                      "<status>HTTP/1.1 200 OK</status></propstat></response></multistatus>")
        << QStringList();

    const QByteArray whole = data("radicale_calendars.xml");
    QTest::newRow("truncated") << whole.left(whole.size() / 2)
                               << QStringList {QStringLiteral("malformed")};
    QTest::newRow("not a multistatus") << QByteArray("<html><body>Sign in</body></html>")
                                       << QStringList {QStringLiteral("malformed")};
    QTest::newRow("empty body") << QByteArray() << QStringList {QStringLiteral("malformed")};
    QTest::newRow("trailing garbage")
        << whole + "<extra/>" << QStringList {QStringLiteral("malformed")};
}

void TestCalDavParse::reads()
{
    QFETCH(QByteArray, body);
    QFETCH(QStringList, expected);
    QVERIFY(!body.isNull() || expected == QStringList {QStringLiteral("malformed")});

    const QUrl base(QString::fromUtf8(QTest::currentDataTag()).startsWith(u"xandikos")
                        ? QStringLiteral("http://127.0.0.1:8080/user/")
                        : QStringLiteral("http://127.0.0.1:5232/alice/"));
    QStringList seen;
    const std::optional<QList<Response>> responses = parseMultistatus(body);
    if (!responses) {
        seen << QStringLiteral("malformed");
    } else {
        const QUrl principal = firstHref(*responses, kCurrentUserPrincipal, base);
        const QUrl home = firstHref(*responses, kCalendarHomeSet, base);
        if (!principal.isEmpty())
            seen << u"principal " + principal.toString();
        if (!home.isEmpty())
            seen << u"home " + home.toString();
        for (const DiscoveredCalendar &c : calendarsIn(*responses, base))
            seen << QStringList {c.url,
                                 c.displayName,
                                 c.color,
                                 c.description,
                                 c.supportedComponents.join(u','),
                                 c.ctag}
                        .join(u'|');
    }
    QCOMPARE(seen, expected);
}

QTEST_GUILESS_MAIN(TestCalDavParse)
#include "tst_CalDavParse.moc"
