#include "model/NLParser.h"
#include "support/TestSupport.h"

#include <QTest>
#include <QTimeZone>

using NLParser::ParseResult;

namespace {

// Wednesday, local time.
const QDateTime kNow(QDate(2024, 1, 10), QTime(10, 7, 42));

QDateTime local(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second));
}

QDateTime jan(int day, int hour = 0, int minute = 0, int second = 0)
{
    return local(2024, 1, day, hour, minute, second);
}

// The flags that are set, in a fixed order, so a table row names them in one word list.
QString flagsOf(const ParseResult &r)
{
    QStringList out;
    if (r.isReminder)
        out << QStringLiteral("reminder");
    if (r.isTask)
        out << QStringLiteral("task");
    if (r.isAllDay)
        out << QStringLiteral("allDay");
    if (r.hasTime)
        out << QStringLiteral("time");
    return out.join(QLatin1Char(' '));
}

} // namespace

class tst_NLParser : public QObject
{
    Q_OBJECT
private slots:
    void blankLine_data();
    void blankLine();
    void referenceLines_data();
    void referenceLines();
    void tags_data();
    void tags();
    void hugeNumbersAreNoMatch_data();
    void hugeNumbersAreNoMatch();
    void resultsKeepTheReferenceZone_data();
    void resultsKeepTheReferenceZone();
    void defaultStart_data();
    void defaultStart();
};

void tst_NLParser::blankLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::newRow("empty") << QString();
    QTest::newRow("spaces") << QStringLiteral("   ");
    QTest::newRow("tabs and newline") << QStringLiteral("\t \n ");
}

void tst_NLParser::blankLine()
{
    QFETCH(QString, line);
    const ParseResult r = NLParser::parse(line, kNow);
    QCOMPARE(r.title, QString());
    QCOMPARE(r.start, jan(10, 10, 30));
    QVERIFY(!r.end.has_value());
    QCOMPARE(flagsOf(r), QString());
    QVERIFY(r.tags.isEmpty());
}

