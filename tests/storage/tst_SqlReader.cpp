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
    void rowImagesTellRowsApart();
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

// Rows are told apart by their images whenever any read of them could differ: every pair of
// values, including NULL against '', 12 against '12', and texts split differently over columns.
void TestSqlReader::rowImagesTellRowsApart()
{
    LarkTest::TestDatabase t;
    QVERIFY(t.isValid());
    QStringList rows;
    for (const char *e : kExpressions)
        rows << QStringLiteral("SELECT %1, 'x'").arg(QString::fromUtf8(e));
    rows << QStringLiteral("SELECT 'ab', 'c'") << QStringLiteral("SELECT 'a', 'bc'")
         << QStringLiteral("SELECT 'a'");
    QList<QByteArray> images;
    for (const QString &sql : std::as_const(rows)) {
        Sql::Reader r(t.sql(), sql, "test failed:");
        QVERIFY(r.next());
        images << r.rowImage();
    }
    // A fresh row each time: once a column was read as text, SQLite may report another type.
    for (qsizetype i = 0; i < rows.size(); ++i) {
        for (qsizetype j = 0; j < rows.size(); ++j) {
            Sql::Reader r(t.sql(), rows[i], "test failed:");
            QVERIFY(r.next());
            if (r.rowEquals(images[j]) != (i == j))
                QFAIL(qPrintable(rows[i] + QStringLiteral(" against ") + rows[j]));
        }
    }
}

QTEST_GUILESS_MAIN(TestSqlReader)
#include "tst_SqlReader.moc"
