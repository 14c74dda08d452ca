#include "model/ICalendar.h"
#include "model/Recurrence.h"
#include "support/TestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>
#include <QTimeZone>

namespace {

const char *const kWallFormat = "yyyyMMdd'T'HHmmss";
const char *const kUtcFormat = "yyyyMMdd'T'HHmmss'Z'";

// A wall time in a zone: "UTC", "local" (the zone the test runs in) or an IANA name.
QDateTime wall(const QString &text, const QString &zone)
{
    const QDate d = QDate::fromString(text.left(8), QStringLiteral("yyyyMMdd"));
    const QTime t = QTime::fromString(text.mid(9, 6), QStringLiteral("HHmmss"));
    if (zone == QLatin1String("UTC"))
        return QDateTime(d, t, Qt::UTC);
    if (zone == QLatin1String("local"))
        return QDateTime(d, t, Qt::LocalTime);
    return QDateTime(d, t, QTimeZone(zone.toUtf8()));
}

QDateTime utc(const QString &text)
{
    return wall(text, QStringLiteral("UTC"));
}

Event makeMaster(const QString &rule, const QDateTime &start, qint64 durationSecs = 3600)
{
    Event e;
    e.id = QStringLiteral("id-1");
    e.uid = QStringLiteral("series-1");
    e.title = QStringLiteral("Series");
    e.recurrence_rule = rule;
    e.start_time = start;
    e.end_time = start.addSecs(durationSecs);
    return e;
}

QStringList utcTexts(const QList<QDateTime> &starts)
{
    QStringList out;
    for (const QDateTime &s : starts)
        out.append(s.toUTC().toString(QLatin1String(kUtcFormat)));
    return out;
}

QStringList recurrenceIds(const QList<Event> &events)
{
    QStringList out;
    for (const Event &e : events)
        out.append(e.recurrence_id);
    return out;
}

// Occurrence starts as wall times in their own zone.
QStringList wallTexts(const QList<Event> &events)
{
    QStringList out;
    for (const Event &e : events)
        out.append(e.start_time.toString(QLatin1String(kWallFormat)));
    return out;
}

QStringList titledStarts(const QList<Event> &events)
{
    QStringList out;
    for (const Event &e : events)
        out.append(e.title + QLatin1Char('@')
                   + e.start_time.toUTC().toString(QLatin1String(kUtcFormat)));
    return out;
}

struct OracleCase
{
    const char *name;
    const char *rule;
    const char *dtstart;
    const char *zone;
    const char *rangeStart;
    const char *rangeEnd;
};

#define NY "America/New_York"
#define RFC_RANGE "19970101T000000Z", "20010101T000000Z"

// Rules whose starts an independent implementation must agree with: the worked examples of the
// recurrence standard, then old series whose range lies decades after their start.
const OracleCase kOracleCases[] = {
    {"rfc daily count", "FREQ=DAILY;COUNT=10", "19970902T090000", NY, RFC_RANGE},
    {"rfc daily until", "FREQ=DAILY;UNTIL=19971224T000000Z", "19970902T090000", NY, RFC_RANGE},
    {"rfc every other day", "FREQ=DAILY;INTERVAL=2", "19970902T090000", NY, "19970101T000000Z",
     "19971201T000000Z"},
    {"rfc every 10 days", "FREQ=DAILY;INTERVAL=10;COUNT=5", "19970902T090000", NY, RFC_RANGE},
    {"rfc january yearly",
     "FREQ=YEARLY;UNTIL=20000131T140000Z;BYMONTH=1;BYDAY=SU,MO,TU,WE,TH,FR,SA", "19980101T090000",
     NY, RFC_RANGE},
    {"rfc january daily", "FREQ=DAILY;UNTIL=20000131T140000Z;BYMONTH=1", "19980101T090000", NY,
     RFC_RANGE},
    {"rfc weekly count", "FREQ=WEEKLY;COUNT=10", "19970902T090000", NY, RFC_RANGE},
    {"rfc weekly until", "FREQ=WEEKLY;UNTIL=19971224T000000Z", "19970902T090000", NY, RFC_RANGE},
    {"rfc every other week", "FREQ=WEEKLY;INTERVAL=2;WKST=SU", "19970902T090000", NY,
     "19970101T000000Z", "19980301T000000Z"},
    {"rfc tue thu until", "FREQ=WEEKLY;UNTIL=19971007T000000Z;WKST=SU;BYDAY=TU,TH",
     "19970902T090000", NY, RFC_RANGE},
    {"rfc tue thu count", "FREQ=WEEKLY;COUNT=10;WKST=SU;BYDAY=TU,TH", "19970902T090000", NY,
     RFC_RANGE},
    {"rfc other week mo we fr",
     "FREQ=WEEKLY;INTERVAL=2;UNTIL=19971224T000000Z;WKST=SU;BYDAY=MO,WE,FR", "19970901T090000", NY,
     RFC_RANGE},
    {"rfc other week tu th", "FREQ=WEEKLY;INTERVAL=2;COUNT=8;WKST=SU;BYDAY=TU,TH",
     "19970902T090000", NY, RFC_RANGE},
    {"rfc first friday count", "FREQ=MONTHLY;COUNT=10;BYDAY=1FR", "19970905T090000", NY, RFC_RANGE},
    {"rfc first friday until", "FREQ=MONTHLY;UNTIL=19971224T000000Z;BYDAY=1FR", "19970905T090000",
     NY, RFC_RANGE},
    {"rfc first and last sunday", "FREQ=MONTHLY;INTERVAL=2;COUNT=10;BYDAY=1SU,-1SU",
     "19970907T090000", NY, RFC_RANGE},
    {"rfc second to last monday", "FREQ=MONTHLY;COUNT=6;BYDAY=-2MO", "19970922T090000", NY,
     RFC_RANGE},
    {"rfc third to last day", "FREQ=MONTHLY;BYMONTHDAY=-3", "19970928T090000", NY,
     "19970101T000000Z", "19980301T000000Z"},
    {"rfc 2nd and 15th", "FREQ=MONTHLY;COUNT=10;BYMONTHDAY=2,15", "19970902T090000", NY, RFC_RANGE},
    {"rfc first and last day", "FREQ=MONTHLY;COUNT=10;BYMONTHDAY=1,-1", "19970930T090000", NY,
     RFC_RANGE},
    {"rfc every 18 months", "FREQ=MONTHLY;INTERVAL=18;COUNT=10;BYMONTHDAY=10,11,12,13,14,15",
     "19970910T090000", NY, RFC_RANGE},
    {"rfc tuesdays every other month", "FREQ=MONTHLY;INTERVAL=2;BYDAY=TU", "19970902T090000", NY,
     "19970101T000000Z", "19980401T000000Z"},
    {"rfc june and july", "FREQ=YEARLY;COUNT=10;BYMONTH=6,7", "19970610T090000", NY, RFC_RANGE},
    {"rfc first quarter every other year", "FREQ=YEARLY;INTERVAL=2;COUNT=10;BYMONTH=1,2,3",
     "19970310T090000", NY, "19970101T000000Z", "20040101T000000Z"},
    {"rfc days of year", "FREQ=YEARLY;INTERVAL=3;COUNT=10;BYYEARDAY=1,100,200", "19970101T090000",
     NY, "19970101T000000Z", "20070101T000000Z"},
    {"rfc 20th monday", "FREQ=YEARLY;BYDAY=20MO", "19970519T090000", NY, RFC_RANGE},
    {"rfc monday of week 20", "FREQ=YEARLY;BYWEEKNO=20;BYDAY=MO", "19970512T090000", NY, RFC_RANGE},
    {"rfc thursdays in march", "FREQ=YEARLY;BYMONTH=3;BYDAY=TH", "19970313T090000", NY, RFC_RANGE},
    {"rfc summer thursdays", "FREQ=YEARLY;BYDAY=TH;BYMONTH=6,7,8", "19970605T090000", NY,
     RFC_RANGE},
    {"rfc friday 13th", "FREQ=MONTHLY;BYDAY=FR;BYMONTHDAY=13", "19970902T090000", NY, RFC_RANGE},
    {"rfc saturday after first sunday", "FREQ=MONTHLY;BYDAY=SA;BYMONTHDAY=7,8,9,10,11,12,13",
     "19970913T090000", NY, "19970101T000000Z", "19980701T000000Z"},
    {"rfc election day", "FREQ=YEARLY;INTERVAL=4;BYMONTH=11;BYDAY=TU;BYMONTHDAY=2,3,4,5,6,7,8",
     "19961105T090000", NY, "19960101T000000Z", "20100101T000000Z"},
    {"rfc third of tue wed thu", "FREQ=MONTHLY;COUNT=3;BYDAY=TU,WE,TH;BYSETPOS=3",
     "19970904T090000", NY, RFC_RANGE},
    {"rfc second to last weekday", "FREQ=MONTHLY;BYDAY=MO,TU,WE,TH,FR;BYSETPOS=-2",
     "19970929T090000", NY, "19970101T000000Z", "19980401T000000Z"},
    {"rfc every 20 minutes by day", "FREQ=DAILY;BYHOUR=9,10,11,12,13,14,15,16;BYMINUTE=0,20,40",
     "19970902T090000", NY, "19970101T000000Z", "19970905T000000Z"},
    {"rfc week start monday", "FREQ=WEEKLY;INTERVAL=2;COUNT=4;BYDAY=TU,SU;WKST=MO",
     "19970805T090000", NY, RFC_RANGE},
    {"rfc week start sunday", "FREQ=WEEKLY;INTERVAL=2;COUNT=4;BYDAY=TU,SU;WKST=SU",
     "19970805T090000", NY, RFC_RANGE},
    {"rfc missing day skipped", "FREQ=MONTHLY;BYMONTHDAY=15,30;COUNT=5", "20070115T090000", NY,
     "20070101T000000Z", "20080101T000000Z"},
    // The start itself is an occurrence only when it matches the rule.
    {"weekly mo we fr from a wednesday", "FREQ=WEEKLY;BYDAY=MO,WE,FR", "20240103T100000", "local",
     "20240101T000000Z", "20240201T000000Z"},
    {"weekends from a friday", "FREQ=DAILY;BYDAY=SA,SU", "20240105T080000", "local",
     "20240101T000000Z", "20240201T000000Z"},
    {"first thursday from the 13th", "FREQ=MONTHLY;BYDAY=1TH", "20240113T100000", "local",
     "20240101T000000Z", "20240701T000000Z"},
    {"daily across march change", "FREQ=DAILY", "20240325T090000", "Europe/Berlin",
     "20240326T000000Z", "20240405T000000Z"},
    {"daily across march change local", "FREQ=DAILY", "20240325T090000", "local",
     "20240326T000000Z", "20240405T000000Z"},
    // 2:30 comes twice on 25 October: the first one is meant.
    {"daily at 2:30 across october change", "FREQ=DAILY", "20261023T023000", "Europe/Berlin",
     "20261024T000000Z", "20261028T000000Z"},
    {"old weekly tue thu every third week", "FREQ=WEEKLY;INTERVAL=3;BYDAY=TU,TH", "20010104T183000",
     "local", "20310301T000000Z", "20310601T000000Z"},
    {"old weekly wkst sunday", "FREQ=WEEKLY;INTERVAL=2;BYDAY=SU,MO;WKST=SU", "20050102T073000",
     "Europe/Berlin", "20260301T000000Z", "20260501T000000Z"},
    {"old weekly count", "FREQ=WEEKLY;BYDAY=MO,FR;COUNT=1500", "20100101T070000", "local",
     "20240101T000000Z", "20250101T000000Z"},
    {"old daily every 7 days", "FREQ=DAILY;INTERVAL=7", "19960229T080000", "Europe/Berlin",
     "20260101T000000Z", "20260301T000000Z"},
    {"old daily until", "FREQ=DAILY;UNTIL=20260110T000000Z", "20000101T090000", NY,
     "20260101T000000Z", "20260201T000000Z"},
    {"old daily by hour", "FREQ=DAILY;INTERVAL=3;BYHOUR=8,20;BYMINUTE=15", "20000101T081500",
     "Europe/Berlin", "20260320T000000Z", "20260405T000000Z"},
    {"old monthly first thursday", "FREQ=MONTHLY;BYDAY=1TH", "20100107T100000", "local",
     "20250101T000000Z", "20251231T000000Z"},
    {"old monthly second tuesday every 5 months", "FREQ=MONTHLY;INTERVAL=5;BYDAY=2TU",
     "20030211T140000", "UTC", "20270101T000000Z", "20290101T000000Z"},
    {"old monthly last weekday", "FREQ=MONTHLY;BYDAY=MO,TU,WE,TH,FR;BYSETPOS=-1", "20110131T170000",
     "Europe/Berlin", "20260101T000000Z", "20260701T000000Z"},
    {"old monthly last day count", "FREQ=MONTHLY;BYMONTHDAY=-1;COUNT=400", "19900131T090000", "UTC",
     "20220101T000000Z", "20240101T000000Z"},
    {"old monthly by day and month day", "FREQ=MONTHLY;INTERVAL=2;BYDAY=MO,TU;BYMONTHDAY=1,2,3,-1",
     "20080101T120000", "UTC", "20300101T000000Z", "20320101T000000Z"},
    {"old yearly second sunday of may", "FREQ=YEARLY;BYMONTH=5;BYDAY=2SU", "19950514T120000",
     "local", "20250101T000000Z", "20300101T000000Z"},
    {"old yearly week 1 and last week", "FREQ=YEARLY;BYWEEKNO=1,-1;BYDAY=MO,SU;WKST=SU",
     "20000103T090000", "UTC", "20240101T000000Z", "20280101T000000Z"},
    {"old yearly days from the end", "FREQ=YEARLY;BYYEARDAY=-1,-100,60", "19990101T000000", "UTC",
     "20240101T000000Z", "20270101T000000Z"},
    {"old yearly month ends", "FREQ=YEARLY;INTERVAL=2;BYMONTH=2,8;BYMONTHDAY=-1,1",
     "20000201T000000", "UTC", "20300101T000000Z", "20330101T000000Z"},
    {"old yearly last weekday of year", "FREQ=YEARLY;BYDAY=MO,TU,WE,TH,FR;BYSETPOS=-1,1",
     "19980101T090000", "local", "20240101T000000Z", "20270101T000000Z"},
    {"until a date late in the evening", "FREQ=DAILY;UNTIL=20240110", "20240105T233000", NY,
     "20240101T000000Z", "20240201T000000Z"},
    // A century of counted starts before the range, ending inside it.
    {"century daily count", "FREQ=DAILY;COUNT=36521", "19260105T083000", "Europe/Berlin",
     "20250101T000000Z", "20270101T000000Z"},
    {"century daily filtered count", "FREQ=DAILY;INTERVAL=3;BYMONTH=1,7;BYDAY=MO,SA;COUNT=588",
     "19251231T070000", "UTC", "20250101T000000Z", "20270101T000000Z"},
    {"century weekends count", "FREQ=DAILY;BYDAY=SA,SU;COUNT=10540", "19250103T080000", "local",
     "20250101T000000Z", "20270101T000000Z"},
    {"century weekly count", "FREQ=WEEKLY;BYDAY=MO,WE,FR;COUNT=15808", "19250107T180000", NY,
     "20250101T000000Z", "20270101T000000Z"},
    {"century summer weeks count", "FREQ=WEEKLY;INTERVAL=2;BYMONTH=6,7,8;BYDAY=TU,SU;COUNT=1326",
     "19250602T120000", "UTC", "20250101T000000Z", "20270101T000000Z"},
    {"century weekly set position count", "FREQ=WEEKLY;BYDAY=MO,TU;BYMONTH=3;BYSETPOS=1;COUNT=462",
     "19250302T090000", "UTC", "20250101T000000Z", "20270101T000000Z"},
    {"century month ends count", "FREQ=MONTHLY;INTERVAL=5;BYMONTHDAY=31;COUNT=143",
     "19250131T100000", "Europe/Berlin", "20250101T000000Z", "20290101T000000Z"},
    {"century last weekday count", "FREQ=MONTHLY;BYDAY=MO,TU,WE,TH,FR;BYSETPOS=-1;COUNT=1212",
     "19250130T170000", "Europe/Berlin", "20250101T000000Z", "20270101T000000Z"},
    {"century every other month in some months count",
     "FREQ=MONTHLY;INTERVAL=2;BYMONTH=1,3,4,9;BYDAY=2TU;COUNT=305", "19250113T090000", NY,
     "20250101T000000Z", "20270101T000000Z"},
    {"century last friday by hour count",
     "FREQ=MONTHLY;BYDAY=-1FR;BYHOUR=9,17;BYSETPOS=-1;COUNT=1212", "19250130T090000", "UTC",
     "20250101T000000Z", "20270101T000000Z"},
    {"century leap days count", "FREQ=YEARLY;BYMONTH=2;BYMONTHDAY=29;COUNT=27", "19240229T080000",
     "UTC", "20240101T000000Z", "20330101T000000Z"},
    {"century week numbers count", "FREQ=YEARLY;BYWEEKNO=1,-1;BYDAY=MO;COUNT=202",
     "19250105T090000", "UTC", "20250101T000000Z", "20270101T000000Z"},
    {"century 20th monday count", "FREQ=YEARLY;BYDAY=20MO;COUNT=102", "19250518T090000", NY,
     "20250101T000000Z", "20280101T000000Z"},
    {"century year days count", "FREQ=YEARLY;INTERVAL=3;BYYEARDAY=-1,100;COUNT=69",
     "19250410T090000", "UTC", "20240101T000000Z", "20310101T000000Z"},
};

#undef NY
#undef RFC_RANGE

struct OracleResult
{
    QStringList inRange;
    QStringList all;
};

} // namespace