void tst_NLParser::referenceLines_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QDateTime>("start");
    QTest::addColumn<QDateTime>("end");
    QTest::addColumn<QString>("flags");

    const auto row = [](const char *line, const char *title, const QDateTime &start,
                        const QDateTime &end, const char *flags) {
        QTest::newRow(line) << QString::fromUtf8(line) << QString::fromUtf8(title) << start << end
                            << QString::fromUtf8(flags);
    };

    // No cue at all: a task at the next half hour.
    row("buy milk", "buy milk", jan(10, 10, 30), jan(10, 11, 30), "task");
    row("  water   the plants  ", "water the plants", jan(10, 10, 30), jan(10, 11, 30), "task");

    // Dates.
    row("buy milk tomorrow", "buy milk", jan(11), jan(12), "allDay");
    row("notes yesterday", "notes", jan(9), jan(10), "allDay");
    row("TODAY standup", "standup", jan(10), jan(11), "allDay");
    row("next wed", "", jan(17), jan(18), "allDay");
    row("next sunday brunch", "brunch", jan(14), jan(15), "allDay");
    row("wed", "", jan(10), jan(11), "allDay");
    row("on wednesday", "", jan(10), jan(11), "allDay");
    row("on tue", "", jan(16), jan(17), "allDay");
    row("call grandma thurs", "call grandma", jan(11), jan(12), "allDay");
    row("in 2 weeks", "", jan(24), jan(25), "allDay");
    row("renew passport in 3 days", "renew passport", jan(13), jan(14), "allDay");
    row("jan 5", "", local(2025, 1, 5), local(2025, 1, 6), "allDay");
    row("jan 10", "", jan(10), jan(11), "allDay");
    row("on March 3 taxes", "taxes", local(2024, 3, 3), local(2024, 3, 4), "allDay");
    row("feb 29", "", local(2024, 2, 29), local(2024, 3, 1), "allDay");
    row("feb 30", "", QDateTime(), QDateTime(), "allDay");
    row("apr 31 party", "party", QDateTime(), QDateTime(), "allDay");

    // Times.
    row("lunch with a client tomorrow at 12:30 for 45 min #work", "lunch with a client",
        jan(11, 12, 30), jan(11, 13, 15), "time");
    row("standup at 9", "standup", jan(10, 9), jan(10, 10), "time");
    row("call at 1430", "call", jan(10, 14, 30), jan(10, 15, 30), "time");
    row("call 5pm", "call", jan(10, 17), jan(10, 18), "time");
    row("call 5 PM", "call", jan(10, 17), jan(10, 18), "time");
    row("12am", "", jan(10, 0), jan(10, 1), "time");
    row("12pm", "", jan(10, 12), jan(10, 13), "time");
    row("dinner at 7 on friday", "dinner", jan(12, 7), jan(12, 8), "time");
    row("lunch at noon", "lunch", jan(10, 12), jan(10, 13), "time");
    row("midnight snack", "snack", jan(10, 0), jan(10, 1), "time");
    row("at 25", "", jan(10, 0), jan(10, 1), "time");
    row("at 2400", "2400", jan(10, 10, 30), jan(10, 11, 30), "task");
    row("at 0960 call 3pm", "0960 call", jan(10, 15), jan(10, 16), "time");
    row("call at 3pm for 1.5 hours", "call", jan(10, 15), jan(10, 16, 30), "time");
    row("tea at 4pm for 2.5 min", "tea", jan(10, 16), jan(10, 16, 2), "time");
    row("sprint at 10 for 2h", "sprint", jan(10, 10), jan(10, 12), "time");

    // Ranges.
    row("meeting from 9 to 5", "meeting", jan(10, 9), jan(11, 5), "time");
    row("meeting from 2 to 4pm", "meeting", jan(10, 14), jan(10, 16), "time");
    row("meeting from 9 to 5pm", "meeting", jan(10, 21), jan(11, 17), "time");
    row("shift from 10pm to 2am", "shift", jan(10, 22), jan(11, 2), "time");
    row("class from 9:15am to 10:45 tomorrow", "class", jan(11, 9, 15), jan(11, 10, 45), "time");
    row("meeting from 3 to 3", "meeting", jan(10, 3), jan(11, 3), "time");

    // Relative phrases.
    row("in 30 minutes", "", jan(10, 10, 37, 42), jan(10, 11, 37, 42), "time");
    row("stretch in 2 hours", "stretch", jan(10, 12, 7, 42), jan(10, 13, 7, 42), "time");
    row("check oven in 24 hrs", "check oven", jan(11, 10, 7, 42), jan(11, 11, 7, 42), "time");
    row("dinner tonight", "dinner", jan(10, 19), jan(10, 20), "time");
    row("gym tonight at 8pm", "gym", jan(10, 20), jan(10, 21), "time");
    row("walk this morning", "walk", jan(10, 9), jan(10, 10), "time");
    row("nap this  afternoon", "nap", jan(10, 15), jan(10, 16), "time");
    row("call this evening friday", "call", jan(12, 19), jan(12, 20), "time");
    row("review next week", "review", jan(17), jan(18), "allDay");
    row("dentist for next week", "dentist", jan(17), jan(18), "allDay");
    row("plan next week at 10", "plan", jan(17, 10), jan(17, 11), "time");

    // Prefixes.
    row("remind me to call mom at 5pm", "call mom", jan(10, 17), jan(10, 18), "reminder time");
    row("Remind me that the car is due", "the car is due", jan(10, 10, 30), jan(10, 11, 30),
        "reminder");
    row("remind me about the meeting at noon", "the meeting", jan(10, 12), jan(10, 13),
        "reminder time");
    row("don't forget to buy milk", "buy milk", jan(10, 10, 30), jan(10, 11, 30), "reminder");
    row("dont let me forget the keys", "the keys", jan(10, 10, 30), jan(10, 11, 30), "reminder");
    row("Reminder: buy milk", "buy milk", jan(10, 10, 30), jan(10, 11, 30), "reminder");
    row("remember to stretch tomorrow", "stretch", jan(11), jan(12), "reminder allDay");
    row("remind me to", "to", jan(10, 10, 30), jan(10, 11, 30), "reminder");
    row("to-do: pay rent friday", "pay rent", jan(12), jan(13), "task allDay");
    row("task - water plants", "water plants", jan(10, 10, 30), jan(10, 11, 30), "task");
    row("todo call bob at 3pm", "call bob", jan(10, 15), jan(10, 16), "task time");
    row("add a task to call bob", "call bob", jan(10, 10, 30), jan(10, 11, 30), "task");
    row("new todo that matters", "matters", jan(10, 10, 30), jan(10, 11, 30), "task");

    // Title clean-up.
    row("meet at the cafe at 3pm", "meet at the cafe", jan(10, 15), jan(10, 16), "time");
    row("for the kids on friday", "the kids", jan(12), jan(13), "allDay");
    row("party on #monday", "party", jan(15), jan(16), "allDay");
    row("tomorrow at 5pm", "", jan(11, 17), jan(11, 18), "time");
}

void tst_NLParser::referenceLines()
{
    QFETCH(QString, line);
    QFETCH(QString, title);
    QFETCH(QDateTime, start);
    QFETCH(QDateTime, end);
    QFETCH(QString, flags);

    const ParseResult r = NLParser::parse(line, kNow);
    QCOMPARE(r.title, title);
    QCOMPARE(r.start, start);
    QVERIFY(r.end.has_value());
    QCOMPARE(*r.end, end);
    QCOMPARE(flagsOf(r), flags);
    if (start.isValid())
        QCOMPARE(r.start.time(), start.time()); // the clock time, not only the instant
}

void tst_NLParser::tags_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("tags");
    QTest::addColumn<QString>("title");

    QTest::newRow("one") << QStringLiteral("lunch #work") << LarkTest::strings({"work"})
                         << QStringLiteral("lunch");
    QTest::newRow("first form wins") << QStringLiteral("#Work and #work notes")
                                     << LarkTest::strings({"Work"}) << QStringLiteral("and notes");
    QTest::newRow("order of appearance")
        << QStringLiteral("#b x #a y #B") << LarkTest::strings({"b", "a"}) << QStringLiteral("x y");
    QTest::newRow("letters digits dash underscore")
        << QStringLiteral("#café-2_x! done") << LarkTest::strings({"café-2_x"})
        << QStringLiteral("! done");
    QTest::newRow("lone hash") << QStringLiteral("issue # 5") << QStringList()
                               << QStringLiteral("issue # 5");
}

