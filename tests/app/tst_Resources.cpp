#include <QCoreApplication>
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
    void translationsReplaceMenuText_data();
    void translationsReplaceMenuText();
    void englishCountUsesPluralForms_data();
    void englishCountUsesPluralForms();
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

void tst_Resources::translationsReplaceMenuText_data()
{
    QTest::addColumn<QString>("language");
    for (const char *language : {"de", "es", "fr", "ja"})
        QTest::newRow(language) << QString::fromLatin1(language);
}

// A catalogue that loads but carries no finished translations would pass the load check above.
void tst_Resources::translationsReplaceMenuText()
{
    QFETCH(QString, language);
    QTranslator translator;
    QVERIFY(translator.load(QStringLiteral(":/i18n/calendar_") + language + QStringLiteral(".qm")));
    const QString text = translator.translate("TrayManager", "&Quit");
    QVERIFY(!text.isEmpty());
    QVERIFY2(text != QStringLiteral("&Quit"), qPrintable(text));
    QCOMPARE(text.count(QLatin1Char('&')), 1); // the mnemonic survives translation
}

void tst_Resources::englishCountUsesPluralForms_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("expected");
    QTest::newRow("zero") << 0 << QStringLiteral("0 times");
    QTest::newRow("one") << 1 << QStringLiteral("1 time");
    QTest::newRow("two") << 2 << QStringLiteral("2 times");
}

void tst_Resources::englishCountUsesPluralForms()
{
    QFETCH(int, count);
    QFETCH(QString, expected);
    QTranslator translator;
    QVERIFY(translator.load(QStringLiteral(":/i18n/calendar_en.qm")));
    QVERIFY(QCoreApplication::installTranslator(&translator));
    const QString text = QCoreApplication::translate("QObject", "%n time(s)", nullptr, count);
    QCoreApplication::removeTranslator(&translator);
    QCOMPARE(text, expected);
}

QTEST_MAIN(tst_Resources)
#include "tst_Resources.moc"
