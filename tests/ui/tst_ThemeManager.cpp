#include "storage/PreferenceKeys.h"
#include "storage/PreferencesRepository.h"
#include "support/TestDatabase.h"
#include "ui/theme/CalendarProxyStyle.h"
#include "ui/theme/Theme.h"
#include "ui/theme/ThemeManager.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {

const QColor LightCanvas(0xf6, 0xf7, 0xf9);
const QColor DarkCanvas(0x14, 0x16, 0x1b);

void sendPlatformPaletteChange()
{
    QEvent event(QEvent::ApplicationPaletteChange);
    QCoreApplication::sendEvent(qApp, &event);
}

} // namespace

class TestThemeManager : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void systemModeFollowsTheDesktop_data();
    void systemModeFollowsTheDesktop();
    void sameModeTwiceReappliesWithoutWriting();
    void unknownModeIsLightAndKept();
    void loadThemeSettingsReadsModeAndAccent();
    void accent_data();
    void accent();
    void fontScale_data();
    void fontScale();
    void loadFontScale_data();
    void loadFontScale();
    void fontScaleResizesApplicationAndWidgetFonts();
    void pixelBaseFontIsInstalledUnscaled();
    void fontScaleReachesAnOpenMainWindow();
    void applyingTwiceKeepsOneProxy();
    void desktopAnswerIgnoresOurOwnPalette();

private:
    std::unique_ptr<LarkTest::TestDatabase> m_db;
    std::unique_ptr<PreferencesRepository> m_prefs;
    QFont m_appFont;
};

void TestThemeManager::init()
{
    m_db = std::make_unique<LarkTest::TestDatabase>();
    QVERIFY(m_db->isValid());
    m_prefs = std::make_unique<PreferencesRepository>(m_db->db());
    m_appFont = QApplication::font();
    ThemeManager::setSystemDarkProbe([] { return false; });
}

void TestThemeManager::cleanup()
{
    ThemeManager::setSystemDarkProbe({});
    Theme::setCustomAccentColor(QString());
    Theme::setActiveMode(0);
    Theme::fontScale = 100;
    Theme::fontSm = 10;
    Theme::fontBody = 11;
    Theme::fontLg = 13;
    Theme::fontXl = 16;
    Theme::fontXxl = 22;
    QApplication::setFont(m_appFont);
    m_prefs.reset();
    m_db.reset();
}

void TestThemeManager::systemModeFollowsTheDesktop_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<bool>("darkBefore");
    QTest::addColumn<bool>("desktopDark");
    QTest::addColumn<QColor>("expected");

    QTest::newRow("system follows light to dark") << "system" << false << true << DarkCanvas;
    QTest::newRow("system follows dark to light") << "system" << true << false << LightCanvas;
    QTest::newRow("light ignores the desktop") << "light" << false << true << LightCanvas;
    QTest::newRow("dark ignores the desktop") << "dark" << true << false << DarkCanvas;
}

void TestThemeManager::systemModeFollowsTheDesktop()
{
    QFETCH(QString, mode);
    QFETCH(bool, darkBefore);
    QFETCH(bool, desktopDark);
    QFETCH(QColor, expected);

    bool desktop = !desktopDark;
    ThemeManager::setSystemDarkProbe([&desktop] { return desktop; });
    ThemeManager manager(m_prefs.get());
    manager.setMode(mode);
    QCOMPARE(Theme::canvas(), darkBefore ? DarkCanvas : LightCanvas);

    QSignalSpy modeSpy(&manager, &ThemeManager::modeChanged);
    desktop = desktopDark;
    sendPlatformPaletteChange();

    QCOMPARE(Theme::canvas(), expected);
    QCOMPARE(QApplication::palette().color(QPalette::Window), expected);
    QCOMPARE(modeSpy.count(), 0);
}