class tst_Recurrence : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();

    void matchesIndependentExpansion_data();
    void matchesIndependentExpansion();
    void designedRules_data();
    void designedRules();
    void parseRRuleFields_data();
    void parseRRuleFields();
    void weekdayCodes_data();
    void weekdayCodes();
    void exceptionInstants_data();
    void exceptionInstants();
    void exceptionsAndExtraDates_data();
    void exceptionsAndExtraDates();
    void rangeEdges_data();
    void rangeEdges();
    void occurrenceFields();
    void daylightSavingKeepsWallClock();
    void oldSeriesStillShow_data();
    void oldSeriesStillShow();
    void overrides_data();
    void overrides();
    void allDayOverridesMatchByWrittenDate_data();
    void allDayOverridesMatchByWrittenDate();
    void plainEventsComeFirstUnchanged();
    void plainEventThroughMaster();
    void startsAreBounded();
    void emptyRangeIsLoggedOnlyWhenEnabled();
};

static QHash<QString, OracleResult> s_oracle;

void tst_Recurrence::initTestCase()
{
    QJsonArray cases;
    for (const OracleCase &c : kOracleCases) {
        cases.append(QJsonObject {{QStringLiteral("rule"), QLatin1String(c.rule)},
                                  {QStringLiteral("dtstart"), QLatin1String(c.dtstart)},
                                  {QStringLiteral("zone"), QLatin1String(c.zone)},
                                  {QStringLiteral("rangeStart"), QLatin1String(c.rangeStart)},
                                  {QStringLiteral("rangeEnd"), QLatin1String(c.rangeEnd)}});
    }
    QProcess python;
    python.start(QStringLiteral("python3"),
                 {LarkTest::dataPath(QStringLiteral("rrule_oracle.py"))});
    QVERIFY2(python.waitForStarted(), "python3 is needed as the recurrence oracle");
    python.write(QJsonDocument(cases).toJson(QJsonDocument::Compact));
    python.closeWriteChannel();
    QVERIFY(python.waitForFinished(60000));
    QVERIFY2(python.exitCode() == 0, python.readAllStandardError().constData());
    const QJsonArray results = QJsonDocument::fromJson(python.readAllStandardOutput()).array();
    QCOMPARE(results.size(), qsizetype(std::size(kOracleCases)));
    for (qsizetype i = 0; i < results.size(); ++i) {
        const QJsonObject r = results.at(i).toObject();
        OracleResult expected;
        for (const QJsonValue &v : r.value(QLatin1String("inRange")).toArray())
            expected.inRange.append(v.toString());
        for (const QJsonValue &v : r.value(QLatin1String("all")).toArray())
            expected.all.append(v.toString());
        s_oracle.insert(QLatin1String(kOracleCases[i].name), expected);
    }
}

