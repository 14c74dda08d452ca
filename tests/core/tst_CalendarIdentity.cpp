#include "core/sync/CalendarIdentity.h"

#include <QtTest>

// Expected digests were computed outside the program: printf '%s' '<hashed text>' | sha256sum.
class TestCalendarIdentity : public QObject
{
    Q_OBJECT
private slots:
    void key_data();
    void key();
    void noKeyForUnknownType_data();
    void noKeyForUnknownType();
    void sameCalendarSameKey_data();
    void sameCalendarSameKey();
    void keysForIds();
    void resolveKeys();
};

void TestCalendarIdentity::key_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("digest");

    // caldav:/123/calendars/work
    QTest::newRow("icloud url keeps only the path")
        << "icloud"
        << "https://p42-caldav.example.com:443/123/Calendars/Work/"
        << "e1fd303bb30dc4c063b79e036914c1cac8110b69bfad8d21a349e1244766f3e7";
    // caldav:/dav/cal?x=1
    QTest::newRow("caldav url with query")
        << "caldav"
        << "https://dav.example.org/dav/cal?x=1"
        << "0994a47e5b561f671b5e59bc85ac5be43d0dadef8d281b1a44c0659b01ddf4ed";
    // caldav:/calendars/home
    QTest::newRow("caldav path without scheme")
        << "caldav"
        << "/Calendars/Home/"
        << "5ce34a4dead6a81fc421a3c244359a33c6b592f9b2e4b210efcc0abf9ef985a8";
    // caldav:/dav/münchen (percent escapes decoded)
    QTest::newRow("caldav escaped path decoded")
        << "zoho"
        << "https://h.example/dav/M%C3%BCnchen"
        << "60f1fa7f57dc1bddbaa1145bd5317fc61f527181ff17e264ff23b46d6f67b684";
    // caldav:
    QTest::newRow("caldav url without path")
        << "caldav"
        << "https://dav.example.org"
        << "4ee97bec1ad6884026fdd272e506bc6add54fb1c77b1569b8886bf6907b670ef";
    // caldav:?a=b
    QTest::newRow("caldav url with only a query")
        << "caldav"
        << "https://dav.example.org?a=b"
        << "697f83ad959ded8b974829bbc57001f5a481f95b932df2097ef1e2b146b41b0d";
    // larkspindle:abc
    QTest::newRow("cloud url")
        << "larkspindle"
        << "larkspindle://AbC"
        << "ecb5dff28904ecaff7bbdba14ac2557c2f7074e0ae67973392ca3833904ff27c";
    // larkspindle:larkspindle-personal-default
    QTest::newRow("local personal url")
        << "larkspindle"
        << "local://calendar/Personal"
        << "7cd79fa9795103f026aea7051804cb297260ef6cdea77d112262d66a45bcee7a";
    QTest::newRow("personal alone")
        << "larkspindle"
        << "personal"
        << "7cd79fa9795103f026aea7051804cb297260ef6cdea77d112262d66a45bcee7a";
    QTest::newRow("PERSONAL") << "larkspindle"
                              << "PERSONAL"
                              << "7cd79fa9795103f026aea7051804cb297260ef6cdea77d112262d66a45bcee7a";
    QTest::newRow("personal default id")
        << "larkspindle"
        << "larkspindle-personal-default"
        << "7cd79fa9795103f026aea7051804cb297260ef6cdea77d112262d66a45bcee7a";
    QTest::newRow("seeded Personal calendar url")
        << "larkspindle"
        << "local://calendar/larkspindle-personal-default"
        << "7cd79fa9795103f026aea7051804cb297260ef6cdea77d112262d66a45bcee7a";
    // larkspindle:x
    QTest::newRow("cloud url with calendar/")
        << "larkspindle"
        << "larkspindle://calendar/x"
        << "27b99bee8d5747cbe178603ae274ad8ea46c0fe0b08f4ed57a25d6aa0226679f";
    QTest::newRow("calendar/ alone")
        << "larkspindle"
        << "calendar/x"
        << "27b99bee8d5747cbe178603ae274ad8ea46c0fe0b08f4ed57a25d6aa0226679f";
    QTest::newRow("bare id") << "larkspindle"
                             << "x"
                             << "27b99bee8d5747cbe178603ae274ad8ea46c0fe0b08f4ed57a25d6aa0226679f";
    // larkspindle:larkspindle://x (only one prefix removed)
    QTest::newRow("two prefixes")
        << "larkspindle"
        << "local://larkspindle://x"
        << "58fe2acb5a0cf4bad96d9e13a641acf29e0627d522ef381a14ec5a6991af509e";
    // google:team-calendar-id
    QTest::newRow("google id lower-cased")
        << "google"
        << "Team-Calendar-Id"
        << "70f68ea409b95e3a339e4fc0ee52a3b1c4225b00f1731911daca0ff63fce665d";
    // google:
    QTest::newRow("empty google id")
        << "google"
        << ""
        << "fde9a8e01b29c1dc0df3ab2b381137d2787e48700b5cd124c3669fb68067ab25";
    // microsoft:abc@outlook.com
    QTest::newRow("microsoft id")
        << "microsoft"
        << "ABC@outlook.com"
        << "b0add0e8b5d3c97043b2a37b2b5d4b4c528c3b68becf50a585172d4cf5ea436c";
    // webcal:webcal://feeds/x.ics
    QTest::newRow("webcal keeps scheme and host")
        << "webcal"
        << "WEBCAL://feeds/x.ics//"
        << "e458f8daa994a169279a1a99f1ad24c29511b223e4b2f27e3df55913afb82de3";
    // webcal:
    QTest::newRow("only slashes")
        << "webcal"
        << "///"
        << "7ded85e0868b36ede9bb138012fd45fc9bf599a75bc7a27f1dc421576116097e";
}

