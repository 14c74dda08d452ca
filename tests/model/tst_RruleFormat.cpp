#include "model/RruleFormat.h"

#include <QTest>

#include <climits>

class tst_RruleFormat : public QObject
{
    Q_OBJECT
private slots:
    void describe_data();
    void describe();
    void reminderOffsetLabel_data();
    void reminderOffsetLabel();
    void ordinals_data();
    void ordinals();
    void parseByDayEntry_data();
    void parseByDayEntry();
};

void tst_RruleFormat::describe_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QString>("text");

    const auto row = [](const char *name, const char *rule, const char *text) {
        QTest::newRow(name) << QString::fromUtf8(rule) << QString::fromUtf8(text);
    };
    row("empty", "", "");
    row("daily", "FREQ=DAILY", "Repeats daily");
    row("weekly", "FREQ=WEEKLY", "Repeats weekly");
    row("monthly", "FREQ=MONTHLY", "Repeats monthly");
    row("yearly", "FREQ=YEARLY", "Repeats yearly");
    row("every 3 days", "FREQ=DAILY;INTERVAL=3", "Every 3 days");
    row("every 2 weeks", "FREQ=WEEKLY;INTERVAL=2", "Every 2 weeks");
    row("every 6 months", "FREQ=MONTHLY;INTERVAL=6", "Every 6 months");
    row("every 4 years", "FREQ=YEARLY;INTERVAL=4", "Every 4 years");
    row("interval 1 as absent", "FREQ=DAILY;INTERVAL=1", "Repeats daily");
    row("interval 0 clamped", "FREQ=DAILY;INTERVAL=0", "Repeats daily");
    row("negative interval clamped", "FREQ=WEEKLY;INTERVAL=-2", "Repeats weekly");
    row("interval not a number", "FREQ=DAILY;INTERVAL=x", "Repeats daily");
    row("keys and freq in any case", "freq=daily;interval=2", "Every 2 days");
    row("later part wins", "FREQ=DAILY;FREQ=WEEKLY", "Repeats weekly");
    row("no freq", "INTERVAL=2;COUNT=3", "Repeats · 3 time(s)");
    row("unknown freq", "FREQ=HOURLY;INTERVAL=5", "Repeats");
    row("prefix kept", "RRULE:FREQ=DAILY", "Repeats");
    row("empty parts and stray text", ";;FREQ=DAILY;;junk;", "Repeats daily");
    row("full example", "FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,WE;COUNT=10",
        "Every 2 weeks · Mon, Wed · 10 time(s)");
    row("every weekday code", "FREQ=WEEKLY;BYDAY=SU,MO,TU,WE,TH,FR,SA",
        "Repeats weekly · Sun, Mon, Tue, Wed, Thu, Fri, Sat");
    row("unknown code upper-cased", "FREQ=WEEKLY;BYDAY=MO,xx,FR", "Repeats weekly · Mon, XX, Fri");
    row("weekly ordinals dropped", "FREQ=WEEKLY;BYDAY=1mo, -2FR", "Repeats weekly · Mon, Fri");
    row("weekly entries without code", "FREQ=WEEKLY;BYDAY=2,,+", "Repeats weekly");
    row("daily with days", "FREQ=DAILY;BYDAY=SA,SU", "Repeats daily · Sat, Sun");
    row("monthly last friday", "FREQ=MONTHLY;BYDAY=-1FR", "Repeats monthly · on the last Fri");
    row("monthly second-to-last", "FREQ=MONTHLY;BYDAY=-2MO",
        "Repeats monthly · on the second-to-last Mon");
    row("monthly first entry only", "FREQ=MONTHLY;BYDAY=MO,TU", "Repeats monthly · Mon");
    row("monthly second tuesday", "FREQ=MONTHLY;BYDAY=+2TU", "Repeats monthly · on the second Tue");
    row("monthly ordinal without day", "FREQ=MONTHLY;BYDAY=2", "Repeats monthly");
    row("monthly byday wins over monthday", "FREQ=MONTHLY;BYMONTHDAY=3;BYDAY=1WE",
        "Repeats monthly · on the first Wed");
    row("monthly 15th until", "FREQ=MONTHLY;BYMONTHDAY=15;UNTIL=20251231",
        "Repeats monthly · on the 15th · until Dec 31, 2025");
    row("monthly first monthday only", "FREQ=MONTHLY;BYMONTHDAY=22,1",
        "Repeats monthly · on the 22nd");
    row("monthly day -1", "FREQ=MONTHLY;BYMONTHDAY=-1", "Repeats monthly");
    row("monthly day 0", "FREQ=MONTHLY;BYMONTHDAY=0", "Repeats monthly");
    row("monthday ignored when weekly", "FREQ=WEEKLY;BYMONTHDAY=3", "Repeats weekly");
    row("count 1", "FREQ=DAILY;COUNT=1", "Repeats daily · 1 time(s)");
    row("count 0 adds nothing, until unused", "FREQ=DAILY;COUNT=0;UNTIL=20250101", "Repeats daily");
    row("count wins over until", "FREQ=DAILY;UNTIL=20250101;COUNT=2", "Repeats daily · 2 time(s)");
    row("until date-time", "FREQ=DAILY;UNTIL=20250304T235959Z",
        "Repeats daily · until Mar 4, 2025");
    row("until starting with T", "FREQ=DAILY;UNTIL=T20250304", "Repeats daily");
    row("until not a date", "FREQ=DAILY;UNTIL=20251340", "Repeats daily");
}