void tst_Recurrence::matchesIndependentExpansion_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QDateTime>("dtstart");
    QTest::addColumn<QDateTime>("rangeStart");
    QTest::addColumn<QDateTime>("rangeEnd");
    for (const OracleCase &c : kOracleCases) {
        QTest::newRow(c.name) << QString::fromLatin1(c.rule)
                              << wall(QLatin1String(c.dtstart), QLatin1String(c.zone))
                              << utc(QLatin1String(c.rangeStart)) << utc(QLatin1String(c.rangeEnd));
    }
}

void tst_Recurrence::matchesIndependentExpansion()
{
    QFETCH(QString, rule);
    QFETCH(QDateTime, dtstart);
    QFETCH(QDateTime, rangeStart);
    QFETCH(QDateTime, rangeEnd);
    const OracleResult expected = s_oracle.value(QLatin1String(QTest::currentDataTag()));
    QVERIFY(!expected.inRange.isEmpty());

    // One second long, so that overlapping the range means starting inside it.
    const Event master = makeMaster(rule, dtstart, 1);
    QCOMPARE(recurrenceIds(expandRecurringMaster(master, rangeStart, rangeEnd)), expected.inRange);
    QCOMPARE(utcTexts(recurrenceStarts(parseRRule(rule), dtstart, rangeEnd)), expected.all);
}