void tst_NLParser::tags()
{
    QFETCH(QString, line);
    QFETCH(QStringList, tags);
    QFETCH(QString, title);
    const ParseResult r = NLParser::parse(line, kNow);
    QCOMPARE(r.tags, tags);
    QCOMPARE(r.title, title);
}

void tst_NLParser::hugeNumbersAreNoMatch_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QDateTime>("end");
    QTest::addColumn<QString>("flags");

    // Each phrase stays in the title and the line falls back to what is left.
    QTest::newRow("duration in hours") << QStringLiteral("sleep for 99999999999 hours")
                                       << jan(10, 11, 30) << QStringLiteral("task");
    QTest::newRow("duration beyond 64 bits")
        << QStringLiteral("sleep for 999999999999999999999999 min") << jan(10, 11, 30)
        << QStringLiteral("task");
    QTest::newRow("relative hours")
        << QStringLiteral("nap in 99999999999 hours") << jan(10, 11, 30) << QStringLiteral("task");
    QTest::newRow("relative minutes beyond 64 bits")
        << QStringLiteral("nap in 99999999999999999999 minutes") << jan(10, 11, 30)
        << QStringLiteral("task");
    QTest::newRow("weeks") << QStringLiteral("nap in 9999999999999 weeks") << jan(10, 11, 30)
                           << QStringLiteral("task");
    QTest::newRow("days beyond 64 bits") << QStringLiteral("nap in 99999999999999999999 days")
                                         << jan(10, 11, 30) << QStringLiteral("task");
}

void tst_NLParser::hugeNumbersAreNoMatch()
{
    QFETCH(QString, line);
    QFETCH(QDateTime, end);
    QFETCH(QString, flags);
    const ParseResult r = NLParser::parse(line, kNow);
    QCOMPARE(r.title, line);
    QCOMPARE(r.start, jan(10, 10, 30));
    QCOMPARE(r.end.value_or(QDateTime()), end);
    QCOMPARE(flagsOf(r), flags);
}

void tst_NLParser::resultsKeepTheReferenceZone_data()
{
    QTest::addColumn<QDateTime>("now");
    QTest::newRow("utc") << QDateTime(QDate(2024, 1, 10), QTime(10, 7, 42), Qt::UTC);
    QTest::newRow("named zone") << QDateTime(QDate(2024, 1, 10), QTime(10, 7, 42),
                                             QTimeZone(QByteArrayLiteral("Asia/Tokyo")));
    QTest::newRow("offset") << QDateTime(QDate(2024, 1, 10), QTime(10, 7, 42), Qt::OffsetFromUTC,
                                         -3 * 3600);
}

void tst_NLParser::resultsKeepTheReferenceZone()
{
    QFETCH(QDateTime, now);
    const QStringList lines = LarkTest::strings(
        {"buy milk", "tomorrow", "call at 3pm", "from 10pm to 2am", "in 30 minutes"});
    for (const QString &line : lines) {
        const ParseResult r = NLParser::parse(line, now);
        QVERIFY2(r.start.timeSpec() == now.timeSpec(), qPrintable(line));
        QCOMPARE(r.start.offsetFromUtc(), now.offsetFromUtc());
        QCOMPARE(r.end->offsetFromUtc(), now.offsetFromUtc());
    }
    QCOMPARE(NLParser::parse(QStringLiteral("call at 3pm"), now).start.time(), QTime(15, 0));
    QCOMPARE(NLParser::parse(QStringLiteral("tomorrow"), now).start.date(), QDate(2024, 1, 11));
}

void tst_NLParser::defaultStart_data()
{
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<QDateTime>("start");
    QTest::newRow("07 to 30") << jan(10, 10, 7, 42) << jan(10, 10, 30);
    QTest::newRow("on the hour, seconds dropped") << jan(10, 10, 0, 59) << jan(10, 10, 0);
    QTest::newRow("on the half hour") << jan(10, 10, 30, 1) << jan(10, 10, 30);
    QTest::newRow("29 to 30") << jan(10, 10, 29, 59) << jan(10, 10, 30);
    QTest::newRow("45 to next hour") << jan(10, 10, 45) << jan(10, 11, 0);
    QTest::newRow("past midnight") << jan(10, 23, 50) << jan(11, 0, 0);
    QTest::newRow("past new year") << local(2024, 12, 31, 23, 31) << local(2025, 1, 1);
}

void tst_NLParser::defaultStart()
{
    QFETCH(QDateTime, now);
    QFETCH(QDateTime, start);
    QCOMPARE(NLParser::defaultQuickAddStart(now), start);
    QCOMPARE(NLParser::parse(QStringLiteral("x"), now).start, start);
}

QTEST_GUILESS_MAIN(tst_NLParser)
#include "tst_NLParser.moc"
