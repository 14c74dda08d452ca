#include "storage/SqlReader.h"
#include "storage/StoredDateTime.h"
#include "support/TestDatabase.h"

#include <QSqlQuery>
#include <QtTest>

class TestSqlReader : public QObject
{
    Q_OBJECT
private slots:
    void readerReadsLikeQt_data();
    void readerReadsLikeQt();
    void readerLogsAFailedStatement();
    void rowTextsShareOneBlockYetStayApart();
};

namespace {
const char *const kExpressions[] = {"NULL",
                                    "''",
                                    "'plain'",
                                    "'\u00e9t\u00e9 \u65e5\u672c \U0001F600'",
                                    "42",
                                    "-7",
                                    "'12'",
                                    "' 12 '",
                                    "'12abc'",
                                    "2.5",
                                    "-2.5",
                                    "x'4142'",
                                    "'2024-03-05T10:00:00Z'",
                                    "'2024-03-05T10:00:00-05:30'",
                                    "'2024-03-31T02:30:00'",
                                    "'2024-03-05T10:00:00.250Z'",
                                    "'2024-02-30T10:00:00Z'",
                                    "'2024-03-05'"};
} // namespace

void TestSqlReader::readerReadsLikeQt_data()
{
    QTest::addColumn<QString>("expression");
    for (const char *e : kExpressions)
        QTest::newRow(e) << QString::fromUtf8(e);
}

// The reader replaces QSqlQuery for large reads: every kind of stored value reads the same.
void TestSqlReader::readerReadsLikeQt()
{
    QFETCH(QString, expression);
    LarkTest::TestDatabase t;
    QVERIFY(t.isValid());
    const QString sql = QStringLiteral("SELECT ") + expression;
    QSqlQuery q(t.sql());
    QVERIFY(q.exec(sql));
    QVERIFY(q.next());
    const QVariant expected = q.value(0);

    Sql::Reader r(t.sql(), sql, "test failed:");
    QVERIFY(r.next());
    QCOMPARE(r.isNull(0), expected.isNull());
    QCOMPARE(r.text(0), expected.toString());
    QCOMPARE(r.text(0).isNull(), expected.toString().isNull());
    QCOMPARE(r.integer(0), expected.toInt());
    const QDateTime dt = r.dateTime(0);
    QCOMPARE(dt, Sql::parseDateTime(expected));
    QCOMPARE(dt.timeSpec(), Sql::parseDateTime(expected).timeSpec());
    QCOMPARE(r.optionalDateTime(0), Sql::parseOptionalDateTime(expected));
    QString viaBlock = QStringLiteral("left over");
    r.texts({{0, &viaBlock}});
    QCOMPARE(viaBlock, expected.toString());
    QCOMPARE(viaBlock.isNull(), expected.toString().isNull());
    QVERIFY(!r.next());
    QVERIFY(!r.failed());
}

void TestSqlReader::readerLogsAFailedStatement()
{
    LarkTest::TestDatabase t;
    QVERIFY(t.isValid());
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("^Thing::op failed: .*no such table")));
    QList<int> rows
        = Sql::readAll<int>(t.sql(), QStringLiteral("SELECT 1 FROM missing"), {},
                            "Thing::op failed:", [](const Sql::Reader &r) { return r.integer(0); });
    QVERIFY(rows.isEmpty());

    // A step failing after some rows keeps the rows read before it.
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^Thing::op failed:")));
    rows = Sql::readAll<int>(
        t.sql(),
        QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < "
                       "5) SELECT CASE WHEN i < 3 THEN i ELSE json('not json') END FROM n"),
        {}, "Thing::op failed:", [](const Sql::Reader &r) { return r.integer(0); });
    QCOMPARE(rows, (QList<int> {1, 2}));
}

// A row's texts are made in one block: each must still read, change and outlive the others as
// a text of its own.
void TestSqlReader::rowTextsShareOneBlockYetStayApart()
{
    LarkTest::TestDatabase t;
    QVERIFY(t.isValid());
    Sql::Reader r(t.sql(),
                  QStringLiteral("SELECT 'first', NULL, '', '\u00e9t\u00e9', 'second', ?, 7"),
                  "test failed:");
    r.bind(QStringLiteral("bound \u65e5\u672c"));
    QVERIFY(r.next());
    QString first, null, empty, accented, second, bound, number;
    r.texts({{0, &first},
             {1, &null},
             {2, &empty},
             {3, &accented},
             {4, &second},
             {5, &bound},
             {6, &number}});
    QCOMPARE(first, QStringLiteral("first"));
    QVERIFY(null.isNull());
    QVERIFY(!empty.isNull() && empty.isEmpty());
    QCOMPARE(accented, QStringLiteral("\u00e9t\u00e9"));
    QCOMPARE(second, QStringLiteral("second"));
    QCOMPARE(bound, QStringLiteral("bound \u65e5\u672c"));
    QCOMPARE(number, QStringLiteral("7"));
    QCOMPARE(first.utf16()[first.size()], u'\0');

    // Changing one leaves its neighbours in the block alone.
    first += QStringLiteral(" and more");
    second.replace(0, 1, QLatin1Char('S'));
    QCOMPARE(first, QStringLiteral("first and more"));
    QCOMPARE(second, QStringLiteral("Second"));
    QCOMPARE(number, QStringLiteral("7"));

    // The last text left holds the block; growing it in place must not reach freed memory.
    QString kept = number;
    first = second = number = QString();
    QVERIFY(!r.next());
    kept.append(QString(200, QLatin1Char('x')));
    QCOMPARE(kept.size(), 201);
    QVERIFY(kept.startsWith(QLatin1Char('7')));
}

QTEST_GUILESS_MAIN(TestSqlReader)
#include "tst_SqlReader.moc"