void tst_Recurrence::designedRules_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QString>("zone");
    QTest::addColumn<QString>("dtstart");
    QTest::addColumn<QString>("rangeStart");
    QTest::addColumn<QString>("rangeEnd");
    QTest::addColumn<QStringList>("expected"); // wall times in the zone

    auto at = [](const QString &time, const QStringList &dates) {
        QStringList out;
        for (const QString &d : dates)
            out.append(d + QLatin1Char('T') + time);
        return out;
    };
    const QString nine = QStringLiteral("090000");
    const QString local = QStringLiteral("local");
    const QString utcZone = QStringLiteral("UTC");

    // A missing day of month falls on the month's last day, and never carries on.
    QTest::newRow("monthly 31st clamps without carrying")
        << QStringLiteral("FREQ=MONTHLY") << local << QStringLiteral("20240131T090000")
        << QStringLiteral("20240101T000000") << QStringLiteral("20240601T000000")
        << at(nine,
              {QStringLiteral("20240131"), QStringLiteral("20240229"), QStringLiteral("20240331"),
               QStringLiteral("20240430"), QStringLiteral("20240531")});
    QTest::newRow("monthly 30th through february")
        << QStringLiteral("FREQ=MONTHLY;COUNT=4") << utcZone << QStringLiteral("20231130T080000")
        << QStringLiteral("20231101T000000") << QStringLiteral("20250101T000000")
        << at(QStringLiteral("080000"),
              {QStringLiteral("20231130"), QStringLiteral("20231230"), QStringLiteral("20240130"),
               QStringLiteral("20240229")});
    QTest::newRow("monthly 31st every other month")
        << QStringLiteral("FREQ=MONTHLY;INTERVAL=2") << local << QStringLiteral("20231231T090000")
        << QStringLiteral("20231201T000000") << QStringLiteral("20240901T000000")
        << at(nine,
              {QStringLiteral("20231231"), QStringLiteral("20240229"), QStringLiteral("20240430"),
               QStringLiteral("20240630"), QStringLiteral("20240831")});
    QTest::newRow("yearly 29 february")
        << QStringLiteral("FREQ=YEARLY") << local << QStringLiteral("20240229T120000")
        << QStringLiteral("20240101T000000") << QStringLiteral("20290101T000000")
        << at(QStringLiteral("120000"),
              {QStringLiteral("20240229"), QStringLiteral("20250228"), QStringLiteral("20260228"),
               QStringLiteral("20270228"), QStringLiteral("20280229")});
    QTest::newRow("yearly by month clamps")
        << QStringLiteral("FREQ=YEARLY;BYMONTH=1,2") << utcZone << QStringLiteral("20230131T100000")
        << QStringLiteral("20230101T000000") << QStringLiteral("20250101T000000")
        << at(QStringLiteral("100000"),
              {QStringLiteral("20230131"), QStringLiteral("20230228"), QStringLiteral("20240131"),
               QStringLiteral("20240229")});
    // Every Monday, and the last Friday: the entries of BYDAY add up.
    QTest::newRow("plain and ordinal weekdays together")
        << QStringLiteral("FREQ=MONTHLY;BYDAY=MO,-1FR;COUNT=6") << utcZone
        << QStringLiteral("20240101T090000") << QStringLiteral("20240101T000000")
        << QStringLiteral("20240301T000000")
        << at(nine,
              {QStringLiteral("20240101"), QStringLiteral("20240108"), QStringLiteral("20240115"),
               QStringLiteral("20240122"), QStringLiteral("20240126"), QStringLiteral("20240129")});
    QTest::newRow("count zero means no limit")
        << QStringLiteral("FREQ=DAILY;COUNT=0") << utcZone << QStringLiteral("20240101T090000")
        << QStringLiteral("20240101T000000") << QStringLiteral("20240105T000000")
        << at(nine,
              {QStringLiteral("20240101"), QStringLiteral("20240102"), QStringLiteral("20240103"),
               QStringLiteral("20240104")});
    QTest::newRow("lower-case text")
        << QStringLiteral("freq=daily;count=3") << local << QStringLiteral("20240101T090000")
        << QStringLiteral("20240101T000000") << QStringLiteral("20240201T000000")
        << at(nine,
              {QStringLiteral("20240101"), QStringLiteral("20240102"), QStringLiteral("20240103")});
    QTest::newRow("hourly gives the start alone")
        << QStringLiteral("FREQ=HOURLY;COUNT=5") << local << QStringLiteral("20240101T090000")
        << QStringLiteral("20240101T000000") << QStringLiteral("20240201T000000")
        << QStringList {QStringLiteral("20240101T090000")};
    QTest::newRow("no frequency gives the start alone")
        << QStringLiteral("INTERVAL=2") << local << QStringLiteral("20240101T090000")
        << QStringLiteral("20240101T000000") << QStringLiteral("20240201T000000")
        << QStringList {QStringLiteral("20240101T090000")};
    QTest::newRow("weekly with ordinal falls back to the start's weekday")
        << QStringLiteral("FREQ=WEEKLY;BYDAY=2TU;COUNT=3") << local
        << QStringLiteral("20240103T090000") << QStringLiteral("20240101T000000")
        << QStringLiteral("20240201T000000")
        << at(nine,
              {QStringLiteral("20240103"), QStringLiteral("20240110"), QStringLiteral("20240117")});
    QTest::newRow("weekly every second week on tuesday")
        << QStringLiteral("FREQ=WEEKLY;INTERVAL=2;BYDAY=TU") << local
        << QStringLiteral("20240103T090000") << QStringLiteral("20240101T000000")
        << QStringLiteral("20240201T000000")
        << at(nine, {QStringLiteral("20240116"), QStringLiteral("20240130")});
    QTest::newRow("until date-time is inclusive")
        << QStringLiteral("FREQ=DAILY;UNTIL=20240110T090000Z") << utcZone
        << QStringLiteral("20240108T090000") << QStringLiteral("20240101T000000")
        << QStringLiteral("20240201T000000")
        << at(nine,
              {QStringLiteral("20240108"), QStringLiteral("20240109"), QStringLiteral("20240110")});
    QTest::newRow("until without Z is UTC")
        << QStringLiteral("FREQ=DAILY;UNTIL=20240110T090000") << utcZone
        << QStringLiteral("20240108T090000") << QStringLiteral("20240101T000000")
        << QStringLiteral("20240201T000000")
        << at(nine,
              {QStringLiteral("20240108"), QStringLiteral("20240109"), QStringLiteral("20240110")});
    QTest::newRow("until date alone includes that day in the series' zone")
        << QStringLiteral("FREQ=DAILY;UNTIL=20240110") << QStringLiteral("Europe/Berlin")
        << QStringLiteral("20240108T090000") << QStringLiteral("20240101T000000")
        << QStringLiteral("20240201T000000")
        << at(nine,
              {QStringLiteral("20240108"), QStringLiteral("20240109"), QStringLiteral("20240110")});
    QTest::newRow("count counts from the start")
        << QStringLiteral("FREQ=DAILY;COUNT=5") << utcZone << QStringLiteral("20240101T090000")
        << QStringLiteral("20240103T120000") << QStringLiteral("20240201T000000")
        << at(nine, {QStringLiteral("20240104"), QStringLiteral("20240105")});
    QTest::newRow("time in the march gap moves forward")
        << QStringLiteral("FREQ=DAILY;COUNT=3") << QStringLiteral("Europe/Berlin")
        << QStringLiteral("20240330T023000") << QStringLiteral("20240301T000000")
        << QStringLiteral("20240501T000000")
        << QStringList {QStringLiteral("20240330T023000"), QStringLiteral("20240331T033000"),
                        QStringLiteral("20240401T023000")};
    QTest::newRow("a start on the repeated hour in october stays")
        << QStringLiteral("FREQ=DAILY;COUNT=2") << QStringLiteral("Europe/Berlin")
        << QStringLiteral("20261025T023000") << QStringLiteral("20261001T000000")
        << QStringLiteral("20261101T000000")
        << at(QStringLiteral("023000"), {QStringLiteral("20261025"), QStringLiteral("20261026")});
    QTest::newRow("largest interval stops at once")
        << QStringLiteral("FREQ=WEEKLY;INTERVAL=2147483647") << utcZone
        << QStringLiteral("20240101T090000") << QStringLiteral("20240101T000000")
        << QStringLiteral("99991231T000000") << QStringList {QStringLiteral("20240101T090000")};
    QTest::newRow("largest interval yearly")
        << QStringLiteral("FREQ=YEARLY;INTERVAL=2147483647;BYMONTH=1,2,3") << utcZone
        << QStringLiteral("20240101T090000") << QStringLiteral("20240101T000000")
        << QStringLiteral("99991231T000000")
        << at(nine,
              {QStringLiteral("20240101"), QStringLiteral("20240201"), QStringLiteral("20240301")});
    QTest::newRow("largest count")
        << QStringLiteral("FREQ=DAILY;COUNT=2147483647") << utcZone
        << QStringLiteral("20240101T090000") << QStringLiteral("20240101T000000")
        << QStringLiteral("20240103T000000")
        << at(nine, {QStringLiteral("20240101"), QStringLiteral("20240102")});
    QTest::newRow("interval too large for a number counts as 1")
        << QStringLiteral("FREQ=DAILY;INTERVAL=99999999999;COUNT=2") << utcZone
        << QStringLiteral("20240101T090000") << QStringLiteral("20240101T000000")
        << QStringLiteral("20240201T000000")
        << at(nine, {QStringLiteral("20240101"), QStringLiteral("20240102")});
    QTest::newRow("negative interval counts as 1")
        << QStringLiteral("FREQ=DAILY;INTERVAL=-3;COUNT=2") << utcZone
        << QStringLiteral("20240101T090000") << QStringLiteral("20240101T000000")
        << QStringLiteral("20240201T000000")
        << at(nine, {QStringLiteral("20240101"), QStringLiteral("20240102")});
    QTest::newRow("garbage gives the start alone")
        << QStringLiteral(";;=;FREQ=;BYDAY=XX,,1;BYMONTH=13;BYSETPOS=0;UNTIL=soon") << utcZone
        << QStringLiteral("20240101T090000") << QStringLiteral("20240101T000000")
        << QStringLiteral("20240201T000000") << QStringList {QStringLiteral("20240101T090000")};
    QTest::newRow("out-of-range entries are dropped")
        << QStringLiteral("FREQ=MONTHLY;BYMONTHDAY=0,32,-40,10;BYHOUR=25;COUNT=2") << utcZone
        << QStringLiteral("20240101T090000") << QStringLiteral("20240101T000000")
        << QStringLiteral("20240401T000000")
        << at(nine, {QStringLiteral("20240110"), QStringLiteral("20240210")});
    QTest::newRow("a rule that never matches ends")
        << QStringLiteral("FREQ=DAILY;BYMONTH=2;BYMONTHDAY=30") << utcZone
        << QStringLiteral("20240101T090000") << QStringLiteral("20240101T000000")
        << QStringLiteral("99991231T000000") << QStringList();
}