void tst_RruleFormat::describe()
{
    QFETCH(QString, rule);
    QFETCH(QString, text);
    QCOMPARE(RruleFormat::describe(rule), text);
}

void tst_RruleFormat::reminderOffsetLabel_data()
{
    QTest::addColumn<int>("minutes");
    QTest::addColumn<QString>("label");
    QTest::newRow("negative") << -5 << QStringLiteral("At time of event");
    QTest::newRow("smallest int") << INT_MIN << QStringLiteral("At time of event");
    QTest::newRow("zero") << 0 << QStringLiteral("At time of event");
    QTest::newRow("1") << 1 << QStringLiteral("1 min before");
    QTest::newRow("59") << 59 << QStringLiteral("59 min before");
    QTest::newRow("60") << 60 << QStringLiteral("1 hour(s) before");
    QTest::newRow("90") << 90 << QStringLiteral("1 hour(s) before");
    QTest::newRow("1439") << 1439 << QStringLiteral("23 hour(s) before");
    QTest::newRow("1440") << 1440 << QStringLiteral("1 day(s) before");
    QTest::newRow("2879") << 2879 << QStringLiteral("1 day(s) before");
    QTest::newRow("10080") << 10080 << QStringLiteral("7 day(s) before");
}

void tst_RruleFormat::reminderOffsetLabel()
{
    QFETCH(int, minutes);
    QFETCH(QString, label);
    QCOMPARE(RruleFormat::reminderOffsetLabel(minutes), label);
}

void tst_RruleFormat::ordinals_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("word");
    const auto row = [](int n, const char *number, const char *word) {
        QTest::newRow(qPrintable(QString::number(n)))
            << n << QString::fromUtf8(number) << QString::fromUtf8(word);
    };
    row(1, "1st", "first");
    row(2, "2nd", "second");
    row(3, "3rd", "third");
    row(4, "4th", "fourth");
    row(5, "5th", "fifth");
    row(6, "6th", "6th");
    row(11, "11th", "11th");
    row(12, "12th", "12th");
    row(13, "13th", "13th");
    row(21, "21st", "21st");
    row(22, "22nd", "22nd");
    row(23, "23rd", "23rd");
    row(111, "111st", "111st");
    row(0, "0th", "0th-from-last");
    row(-1, "-1th", "last");
    row(-2, "-2th", "second-to-last");
    row(-3, "-3th", "3th-from-last");
    row(-11, "-11th", "11th-from-last");
    row(INT_MIN, "-2147483648th", "2147483648th-from-last");
}

void tst_RruleFormat::ordinals()
{
    QFETCH(int, n);
    QFETCH(QString, number);
    QFETCH(QString, word);
    QCOMPARE(RruleFormat::ordinalNumber(n), number);
    QCOMPARE(RruleFormat::ordinalWord(n), word);
}

void tst_RruleFormat::parseByDayEntry_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<int>("ordinal");
    QTest::addColumn<QString>("code");
    QTest::newRow("plain") << QStringLiteral("MO") << 0 << QStringLiteral("MO");
    QTest::newRow("ordinal") << QStringLiteral("2TU") << 2 << QStringLiteral("TU");
    QTest::newRow("plus") << QStringLiteral("+3we") << 3 << QStringLiteral("WE");
    QTest::newRow("minus") << QStringLiteral("-1FR") << -1 << QStringLiteral("FR");
    QTest::newRow("sign alone") << QStringLiteral("-SU") << 0 << QStringLiteral("SU");
    QTest::newRow("digits alone") << QStringLiteral("12") << 12 << QString();
    QTest::newRow("empty") << QString() << 0 << QString();
    QTest::newRow("too long a number")
        << QStringLiteral("99999999999SA") << 0 << QStringLiteral("SA");
    QTest::newRow("sign after digits stays in code")
        << QStringLiteral("1-MO") << 1 << QStringLiteral("-MO");
}

void tst_RruleFormat::parseByDayEntry()
{
    QFETCH(QString, entry);
    QFETCH(int, ordinal);
    QFETCH(QString, code);
    const auto [o, c] = RruleFormat::parseByDayEntry(entry);
    QCOMPARE(o, ordinal);
    QCOMPARE(c, code);
}

QTEST_GUILESS_MAIN(tst_RruleFormat)
#include "tst_RruleFormat.moc"
