#include <QFile>
#include <QFontDatabase>
#include <QImage>
#include <QTest>
#include <QTranslator>

// Everything the program loads from its embedded resources must be there and usable, in the
// executable as well as in any test that links the library.
class tst_Resources : public QObject
{
    Q_OBJECT
private slots:
    void fontsRegisterTheirFamilies_data();
    void fontsRegisterTheirFamilies();
    void appIconIsLargeEnough();
    void translationsLoad_data();
    void translationsLoad();
};

void tst_Resources::fontsRegisterTheirFamilies_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("family");
    QTest::newRow("sans") << QStringLiteral(":/fonts/IBMPlexSans.ttf")
                          << QStringLiteral("IBM Plex Sans");
    QTest::newRow("sans italic") << QStringLiteral(":/fonts/IBMPlexSans-Italic.ttf")
                                 << QStringLiteral("IBM Plex Sans");
    QTest::newRow("mono medium") << QStringLiteral(":/fonts/IBMPlexMono-Medium.ttf")
                                 << QStringLiteral("IBM Plex Mono");
    QTest::newRow("icons") << QStringLiteral(":/fonts/MaterialIcons-Regular.otf")
                           << QStringLiteral("Material Icons");
}

void tst_Resources::fontsRegisterTheirFamilies()
{
    QFETCH(QString, path);
    QFETCH(QString, family);
    QVERIFY2(QFile::exists(path), qPrintable(path));
    const int id = QFontDatabase::addApplicationFont(path);
    QVERIFY2(id >= 0, qPrintable(path));
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    QVERIFY2(families.contains(family), qPrintable(families.join(QStringLiteral(", "))));
}

void tst_Resources::appIconIsLargeEnough()
{
    QImage icon;
    QVERIFY(icon.load(QStringLiteral(":/icons/app-icon.png")));
    QVERIFY(icon.width() >= 256);
    QVERIFY(icon.height() >= 256);
    QVERIFY(icon.hasAlphaChannel());
}

void tst_Resources::translationsLoad_data()
{
    QTest::addColumn<QString>("language");
    for (const char *language : {"de", "en", "es", "fr", "ja"})
        QTest::newRow(language) << QString::fromLatin1(language);
}

void tst_Resources::translationsLoad()
{
    QFETCH(QString, language);
    const QString path = QStringLiteral(":/i18n/calendar_") + language + QStringLiteral(".qm");
    QVERIFY2(QFile::exists(path), qPrintable(path));
    QTranslator translator;
    QVERIFY(translator.load(path));
    QCOMPARE(translator.language(), language);
}

QTEST_MAIN(tst_Resources)
#include "tst_Resources.moc"