void tst_Recurrence::designedRules()
{
    QFETCH(QString, rule);
    QFETCH(QString, zone);
    QFETCH(QString, dtstart);
    QFETCH(QString, rangeStart);
    QFETCH(QString, rangeEnd);
    QFETCH(QStringList, expected);

    const Event master = makeMaster(rule, wall(dtstart, zone), 1);
    const QList<Event> occurrences
        = expandRecurringMaster(master, wall(rangeStart, zone), wall(rangeEnd, zone));
    QCOMPARE(wallTexts(occurrences), expected);
    for (const Event &occ : occurrences)
        QCOMPARE(occ.start_time.timeSpec(), master.start_time.timeSpec());
}

void tst_Recurrence::parseRRuleFields_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("freq");
    QTest::addColumn<int>("interval");
    QTest::addColumn<int>("count");
    QTest::addColumn<QDateTime>("until");
    QTest::addColumn<QStringList>("byDay");

    QTest::newRow("plain") << QStringLiteral("FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,WE")
                           << QStringLiteral("WEEKLY") << 2 << 0 << QDateTime()
                           << QStringList {QStringLiteral("MO"), QStringLiteral("WE")};
    QTest::newRow("keys and values upper-cased")
        << QStringLiteral("freq=monthly;byday=1th,-1fr") << QStringLiteral("MONTHLY") << 1 << 0
        << QDateTime() << QStringList {QStringLiteral("1TH"), QStringLiteral("-1FR")};
    QTest::newRow("later part wins")
        << QStringLiteral("FREQ=DAILY;COUNT=3;COUNT=7") << QStringLiteral("DAILY") << 1 << 7
        << QDateTime() << QStringList();
    QTest::newRow("bad numbers") << QStringLiteral("FREQ=DAILY;INTERVAL=x;COUNT=-4")
                                 << QStringLiteral("DAILY") << 1 << 0 << QDateTime()
                                 << QStringList();
    QTest::newRow("until with Z") << QStringLiteral("UNTIL=20240110T093000Z") << QString() << 1 << 0
                                  << utc(QStringLiteral("20240110T093000")) << QStringList();
    QTest::newRow("until in lower case")
        << QStringLiteral("until=20240110t093000z") << QString() << 1 << 0
        << utc(QStringLiteral("20240110T093000")) << QStringList();
    QTest::newRow("until date alone") << QStringLiteral("UNTIL=20240110") << QString() << 1 << 0
                                      << utc(QStringLiteral("20240110T000000")) << QStringList();
    QTest::newRow("unparsable until") << QStringLiteral("UNTIL=2024-01-10") << QString() << 1 << 0
                                      << QDateTime() << QStringList();
    QTest::newRow("parts without a key")
        << QStringLiteral("=DAILY;FREQ;;BYDAY=,SA,") << QString() << 1 << 0 << QDateTime()
        << QStringList {QStringLiteral("SA")};
}

void tst_Recurrence::parseRRuleFields()
{
    QFETCH(QString, text);
    const RRule rule = parseRRule(text);
    QTEST(rule.freq, "freq");
    QTEST(rule.interval, "interval");
    QTEST(rule.count, "count");
    QTEST(rule.until, "until");
    QTEST(rule.byDay, "byDay");
}

void tst_Recurrence::weekdayCodes_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("weekday");
    QTest::newRow("MO") << QStringLiteral("MO") << 1;
    QTest::newRow("WE") << QStringLiteral("WE") << 3;
    QTest::newRow("SU") << QStringLiteral("SU") << 7;
    QTest::newRow("lower case") << QStringLiteral("mo") << 0;
    QTest::newRow("ordinal") << QStringLiteral("2TU") << 0;
    QTest::newRow("negative ordinal") << QStringLiteral("-1FR") << 0;
    QTest::newRow("empty") << QString() << 0;
}

void tst_Recurrence::weekdayCodes()
{
    QFETCH(QString, code);
    QTEST(weekdayFromCode(code), "weekday");
}

void tst_Recurrence::exceptionInstants_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<QDateTime>>("expected");

    QTest::newRow("empty") << QString() << QList<QDateTime>();
    QTest::newRow("not json") << QStringLiteral("20240109T090000Z") << QList<QDateTime>();
    QTest::newRow("json object") << QStringLiteral("{\"a\":1}") << QList<QDateTime>();
    QTest::newRow("mixed entries")
        << QStringLiteral("[\"20240109T090000Z\",\"20240110\",\"20240111T080000\",5,\"junk\","
                          "\"2024-01-12\"]")
        << QList<QDateTime> {utc(QStringLiteral("20240109T090000")),
                             utc(QStringLiteral("20240110T000000")),
                             wall(QStringLiteral("20240111T080000"), QStringLiteral("local"))};
}

void tst_Recurrence::exceptionInstants()
{
    QFETCH(QString, text);
    QFETCH(QList<QDateTime>, expected);
    QSet<qint64> instants;
    for (const QDateTime &t : expected)
        instants.insert(t.toMSecsSinceEpoch());
    QCOMPARE(parseExceptionInstants(text), instants);
}

