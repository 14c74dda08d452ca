#include "platform/Endpoints.h"

#include <QTest>

class TestEndpoints : public QObject
{
    Q_OBJECT
private slots:
    void overridesKeepSecretsEncrypted_data();
    void overridesKeepSecretsEncrypted();
};

void TestEndpoints::overridesKeepSecretsEncrypted_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<bool>("taken");

    QTest::newRow("https anywhere") << QByteArray("https://tokens.example/token") << true;
    QTest::newRow("http to the loopback address") << QByteArray("http://127.0.0.1:9/token") << true;
    QTest::newRow("http to localhost") << QByteArray("http://localhost:9/token") << true;
    QTest::newRow("http to IPv6 loopback") << QByteArray("http://[::1]:9/token") << true;
    QTest::newRow("http to another computer") << QByteArray("http://tokens.example/token") << false;
    QTest::newRow("http to a private address") << QByteArray("http://192.168.1.2/token") << false;
    QTest::newRow("another scheme") << QByteArray("ftp://127.0.0.1/token") << false;
    QTest::newRow("no host") << QByteArray("https:///token") << false;
}

void TestEndpoints::overridesKeepSecretsEncrypted()
{
    QFETCH(QByteArray, value);
    QFETCH(bool, taken);
    // Every address read through the environment follows one rule; two stand for all.
    qputenv("GOOGLE_TOKEN_URL", value);
    qputenv("MICROSOFT_GRAPH_API_URL", value);
    const QString expected = QString::fromUtf8(value);
    QCOMPARE(Endpoints::googleTokenUrl() == expected, taken);
    QCOMPARE(Endpoints::microsoftGraphApiUrl() == expected, taken);
    if (!taken)
        QCOMPARE(Endpoints::googleTokenUrl(),
                 QStringLiteral("https://oauth2.googleapis.com/token"));
}

QTEST_GUILESS_MAIN(TestEndpoints)
#include "tst_Endpoints.moc"
