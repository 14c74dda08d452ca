#include "storage/StoredDateTime.h"

#include <QTimeZone>
#include <QtTest>

class TestStoredDateTime : public QObject
{
    Q_OBJECT
private slots:
    void parsesLikeQt_data();
    void parsesLikeQt();
    void writesTheValueItself_data();
    void writesTheValueItself();
    void formatsLikeQt_data();
    void formatsLikeQt();
};

void TestStoredDateTime::parsesLikeQt_data()
{
    QTest::addColumn<QString>("text");
    for (const char *text :
         {"2024-03-05T10:00:00Z", "2024-03-05T10:00:00+01:00", "2024-03-05T10:00:00-05:30",
          "2024-03-05T10:00:00+00:00", "2024-03-05T10:00:00", "2024-03-31T02:30:00",
          "2024-11-03T01:30:00", "2024-03-05T10:00:00.250Z", "2024-03-05 10:00:00", "2024-03-05",
          "2024-02-30T10:00:00Z", "2024-03-05T24:00:00Z", "2024-03-05T10:00:60Z",
          "2024-03-05T1a:00:00Z", "2024-03-05T10:00:00+0100", "2024-03-05T10:00:00+14:00",
          "2024-02-29T23:59:59Z", "2023-02-29T10:00:00Z", "2100-02-29T10:00:00Z",
          "2000-02-29T10:00:00-05:30", "2024-04-31T10:00:00Z", "2024-13-01T10:00:00Z",
          "2024-00-10T10:00:00Z", "1969-12-31T23:59:59Z", "1600-03-01T00:00:00+01:00",
          "0001-01-01T00:00:00Z", "0000-06-01T00:00:00Z", "9999-12-31T23:59:59+14:00",
          "garbage"}) {
        QTest::newRow(text) << QString::fromLatin1(text);
    }
}

void TestStoredDateTime::parsesLikeQt()
{
    QFETCH(QString, text);
    const QDateTime expected = QDateTime::fromString(text, Qt::ISODate);
    const QDateTime actual = Sql::parseDateTime(text);
    QCOMPARE(actual.isValid(), expected.isValid());
    QCOMPARE(actual, expected);
    QCOMPARE(actual.timeSpec(), expected.timeSpec());
    QCOMPARE(actual.offsetFromUtc(), expected.offsetFromUtc());
    QCOMPARE(actual.toString(Qt::ISODate), expected.toString(Qt::ISODate));
    QCOMPARE(Sql::parseOptionalDateTime(QString()), std::nullopt);
    // Texts with Z or an offset, as the store writes them, give Qt's instant without a
    // date-time; the rest give none and are parsed.
    const std::optional<qint64> instant = Sql::parseUtf8Instant(text.toUtf8());
    const bool suffixed = text.endsWith(QLatin1Char('Z'))
        || (QRegularExpression(QStringLiteral("[+-]\\d\\d:\\d\\d$")).match(text).hasMatch()
            && !text.endsWith(QLatin1String("+00:00")));
    QCOMPARE(instant.has_value(),
             suffixed && expected.isValid() && !text.contains(QLatin1Char('.'))
                 && !text.contains(QLatin1String("T24")));
    if (instant)
        QCOMPARE(*instant, expected.toMSecsSinceEpoch());
}

void TestStoredDateTime::writesTheValueItself_data()
{
    QTest::addColumn<QDateTime>("value");
    QTest::addColumn<QString>("text");
    const QDate d(2024, 3, 5);
    const QTime t(10, 0);
    QTest::newRow("UTC") << QDateTime(d, t, Qt::UTC) << QStringLiteral("2024-03-05T10:00:00Z");
    QTest::newRow("offset") << QDateTime(d, t, Qt::OffsetFromUTC, -18000)
                            << QStringLiteral("2024-03-05T10:00:00-05:00");
    QTest::newRow("named zone") << QDateTime(d, t, QTimeZone("Asia/Tokyo"))
                                << QStringLiteral("2024-03-05T10:00:00+09:00");
    QTest::newRow("local") << QDateTime(d, t, Qt::LocalTime)
                           << QStringLiteral("2024-03-05T10:00:00");
    QTest::newRow("invalid") << QDateTime() << QString();
}

void TestStoredDateTime::writesTheValueItself()
{
    QFETCH(QDateTime, value);
    QFETCH(QString, text);
    const QVariant bound = Sql::dateTime(value);
    QCOMPARE(bound.toString(), text);
    QCOMPARE(bound.toString().isNull(), text.isNull());
    if (value.isValid())
        QCOMPARE(Sql::parseDateTime(bound), value);
}

void TestStoredDateTime::formatsLikeQt_data()
{
    QTest::addColumn<QDateTime>("value");
    const QDate d(2024, 3, 5);
    const QTime t(7, 8, 9, 250);
    QTest::newRow("UTC with milliseconds") << QDateTime(d, t, Qt::UTC);
    QTest::newRow("zero offset") << QDateTime(d, t, Qt::OffsetFromUTC, 0);
    QTest::newRow("negative offset with minutes") << QDateTime(d, t, Qt::OffsetFromUTC, -9000);
    QTest::newRow("offset with seconds") << QDateTime(d, t, Qt::OffsetFromUTC, 19815);
    QTest::newRow("fourteen hours") << QDateTime(d, t, Qt::OffsetFromUTC, 14 * 3600);
    QTest::newRow("local") << QDateTime(d, t, Qt::LocalTime);
    QTest::newRow("local in a DST gap")
        << QDateTime(QDate(2024, 3, 31), QTime(2, 30), Qt::LocalTime);
    QTest::newRow("named zone") << QDateTime(d, t, QTimeZone("America/St_Johns"));
    QTest::newRow("year 1") << QDateTime(QDate(1, 1, 1), QTime(0, 0), Qt::UTC);
    QTest::newRow("year 9999") << QDateTime(QDate(9999, 12, 31), QTime(23, 59, 59), Qt::UTC);
    QTest::newRow("year 10000") << QDateTime(QDate(10000, 1, 1), QTime(0, 0), Qt::UTC);
    QTest::newRow("before year 1") << QDateTime(QDate(-5, 6, 7), QTime(0, 0), Qt::UTC);
}

void TestStoredDateTime::formatsLikeQt()
{
    QFETCH(QDateTime, value);
    QCOMPARE(Sql::isoText(value), value.toString(Qt::ISODate));
}

QTEST_GUILESS_MAIN(TestStoredDateTime)
#include "tst_StoredDateTime.moc"