void tst_Recurrence::exceptionsAndExtraDates_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QString>("zone");
    QTest::addColumn<QString>("dtstart");
    QTest::addColumn<bool>("allDay");
    QTest::addColumn<QString>("exceptions");
    QTest::addColumn<QString>("extra");
    QTest::addColumn<QString>("rangeStart");
    QTest::addColumn<QStringList>("expected"); // wall times; the range is 31 days

    const QString local = QStringLiteral("local");
    const QString utcZone = QStringLiteral("UTC");
    const QString daily3 = QStringLiteral("FREQ=DAILY;COUNT=3");
    const QString jan = QStringLiteral("20240101T000000");

    QTest::newRow("UTC exception removes its instant")
        << daily3 << utcZone << QStringLiteral("20240108T090000") << false
        << QStringLiteral("[\"20240109T090000Z\"]") << QString() << jan
        << QStringList {QStringLiteral("20240108T090000"), QStringLiteral("20240110T090000")};
    QTest::newRow("exception without Z is local time")
        << daily3 << local << QStringLiteral("20240108T090000") << false
        << QStringLiteral("[\"20240109T090000\"]") << QString() << jan
        << QStringList {QStringLiteral("20240108T090000"), QStringLiteral("20240110T090000")};
    QTest::newRow("exception at another time removes nothing")
        << daily3 << utcZone << QStringLiteral("20240108T090000") << false
        << QStringLiteral("[\"20240109T100000Z\"]") << QString() << jan
        << QStringList {QStringLiteral("20240108T090000"), QStringLiteral("20240109T090000"),
                        QStringLiteral("20240110T090000")};
    QTest::newRow("excluded instance still counts")
        << QStringLiteral("FREQ=DAILY;COUNT=5") << utcZone << QStringLiteral("20240101T090000")
        << false << QStringLiteral("[\"20240102T090000Z\"]") << QString()
        << QStringLiteral("20240103T120000")
        << QStringList {QStringLiteral("20240104T090000"), QStringLiteral("20240105T090000")};
    QTest::newRow("date alone removes an all-day day stored at UTC midnight")
        << daily3 << utcZone << QStringLiteral("20240108T000000") << true
        << QStringLiteral("[\"20240109\"]") << QString() << jan
        << QStringList {QStringLiteral("20240108T000000"), QStringLiteral("20240110T000000")};
    QTest::newRow("date alone removes an all-day day stored at local midnight")
        << daily3 << local << QStringLiteral("20240108T000000") << true
        << QStringLiteral("[\"20240109\"]") << QString() << jan
        << QStringList {QStringLiteral("20240108T000000"), QStringLiteral("20240110T000000")};
    QTest::newRow("date alone leaves a timed occurrence")
        << daily3 << utcZone << QStringLiteral("20240108T090000") << false
        << QStringLiteral("[\"20240109\"]") << QString() << jan
        << QStringList {QStringLiteral("20240108T090000"), QStringLiteral("20240109T090000"),
                        QStringLiteral("20240110T090000")};
    QTest::newRow("extra dates add occurrences")
        << QStringLiteral("FREQ=WEEKLY;COUNT=2") << utcZone << QStringLiteral("20240101T090000")
        << false << QString()
        << QStringLiteral("[\"20240103T150000Z\",\"20240104\",\"20240108T090000Z\"]") << jan
        << QStringList {QStringLiteral("20240101T090000"), QStringLiteral("20240103T150000"),
                        QStringLiteral("20240104T090000"), QStringLiteral("20240108T090000")};
    QTest::newRow("extra date alone takes the local time of day")
        << QStringLiteral("FREQ=WEEKLY;COUNT=1") << local << QStringLiteral("20240101T090000")
        << false << QString() << QStringLiteral("[\"20240104\"]") << jan
        << QStringList {QStringLiteral("20240101T090000"), QStringLiteral("20240104T090000")};
    QTest::newRow("extra dates outside the range stay out")
        << QStringLiteral("FREQ=WEEKLY;COUNT=1") << utcZone << QStringLiteral("20240101T090000")
        << false << QString() << QStringLiteral("[\"20231231T090000Z\",\"20240205T090000Z\"]")
        << jan << QStringList {QStringLiteral("20240101T090000")};
    QTest::newRow("exception removes an extra date")
        << QStringLiteral("FREQ=WEEKLY;COUNT=1") << utcZone << QStringLiteral("20240101T090000")
        << false << QStringLiteral("[\"20240103T150000Z\"]")
        << QStringLiteral("[\"20240103T150000Z\"]") << jan
        << QStringList {QStringLiteral("20240101T090000")};
    QTest::newRow("malformed lists change nothing")
        << daily3 << utcZone << QStringLiteral("20240108T090000") << false
        << QStringLiteral("[\"20240109T090000Z\"") << QStringLiteral("{}") << jan
        << QStringList {QStringLiteral("20240108T090000"), QStringLiteral("20240109T090000"),
                        QStringLiteral("20240110T090000")};
}

void tst_Recurrence::exceptionsAndExtraDates()
{
    QFETCH(QString, rule);
    QFETCH(QString, zone);
    QFETCH(QString, dtstart);
    QFETCH(bool, allDay);
    QFETCH(QString, exceptions);
    QFETCH(QString, extra);
    QFETCH(QString, rangeStart);
    QFETCH(QStringList, expected);

    Event master = makeMaster(rule, wall(dtstart, zone), allDay ? 86400 : 1800);
    master.is_all_day = allDay;
    master.exception_dates = exceptions;
    master.recurrence_dates = extra;
    const QDateTime from = wall(rangeStart, zone);
    QCOMPARE(wallTexts(expandRecurringMaster(master, from, from.addDays(31))), expected);
}

void tst_Recurrence::rangeEdges_data()
{
    QTest::addColumn<QString>("firstStart");
    QTest::addColumn<int>("durationSecs");
    QTest::addColumn<QStringList>("expected");

    // Daily occurrences; the range is 10 January 00:00 to 11 January 00:00 UTC.
    QTest::newRow("ends inside the range")
        << QStringLiteral("20240108T234500") << 1800
        << QStringList {QStringLiteral("20240109T234500Z"), QStringLiteral("20240110T234500Z")};
    QTest::newRow("ends exactly at the range start")
        << QStringLiteral("20240108T233000") << 1800
        << QStringList {QStringLiteral("20240110T233000Z")};
    QTest::newRow("starts exactly at the range end")
        << QStringLiteral("20240109T000000") << 3600
        << QStringList {QStringLiteral("20240110T000000Z")};
    QTest::newRow("longer than the interval")
        << QStringLiteral("20240105T120000") << 3 * 86400
        << QStringList {QStringLiteral("20240107T120000Z"), QStringLiteral("20240108T120000Z"),
                        QStringLiteral("20240109T120000Z"), QStringLiteral("20240110T120000Z")};
}

void tst_Recurrence::rangeEdges()
{
    QFETCH(QString, firstStart);
    QFETCH(int, durationSecs);
    const Event master = makeMaster(QStringLiteral("FREQ=DAILY"), utc(firstStart), durationSecs);
    QTEST(recurrenceIds(expandRecurringMaster(master, utc(QStringLiteral("20240110T000000")),
                                              utc(QStringLiteral("20240111T000000")))),
          "expected");
}