void TestThemeManager::sameModeTwiceReappliesWithoutWriting()
{
    ThemeManager manager(m_prefs.get());
    QSignalSpy modeSpy(&manager, &ThemeManager::modeChanged);
    QSignalSpy writeSpy(m_prefs.get(), &PreferencesRepository::changed);

    manager.setMode(QStringLiteral("dark"));
    QCOMPARE(modeSpy.count(), 1);
    QCOMPARE(modeSpy.at(0).at(0).toString(), QStringLiteral("dark"));
    QCOMPARE(writeSpy.count(), 1);
    QCOMPARE(m_prefs->getString(Prefs::Theme), QStringLiteral("dark"));

    Theme::setActiveMode(0);
    manager.setMode(QStringLiteral("dark"));
    QCOMPARE(Theme::canvas(), DarkCanvas);
    QCOMPARE(modeSpy.count(), 1);
    QCOMPARE(writeSpy.count(), 1);

    // The starting mode is "system": choosing it first writes nothing either.
    ThemeManager fresh(m_prefs.get());
    QSignalSpy freshSpy(&fresh, &ThemeManager::modeChanged);
    fresh.setMode(QStringLiteral("system"));
    QCOMPARE(freshSpy.count(), 0);
    QCOMPARE(writeSpy.count(), 1);
}

void TestThemeManager::unknownModeIsLightAndKept()
{
    ThemeManager::setSystemDarkProbe([] { return true; });
    ThemeManager manager(m_prefs.get());
    manager.setMode(QStringLiteral("sepia"));
    QCOMPARE(Theme::canvas(), LightCanvas);
    QCOMPARE(m_prefs->getString(Prefs::Theme), QStringLiteral("sepia"));
    QCOMPARE(manager.mode(), QStringLiteral("sepia"));
}

void TestThemeManager::loadThemeSettingsReadsModeAndAccent()
{
    QVERIFY(m_prefs->set(Prefs::Theme, QStringLiteral("dark")));
    QVERIFY(m_prefs->set(Prefs::AccentColor, QStringLiteral("#00aa00")));
    ThemeManager manager(m_prefs.get());
    manager.loadThemeSettings();
    QCOMPARE(manager.mode(), QStringLiteral("dark"));
    QCOMPARE(Theme::canvas(), DarkCanvas);
    QCOMPARE(Theme::accent(), QColor(0x00, 0xaa, 0x00));
    QCOMPARE(QApplication::palette().color(QPalette::Highlight), QColor(0x00, 0xaa, 0x00));

    // Nothing stored: "system", which the probe answers light.
    QVERIFY(m_prefs->remove(Prefs::Theme));
    QVERIFY(m_prefs->remove(Prefs::AccentColor));
    manager.loadThemeSettings();
    QCOMPARE(manager.mode(), QStringLiteral("system"));
    QCOMPARE(Theme::canvas(), LightCanvas);
    QCOMPARE(Theme::accent(), QColor(0x42, 0x85, 0xf4));
}

void TestThemeManager::accent_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("color");
    QTest::addColumn<QString>("accent");
    QTest::addColumn<QString>("muted");

    QTest::newRow("empty restores light default") << "light"
                                                  << ""
                                                  << "#4285f4"
                                                  << "rgba(66, 133, 244, 0.149)";
    QTest::newRow("empty restores dark default") << "dark"
                                                 << ""
                                                 << "#6ba1f7"
                                                 << "rgba(107, 161, 247, 0.196)";
    QTest::newRow("red in light") << "light"
                                  << "#ff0000"
                                  << "#ff0000"
                                  << "rgba(255, 0, 0, 0.149)";
    QTest::newRow("red in dark") << "dark"
                                 << "#ff0000"
                                 << "#ff0000"
                                 << "rgba(255, 0, 0, 0.196)";
    QTest::newRow("invalid falls back") << "light"
                                        << "not a colour"
                                        << "#4285f4"
                                        << "rgba(66, 133, 244, 0.149)";
}