void TestCalendarIdentity::key()
{
    QFETCH(QString, type);
    QFETCH(QString, input);
    QFETCH(QString, digest);
    const std::optional<QString> key = calendarIdentityKey(type, input);
    QVERIFY(key.has_value());
    QCOMPARE(*key, digest);
}

void TestCalendarIdentity::noKeyForUnknownType_data()
{
    QTest::addColumn<QString>("type");
    QTest::newRow("Google") << "Google";
    QTest::newRow("CalDAV") << "CalDAV";
    QTest::newRow("empty") << "";
    QTest::newRow("exchange") << "exchange";
}

void TestCalendarIdentity::noKeyForUnknownType()
{
    QFETCH(QString, type);
    QVERIFY(!calendarIdentityKey(type, QStringLiteral("https://dav.example.org/cal/")).has_value());
}

void TestCalendarIdentity::sameCalendarSameKey_data()
{
    QTest::addColumn<QString>("typeA");
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("typeB");
    QTest::addColumn<QString>("b");
    QTest::newRow("hosts and ports differ") << "caldav"
                                            << "https://a.example:8443/dav/cal/"
                                            << "icloud"
                                            << "http://b.example/dav/cal";
    QTest::newRow("user info and fragment dropped") << "zoho"
                                                    << "https://user:pw@a.example/dav/cal#frag"
                                                    << "caldav"
                                                    << "https://a.example/dav/cal";
    QTest::newRow("letter case and trailing slash") << "caldav"
                                                    << "https://A.example/DAV/Cal/"
                                                    << "caldav"
                                                    << "https://a.example/dav/cal";
}

void TestCalendarIdentity::sameCalendarSameKey()
{
    QFETCH(QString, typeA);
    QFETCH(QString, a);
    QFETCH(QString, typeB);
    QFETCH(QString, b);
    QCOMPARE(calendarIdentityKey(typeA, a), calendarIdentityKey(typeB, b));
}

static Calendar calendarWith(const char *id, const char *key)
{
    Calendar c;
    c.id = QString::fromUtf8(id);
    c.canonical_key = QString::fromUtf8(key);
    return c;
}

void TestCalendarIdentity::keysForIds()
{
    const QList<Calendar> calendars = {calendarWith("a", "ka"), calendarWith("b", ""),
                                       calendarWith("c", "kc"), calendarWith("a", "ka2")};
    // Unknown and keyless ids are skipped; duplicates repeat; the later row with one id wins.
    QCOMPARE(calendarKeysForIds({QStringLiteral("c"), QStringLiteral("b"), QStringLiteral("x"),
                                 QStringLiteral("a"), QStringLiteral("c")},
                                calendars),
             QStringList({QStringLiteral("kc"), QStringLiteral("ka2"), QStringLiteral("kc")}));
    QVERIFY(calendarKeysForIds({QStringLiteral("b")}, {calendarWith("b", "")}).isEmpty());
}

void TestCalendarIdentity::resolveKeys()
{
    const QList<Calendar> calendars
        = {calendarWith("a", "k1"), calendarWith("b", "k2"), calendarWith("c", "k1")};
    const auto resolved = resolveCalendarKeys(
        {QStringLiteral("k2"), QStringLiteral("k9"), QStringLiteral("k1")}, calendars);
    QCOMPARE(resolved.first, QStringList({QStringLiteral("b"), QStringLiteral("c")}));
    QCOMPARE(resolved.second, QStringList({QStringLiteral("k9")}));

    const auto none
        = resolveCalendarKeys({QStringLiteral("k2"), QStringLiteral("k1")}, QList<Calendar>());
    QVERIFY(none.first.isEmpty());
    QCOMPARE(none.second, QStringList({QStringLiteral("k2"), QStringLiteral("k1")}));
}

QTEST_GUILESS_MAIN(TestCalendarIdentity)
#include "tst_CalendarIdentity.moc"