void tst_Recurrence::occurrenceFields()
{
    Event master = makeMaster(QStringLiteral("FREQ=DAILY"),
                              QDateTime(QDate(2024, 1, 14), QTime(10, 0), Qt::OffsetFromUTC, 3600));
    master.end_time.reset();
    master.location = QStringLiteral("Room 4");
    master.reminders.append(Reminder {});
    const QList<Event> occ = expandRecurringMaster(master, utc(QStringLiteral("20240115T000000")),
                                                   utc(QStringLiteral("20240116T000000")));
    QCOMPARE(occ.size(), 1);
    QCOMPARE(occ[0].recurrence_id, QStringLiteral("20240115T090000Z"));
    QCOMPARE(occ[0].start_time, utc(QStringLiteral("20240115T090000")));
    QCOMPARE(occ[0].start_time.offsetFromUtc(), 3600);
    // Without an end the master lasts an hour; each occurrence gets its end.
    QVERIFY(occ[0].end_time.has_value());
    QCOMPARE(*occ[0].end_time, utc(QStringLiteral("20240115T100000")));
    QCOMPARE(occ[0].id, master.id);
    QCOMPARE(occ[0].location, master.location);
    QCOMPARE(occ[0].recurrence_rule, master.recurrence_rule);
    QCOMPARE(occ[0].reminders.size(), 1);
}

void tst_Recurrence::daylightSavingKeepsWallClock()
{
    const QDateTime start(QDate(2024, 3, 29), QTime(9, 0), QTimeZone("Europe/Berlin"));
    const Event master = makeMaster(QStringLiteral("FREQ=DAILY"), start);
    const QList<Event> occ = expandRecurringMaster(master, utc(QStringLiteral("20240329T000000")),
                                                   utc(QStringLiteral("20240402T000000")));
    QCOMPARE(
        recurrenceIds(occ),
        (QStringList {QStringLiteral("20240329T080000Z"), QStringLiteral("20240330T080000Z"),
                      QStringLiteral("20240331T070000Z"), QStringLiteral("20240401T070000Z")}));
    for (const Event &e : occ) {
        QCOMPARE(e.start_time.time(), QTime(9, 0));
        QCOMPARE(e.end_time->time(), QTime(10, 0));
        QCOMPARE(e.start_time.timeZone().id(), QByteArray("Europe/Berlin"));
    }
}

void tst_Recurrence::oldSeriesStillShow_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QDate>("startDate");
    QTest::addColumn<int>("expectedCount");

    // The range is the week from Monday 2 March 2026.
    QTest::newRow("daily, 30 years") << QStringLiteral("FREQ=DAILY") << QDate(1996, 3, 1) << 7;
    QTest::newRow("daily, 1000 years") << QStringLiteral("FREQ=DAILY") << QDate(1026, 3, 1) << 7;
    QTest::newRow("daily with count, 30 years")
        << QStringLiteral("FREQ=DAILY;COUNT=20000") << QDate(1996, 3, 1) << 7;
    QTest::newRow("daily with count ended before")
        << QStringLiteral("FREQ=DAILY;COUNT=10000") << QDate(1996, 3, 1) << 0;
    QTest::newRow("workdays, 30 years")
        << QStringLiteral("FREQ=DAILY;BYDAY=MO,TU,WE,TH,FR") << QDate(1996, 3, 1) << 5;
    QTest::newRow("weekly, 500 years")
        << QStringLiteral("FREQ=WEEKLY;BYDAY=TU,SA") << QDate(1526, 3, 1) << 2;
}

void tst_Recurrence::oldSeriesStillShow()
{
    QFETCH(QString, rule);
    QFETCH(QDate, startDate);
    QFETCH(int, expectedCount);
    const Event master = makeMaster(rule, QDateTime(startDate, QTime(9, 0), Qt::LocalTime));
    const QDateTime from(QDate(2026, 3, 2), QTime(0, 0), Qt::LocalTime);
    const QList<Event> occ = expandRecurringMaster(master, from, from.addDays(7));
    QCOMPARE(occ.size(), expectedCount);
    for (const Event &e : occ)
        QCOMPARE(e.start_time.time(), QTime(9, 0));
}

void tst_Recurrence::overrides_data()
{
    QTest::addColumn<bool>("withMaster");
    QTest::addColumn<QString>("masterExceptions");
    QTest::addColumn<QStringList>("overrides"); // "title recurrence_id start end" as UTC texts
    QTest::addColumn<QStringList>("expected");

    // The master repeats every Monday at 09:00 UTC from 1 January 2024; the range is the week of
    // Monday 15 January.
    const QString jan15 = QStringLiteral("Series@20240115T090000Z");
    QTest::newRow("no overrides") << true << QString() << QStringList() << QStringList {jan15};
    QTest::newRow("moved within the range")
        << true << QString()
        << QStringList {QStringLiteral("moved 20240115T090000Z 20240116T100000 20240116T110000")}
        << QStringList {QStringLiteral("moved@20240116T100000Z")};
    QTest::newRow("moved into the range from the week before")
        << true << QString()
        << QStringList {QStringLiteral("moved 20240108T090000Z 20240117T100000 20240117T110000")}
        << QStringList {QStringLiteral("moved@20240117T100000Z"), jan15};
    QTest::newRow("moved into the range from the week after")
        << true << QString()
        << QStringList {QStringLiteral("moved 20240122T090000Z 20240114T230000 20240115T003000")}
        << QStringList {jan15, QStringLiteral("moved@20240114T230000Z")};
    QTest::newRow("moved out of the range")
        << true << QString()
        << QStringList {QStringLiteral("moved 20240115T090000Z 20240125T100000 20240125T110000")}
        << QStringList();
    QTest::newRow("master absent")
        << false << QString()
        << QStringList {QStringLiteral("moved 20240115T090000Z 20240116T100000 20240116T110000")}
        << QStringList();
    QTest::newRow("slot removed by an exception")
        << true << QStringLiteral("[\"20240108T090000Z\"]")
        << QStringList {QStringLiteral("moved 20240108T090000Z 20240117T100000 20240117T110000")}
        << QStringList {jan15};
    QTest::newRow("slot that is no occurrence")
        << true << QString()
        << QStringList {QStringLiteral("moved 20240109T090000Z 20240117T100000 20240117T110000")}
        << QStringList {jan15};
    QTest::newRow("slot in another spelling")
        << true << QString()
        << QStringList {QStringLiteral("moved 20240108T090000 20240117T100000 20240117T110000")}
        << QStringList {jan15};
    QTest::newRow("later override wins")
        << true << QString()
        << QStringList {QStringLiteral("first 20240115T090000Z 20240116T100000 20240116T110000"),
                        QStringLiteral("second 20240115T090000Z 20240118T100000 20240118T110000")}
        << QStringList {QStringLiteral("second@20240118T100000Z")};
    QTest::newRow("cancelled occurrence")
        << true << QString()
        << QStringList {QStringLiteral(
               "cancelled 20240115T090000Z 20240115T090000 20240115T100000")}
        << QStringList();
    QTest::newRow("cancelled slot outside the range")
        << true << QString()
        << QStringList {QStringLiteral(
               "cancelled 20240108T090000Z 20240117T100000 20240117T110000")}
        << QStringList {jan15};
}

void tst_Recurrence::overrides()
{
    QFETCH(bool, withMaster);
    QFETCH(QString, masterExceptions);
    QFETCH(QStringList, overrides);
    QFETCH(QStringList, expected);

    QList<Event> events;
    for (const QString &spec : std::as_const(overrides)) {
        const QStringList f = spec.split(QLatin1Char(' '));
        Event o;
        o.id = QStringLiteral("override-") + f[0];
        o.uid = QStringLiteral("series-1");
        o.title = f[0];
        o.master_event_uid = QStringLiteral("series-1");
        o.recurrence_id = f[1];
        if (f[0] == QLatin1String("cancelled"))
            o.status = QStringLiteral("cancelled");
        o.start_time = utc(f[2]);
        o.end_time = utc(f[3]);
        // An override carrying its own rule is still only an override.
        o.recurrence_rule = QStringLiteral("FREQ=DAILY");
        events.append(o);
    }
    if (withMaster) {
        Event master
            = makeMaster(QStringLiteral("FREQ=WEEKLY"), utc(QStringLiteral("20240101T090000")));
        master.exception_dates = masterExceptions;
        events.append(master);
    }
    const QList<Event> out = expandOccurrences(events, utc(QStringLiteral("20240115T000000")),
                                               utc(QStringLiteral("20240122T000000")));
    QCOMPARE(titledStarts(out), expected);
}