void TestThemeManager::accent()
{
    QFETCH(QString, mode);
    QFETCH(QString, color);
    QFETCH(QString, accent);
    QFETCH(QString, muted);

    ThemeManager manager(m_prefs.get());
    manager.setMode(mode);
    manager.setAccentColor(QStringLiteral("#123456"));
    QVERIFY(m_prefs->get(Prefs::AccentColor).has_value());

    QSignalSpy spy(&manager, &ThemeManager::accentChanged);
    manager.setAccentColor(color);

    QCOMPARE(Theme::cssColor(Theme::accent()), accent);
    QCOMPARE(Theme::cssColor(Theme::accentMuted()), muted);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).value<QColor>(), QColor(accent));
    QCOMPARE(QApplication::palette().color(QPalette::Highlight), QColor(accent));
    // The text is stored as given, even when it is not a colour; empty removes the key.
    QCOMPARE(m_prefs->get(Prefs::AccentColor).has_value(), !color.isEmpty());
    if (!color.isEmpty())
        QCOMPARE(m_prefs->getString(Prefs::AccentColor), color);
    QVERIFY(qApp->styleSheet().contains(accent));
}

void TestThemeManager::fontScale_data()
{
    QTest::addColumn<int>("requested");
    QTest::addColumn<int>("stored");
    QTest::addColumn<QList<int>>("sizes");

    QTest::newRow("50 clamps to 70") << 50 << 70 << QList<int> {7, 7, 9, 11, 15};
    QTest::newRow("70") << 70 << 70 << QList<int> {7, 7, 9, 11, 15};
    QTest::newRow("100") << 100 << 100 << QList<int> {10, 11, 13, 16, 22};
    QTest::newRow("125") << 125 << 125 << QList<int> {12, 13, 16, 20, 27};
    QTest::newRow("200") << 200 << 200 << QList<int> {20, 22, 26, 32, 44};
    QTest::newRow("250 clamps to 200") << 250 << 200 << QList<int> {20, 22, 26, 32, 44};
}

void TestThemeManager::fontScale()
{
    QFETCH(int, requested);
    QFETCH(int, stored);
    QFETCH(QList<int>, sizes);

    ThemeManager manager(m_prefs.get());
    manager.applyTheme(QStringLiteral("light"));
    QSignalSpy spy(&manager, &ThemeManager::fontScaleChanged);
    manager.setFontScale(requested, true);

    QCOMPARE(manager.fontScale(), stored);
    QCOMPARE(m_prefs->getString(Prefs::FontScale), QString::number(stored));
    const QList<int> actual {Theme::fontSm, Theme::fontBody, Theme::fontLg, Theme::fontXl,
                             Theme::fontXxl};
    QCOMPARE(actual, sizes);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toInt(), stored);

    // The style sheet built afterwards carries the new sizes.
    const QString sheet = Theme::stylesheet();
    QVERIFY(sheet.contains(QStringLiteral("font-size: %1pt").arg(sizes.at(1))));
    QVERIFY(sheet.contains(QStringLiteral("font-size: %1pt").arg(sizes.at(0))));

    // The same value again still announces itself.
    manager.setFontScale(requested, false);
    QCOMPARE(spy.count(), 2);
}

void TestThemeManager::loadFontScale_data()
{
    QTest::addColumn<QString>("storedText");
    QTest::addColumn<int>("expected");

    QTest::newRow("absent") << QString() << 100;
    QTest::newRow("150") << "150" << 150;
    QTest::newRow("not a number") << "big" << 100;
    QTest::newRow("decimal fraction") << "120.5" << 100;
    QTest::newRow("too large") << "250" << 200;
    QTest::newRow("too small") << "10" << 70;
}

void TestThemeManager::loadFontScale()
{
    QFETCH(QString, storedText);
    QFETCH(int, expected);

    if (!storedText.isNull())
        QVERIFY(m_prefs->set(Prefs::FontScale, storedText));
    ThemeManager manager(m_prefs.get());
    manager.loadFontScale();
    QCOMPARE(manager.fontScale(), expected);
    // Loading never writes the value back.
    QCOMPARE(m_prefs->get(Prefs::FontScale).value_or(QString()), storedText);
}

