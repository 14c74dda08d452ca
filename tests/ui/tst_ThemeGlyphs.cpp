#include "support/TestImages.h"
#include "ui/theme/Theme.h"

#include <QApplication>
#include <QFontDatabase>
#include <QTest>

// Runs on a display with device pixel ratio 2 (see main below).
class TestThemeGlyphs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void glyphPixmapFollowsTheRatio_data();
    void glyphPixmapFollowsTheRatio();
    void glyphComesFromTheIconFont();
    void nonPositiveSizeGivesNoIcon();
};

void TestThemeGlyphs::initTestCase()
{
    QCOMPARE(qApp->devicePixelRatio(), 2.0);
    const int id
        = QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/MaterialIcons-Regular.otf"));
    QVERIFY(id >= 0);
    Theme::setIconFontFamily(QFontDatabase::applicationFontFamilies(id).value(0));
    QCOMPARE(Theme::iconFontFamily(), QStringLiteral("Material Icons"));
}

void TestThemeGlyphs::glyphPixmapFollowsTheRatio_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("pixels");
    QTest::newRow("16") << 16 << 32;
    QTest::newRow("20") << 20 << 40;
    QTest::newRow("1") << 1 << 2;
}

void TestThemeGlyphs::glyphPixmapFollowsTheRatio()
{
    QFETCH(int, size);
    QFETCH(int, pixels);
    const QIcon icon = Theme::glyphIcon(0xe5ca, size, QColor(Qt::red));
    QVERIFY(!icon.isNull());
    // The icon holds one pixmap drawn at full resolution, not one scaled up on request.
    QCOMPARE(icon.availableSizes(), QList<QSize> {QSize(pixels, pixels)});
    const QPixmap pixmap = icon.pixmap(QSize(size, size));
    QCOMPARE(pixmap.size(), QSize(pixels, pixels));
    QCOMPARE(pixmap.devicePixelRatio(), 2.0);
}

void TestThemeGlyphs::glyphComesFromTheIconFont()
{
    const QColor green(0, 160, 0);
    const QImage check = Theme::glyphIcon(0xe5ca, 24, green).pixmap(QSize(24, 24)).toImage();
    const QImage close = Theme::glyphIcon(0xe5cd, 24, green).pixmap(QSize(24, 24)).toImage();
    QCOMPARE(check.size(), QSize(48, 48));
    // Solid strokes of the glyph in the requested colour, different shapes for different glyphs.
    QVERIFY(LarkTest::countPixels(check, green) > 100);
    QVERIFY(LarkTest::countPixels(close, green) > 100);
    QVERIFY(check != close);
    QCOMPARE(check.pixelColor(0, 0).alpha(), 0);

    // Under another family the same code point does not come out as the icon.
    Theme::setIconFontFamily(QStringLiteral("IBM Plex Sans"));
    const QImage fallback = Theme::glyphIcon(0xe5ca, 24, green).pixmap(QSize(24, 24)).toImage();
    Theme::setIconFontFamily(QStringLiteral("Material Icons"));
    QVERIFY(fallback != check);
}

void TestThemeGlyphs::nonPositiveSizeGivesNoIcon()
{
    QVERIFY(Theme::glyphIcon(0xe5ca, 0, QColor(Qt::red)).isNull());
    QVERIFY(Theme::glyphIcon(0xe5ca, -4, QColor(Qt::red)).isNull());
}

int main(int argc, char *argv[])
{
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    TestThemeGlyphs test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_ThemeGlyphs.moc"