void tst_Recurrence::allDayOverridesMatchByWrittenDate_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QStringList>("expected");
    // Both series are all-day; each moved occurrence names its slot as midnight in the
    // writer's zone, one east and one west of UTC.
    QTest::newRow("the month") << QStringLiteral("20240101") << QStringLiteral("20240201")
                               << LarkTest::strings({"20240108 Team day", "20240109 Site visit",
                                                     "20240116 Site visit",
                                                     "20240117 Team day (moved to Wednesday)",
                                                     "20240122 Team day",
                                                     "20240125 Site visit (moved to Thursday)",
                                                     "20240129 Team day", "20240130 Site visit"});
    QTest::newRow("only the days moved to")
        << QStringLiteral("20240117") << QStringLiteral("20240118")
        << LarkTest::strings({"20240117 Team day (moved to Wednesday)"});
    QTest::newRow("only the day moved from")
        << QStringLiteral("20240123") << QStringLiteral("20240124") << QStringList();
}

void tst_Recurrence::allDayOverridesMatchByWrittenDate()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    const QList<Event> events = parseICalendarEvents(
        QString::fromUtf8(LarkTest::readData(QStringLiteral("ics/allday_moved_occurrence.ics"))));
    const QList<Event> out = expandOccurrences(events, utc(from + QStringLiteral("T000000")),
                                               utc(to + QStringLiteral("T000000")));
    QStringList seen;
    for (const Event &e : out)
        seen.append(e.start_time.toString(QStringLiteral("yyyyMMdd ")) + e.title);
    seen.sort();
    QTEST(seen, "expected");
}

void tst_Recurrence::plainEventsComeFirstUnchanged()
{
    Event master
        = makeMaster(QStringLiteral("FREQ=DAILY;COUNT=2"), utc(QStringLiteral("20240110T090000")));
    Event plain;
    plain.title = QStringLiteral("Plain");
    plain.start_time = utc(QStringLiteral("20230101T090000")); // outside: callers filter
    Event plain2;
    plain2.title = QStringLiteral("Plain2");
    plain2.start_time = utc(QStringLiteral("20240110T120000"));
    plain2.end_time = plain2.start_time.addSecs(60);

    const QList<Event> out
        = expandOccurrences({master, plain, plain2}, utc(QStringLiteral("20240110T000000")),
                            utc(QStringLiteral("20240120T000000")));
    QCOMPARE(titledStarts(out),
             (QStringList {QStringLiteral("Plain@20230101T090000Z"),
                           QStringLiteral("Plain2@20240110T120000Z"),
                           QStringLiteral("Series@20240110T090000Z"),
                           QStringLiteral("Series@20240111T090000Z")}));
    QVERIFY(out[0].recurrence_id.isEmpty());
    QVERIFY(!out[0].end_time.has_value());
}

void tst_Recurrence::plainEventThroughMaster()
{
    Event e;
    e.start_time = utc(QStringLiteral("20240105T090000"));
    const QDateTime from = utc(QStringLiteral("20240110T000000"));
    const QDateTime to = utc(QStringLiteral("20240111T000000"));
    // Without an end it shows whenever it starts before the range end.
    QCOMPARE(expandRecurringMaster(e, from, to).size(), 1);
    QVERIFY(expandRecurringMaster(e, from, to).first().recurrence_id.isEmpty());
    e.end_time = e.start_time.addSecs(3600);
    QCOMPARE(expandRecurringMaster(e, from, to).size(), 0);
    e.end_time = from.addSecs(1);
    QCOMPARE(expandRecurringMaster(e, from, to).size(), 1);
    e.start_time = to;
    e.end_time = to.addSecs(60);
    QCOMPARE(expandRecurringMaster(e, from, to).size(), 0);

    Event invalid = makeMaster(QStringLiteral("FREQ=DAILY"), QDateTime());
    QCOMPARE(expandRecurringMaster(invalid, from, to).size(), 0);
}

void tst_Recurrence::startsAreBounded()
{
    // 86400 starts a day: the list stops growing at its bound instead of filling memory.
    const QString everySecond = QStringLiteral(
        "FREQ=DAILY;BYHOUR=0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23;"
        "BYMINUTE=0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24,25,26,27,"
        "28,29,30,31,32,33,34,35,36,37,38,39,40,41,42,43,44,45,46,47,48,49,50,51,52,53,54,55,"
        "56,57,58,59;BYSECOND=0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,"
        "24,25,26,27,28,29,30,31,32,33,34,35,36,37,38,39,40,41,42,43,44,45,46,47,48,49,50,51,"
        "52,53,54,55,56,57,58,59");
    const RRule every = parseRRule(everySecond);
    const QDateTime start = utc(QStringLiteral("20240101T000000"));
    const QList<QDateTime> starts = recurrenceStarts(every, start, start.addYears(50));
    QCOMPARE(starts.size(), 100000);
    QCOMPARE(starts.last(), start.addSecs(99999));

    // The same rule over a week of 2026 with a start in 2000 skips ahead.
    const Event master
        = makeMaster(QStringLiteral("FREQ=DAILY;BYHOUR=9;BYMINUTE=0,30;BYSECOND=0,59"),
                     utc(QStringLiteral("20000101T090000")));
    const QDateTime from = utc(QStringLiteral("20260302T000000"));
    QCOMPARE(expandRecurringMaster(master, from, from.addDays(7)).size(), 28);

    // A series of every second, two years old, still shows this week: the bound counts from
    // the range asked for, not from the series' start.
    const QList<Event> week
        = expandRecurringMaster(makeMaster(everySecond, start, 1), from, from.addDays(7));
    QCOMPARE(week.size(), 100000);
    QCOMPARE(week.first().start_time, from);
    QCOMPARE(week.last().start_time, from.addSecs(99999));

    QVERIFY(recurrenceStarts(every, start, QDateTime()).isEmpty());
    QVERIFY(recurrenceStarts(every, QDateTime(), start).isEmpty());
}

void tst_Recurrence::emptyRangeIsLoggedOnlyWhenEnabled()
{
    QVERIFY(!lcCalendarExpansion().isDebugEnabled());
    QVERIFY(lcCalendarExpansion().isWarningEnabled());

    Event master
        = makeMaster(QStringLiteral("FREQ=DAILY;COUNT=1"), utc(QStringLiteral("20240101T090000")));
    master.uid = QStringLiteral("u-7");
    master.title = QStringLiteral("Gym");
    const QDateTime from = utc(QStringLiteral("20240110T000000"));
    const QDateTime to = utc(QStringLiteral("20240111T000000"));

    QLoggingCategory::setFilterRules(QStringLiteral("calendar.expansion.debug=true"));
    QTest::ignoreMessage(QtDebugMsg,
                         "master uid=u-7 title=Gym rrule=FREQ=DAILY;COUNT=1 "
                         "dtstart=2024-01-01T09:00:00Z \u2192 0 occurrences in range "
                         "2024-01-10T00:00:00Z ... 2024-01-11T00:00:00Z");
    QVERIFY(expandOccurrences({master}, from, to).isEmpty());
    QLoggingCategory::setFilterRules(QString());
}

QTEST_GUILESS_MAIN(tst_Recurrence)
#include "tst_Recurrence.moc"