void TestThemeManager::fontScaleResizesApplicationAndWidgetFonts()
{
    QFont base = QApplication::font();
    base.setPointSize(10);
    QApplication::setFont(base);
    ThemeManager manager(m_prefs.get());

    QLabel custom;
    QFont customFont = custom.font();
    customFont.setPointSize(9);
    custom.setFont(customFont);

    manager.setFontScale(150, false);
    QCOMPARE(QApplication::font().pointSize(), 15);
    QCOMPARE(custom.font().pointSize(), 14); // 13.5 rounds away from zero

    // Back down: the application font comes from the base again, the widget font from its own.
    manager.setFontScale(70, false);
    QCOMPARE(QApplication::font().pointSize(), 7);
    QCOMPARE(custom.font().pointSize(), 7); // 14 * 70 / 150 = 6.53
}

// A window open during the change reads the new size at once, and so does the style sheet,
// which sizes the main window, dialogs and headers.
void TestThemeManager::fontScaleReachesAnOpenMainWindow()
{
    QApplication::setFont(QFont(QStringLiteral("IBM Plex Sans"), 11));
    ThemeManager manager(m_prefs.get());
    manager.applyTheme(QStringLiteral("light"));
    QMainWindow window;
    auto *label = new QLabel(QStringLiteral("Today"));
    window.setCentralWidget(label);
    window.show();
    QCOMPARE(label->font().pointSize(), 11);

    manager.setFontScale(150, false);
    QCOMPARE(window.font().pointSize(), 16);
    QCOMPARE(label->font().pointSize(), 16);
    QVERIFY(qApp->styleSheet().contains(QLatin1String("font-size: 16pt")));
    QVERIFY(!qApp->styleSheet().contains(QLatin1String("font-size: 11pt")));
    qApp->setStyleSheet(QString());
}

void TestThemeManager::pixelBaseFontIsInstalledUnscaled()
{
    QFont base = QApplication::font();
    base.setPixelSize(12);
    QApplication::setFont(base);
    ThemeManager manager(m_prefs.get());
    manager.setFontScale(200, false);
    QCOMPARE(QApplication::font().pixelSize(), 12);
    QCOMPARE(Theme::fontBody, 22);
}

void TestThemeManager::applyingTwiceKeepsOneProxy()
{
    ThemeManager manager(m_prefs.get());
    manager.applyTheme(QStringLiteral("light"));
    const QList<CalendarProxyStyle *> first = qApp->findChildren<CalendarProxyStyle *>();
    QCOMPARE(first.size(), 1);
    const QPointer<CalendarProxyStyle> installed = first.at(0);

    manager.applyTheme(QStringLiteral("dark"));
    manager.setAccentColor(QStringLiteral("#ff0000"));

    // The same proxy, not a replacement that happens to be the only one left.
    QVERIFY(installed);
    QCOMPARE(qApp->findChildren<CalendarProxyStyle *>(), first);
    // With the style sheet on top, the application's style still reaches the proxy.
    QVERIFY(!qApp->styleSheet().isEmpty());
    QCOMPARE(QApplication::style()->pixelMetric(QStyle::PM_IndicatorWidth), 18);
    QCOMPARE(QApplication::style()->pixelMetric(QStyle::PM_ExclusiveIndicatorHeight), 18);
}

void TestThemeManager::desktopAnswerIgnoresOurOwnPalette()
{
    // The offscreen platform's palette is light; our dark palette must not pass for it.
    ThemeManager::setSystemDarkProbe({});
    ThemeManager manager(m_prefs.get());
    manager.setMode(QStringLiteral("dark"));
    QCOMPARE(QApplication::palette().color(QPalette::Window), DarkCanvas);

    QVERIFY(!ThemeManager::systemPrefersDark());
    QCOMPARE(QApplication::palette().color(QPalette::Window), DarkCanvas);
    QCOMPARE(QApplication::palette().color(QPalette::ToolTipBase), Theme::textPrimary());

    manager.setMode(QStringLiteral("system"));
    QCOMPARE(Theme::canvas(), LightCanvas);
}

QTEST_MAIN(TestThemeManager)
#include "tst_ThemeManager.moc"
