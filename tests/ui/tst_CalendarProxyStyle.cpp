#include "support/TestImages.h"
#include "ui/theme/CalendarProxyStyle.h"
#include "ui/theme/Theme.h"
#include "ui/theme/ThemeManager.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyleFactory>
#include <QStyleOption>
#include <QTableWidget>
#include <QTest>
#include <QToolTip>
#include <QVBoxLayout>

#include <memory>

namespace {

constexpr int Side = 18;

QImage drawIndicator(QStyle::PrimitiveElement element, QStyle::State state)
{
    CalendarProxyStyle style;
    QImage image(Side, Side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    QStyleOptionButton option;
    option.rect = QRect(0, 0, Side, Side);
    option.state = state;
    style.drawPrimitive(element, &option, &painter);
    painter.end();
    return image;
}

QImage drawWith(const QStyle &style, QStyle::PrimitiveElement element)
{
    QImage image(40, 24, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    QStyleOptionButton option;
    option.rect = image.rect().adjusted(2, 2, -2, -2);
    option.state = QStyle::State_Enabled | QStyle::State_On | QStyle::State_HasFocus;
    option.palette = QApplication::palette();
    style.drawPrimitive(element, &option, &painter);
    painter.end();
    return image;
}

// Fully covered pixels come out exact; allow a step of rounding in the rasteriser.
bool near(const QColor &a, const QColor &b)
{
    return qAbs(a.red() - b.red()) <= 2 && qAbs(a.green() - b.green()) <= 2
        && qAbs(a.blue() - b.blue()) <= 2 && qAbs(a.alpha() - b.alpha()) <= 2;
}

QByteArray describe(const QColor &actual, const QColor &expected)
{
    return (actual.name(QColor::HexArgb) + QStringLiteral(" instead of ")
            + expected.name(QColor::HexArgb))
        .toLatin1();
}

} // namespace

class TestCalendarProxyStyle : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void indicators_data();
    void indicators();
    void metrics_data();
    void metrics();
    void otherPrimitivesLookLikeFusion_data();
    void otherPrimitivesLookLikeFusion();
    void sampleWindow_data();
    void sampleWindow();
};

void TestCalendarProxyStyle::initTestCase()
{
    for (const char *font : {":/fonts/IBMPlexSans.ttf", ":/fonts/MaterialIcons-Regular.otf"})
        QVERIFY(QFontDatabase::addApplicationFont(QString::fromLatin1(font)) >= 0);
    QFont font(Theme::uiFontFamily());
    font.setPointSize(Theme::fontBody);
    QApplication::setFont(font);
}

void TestCalendarProxyStyle::cleanup()
{
    Theme::setActiveMode(0);
    ThemeManager::setSystemDarkProbe({});
}

void TestCalendarProxyStyle::indicators_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("element");
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("outline");
    QTest::addColumn<QString>("fill");
    QTest::addColumn<QString>("centre");

    const int check = QStyle::PE_IndicatorCheckBox;
    const int itemCheck = QStyle::PE_IndicatorItemViewItemCheck;
    const int radio = QStyle::PE_IndicatorRadioButton;
    const int enabled = QStyle::State_Enabled;
    const int on = QStyle::State_On;
    const int off = QStyle::State_Off;
    const int hover = QStyle::State_MouseOver;
    const int partial = QStyle::State_NoChange;

    // Check boxes: the centre sample sits on the tick.
    QTest::newRow("check light off") << 0 << check << (enabled | off) << "textPrimary"
                                     << "surfaceMuted"
                                     << "surfaceMuted";
    QTest::newRow("check light hover") << 0 << check << (enabled | off | hover) << "accent"
                                       << "surfaceMuted"
                                       << "surfaceMuted";
    QTest::newRow("check light on") << 0 << check << (enabled | on) << "accent"
                                    << "accent"
                                    << "white";
    // On the dark theme's light accent a white tick would stand out too little: dark text's.
    QTest::newRow("check dark on under mouse") << 1 << check << (enabled | on | hover) << "accent"
                                               << "accent"
                                               << "textOnAccent";
    QTest::newRow("check dark off") << 1 << check << (enabled | off) << "textPrimary"
                                    << "surfaceMuted"
                                    << "surfaceMuted";
    QTest::newRow("check partly is drawn off") << 0 << check << (enabled | partial) << "textPrimary"
                                               << "surfaceMuted"
                                               << "surfaceMuted";
    // Mended: a white tick on the white surface would read as unchecked.
    QTest::newRow("check disabled on light") << 0 << check << on << "textDisabled"
                                             << "surface"
                                             << "textDisabled";
    QTest::newRow("check disabled on dark") << 1 << check << on << "textDisabled"
                                            << "surface"
                                            << "textDisabled";
    QTest::newRow("check disabled off dark") << 1 << check << off << "textDisabled"
                                             << "surface"
                                             << "surface";
    QTest::newRow("item view check dark on") << 1 << itemCheck << (enabled | on) << "accent"
                                             << "accent"
                                             << "textOnAccent";
    // Radio buttons: the centre sample sits on the dot.
    QTest::newRow("radio light off") << 0 << radio << (enabled | off) << "textPrimary"
                                     << "surfaceMuted"
                                     << "surfaceMuted";
    QTest::newRow("radio light hover") << 0 << radio << (enabled | off | hover) << "accent"
                                       << "surfaceMuted"
                                       << "surfaceMuted";
    QTest::newRow("radio dark on") << 1 << radio << (enabled | on) << "accent"
                                   << "surface"
                                   << "accent";
    QTest::newRow("radio disabled on light") << 0 << radio << on << "textDisabled"
                                             << "surface"
                                             << "textDisabled";
}

void TestCalendarProxyStyle::indicators()
{
    QFETCH(int, mode);
    QFETCH(int, element);
    QFETCH(int, state);
    QFETCH(QString, outline);
    QFETCH(QString, fill);
    QFETCH(QString, centre);

    Theme::setActiveMode(mode);
    const auto token = [](const QString &name) {
        if (name == QLatin1String("white"))
            return QColor(Qt::white);
        if (name == QLatin1String("textPrimary"))
            return Theme::textPrimary();
        if (name == QLatin1String("textDisabled"))
            return Theme::textDisabled();
        if (name == QLatin1String("surface"))
            return Theme::surface();
        if (name == QLatin1String("surfaceMuted"))
            return Theme::surfaceMuted();
        if (name == QLatin1String("accent"))
            return Theme::accent();
        if (name == QLatin1String("textOnAccent"))
            return Theme::textOnAccent();
        return QColor();
    };

    const bool isRadio = element == QStyle::PE_IndicatorRadioButton;
    const QImage image = drawIndicator(QStyle::PrimitiveElement(element), QStyle::State(state));
    const QPoint outlinePoint(1, 9);
    const QPoint fillPoint = isRadio ? QPoint(9, 3) : QPoint(13, 13);
    const QPoint centrePoint = isRadio ? QPoint(9, 9) : QPoint(8, 12);

    const QColor samples[] = {image.pixelColor(outlinePoint), image.pixelColor(fillPoint),
                              image.pixelColor(centrePoint)};
    const QColor expected[] = {token(outline), token(fill), token(centre)};
    for (int i = 0; i < 3; ++i)
        QVERIFY2(near(samples[i], expected[i]), describe(samples[i], expected[i]).constData());
    // Nothing is painted outside the 18-pixel square's inscribed shape corners.
    QCOMPARE(image.pixelColor(0, 0).alpha(), 0);
}

void TestCalendarProxyStyle::metrics_data()
{
    QTest::addColumn<int>("metric");
    QTest::addColumn<bool>("fixed");
    QTest::newRow("indicator width") << int(QStyle::PM_IndicatorWidth) << true;
    QTest::newRow("indicator height") << int(QStyle::PM_IndicatorHeight) << true;
    QTest::newRow("radio width") << int(QStyle::PM_ExclusiveIndicatorWidth) << true;
    QTest::newRow("radio height") << int(QStyle::PM_ExclusiveIndicatorHeight) << true;
    QTest::newRow("button margin") << int(QStyle::PM_ButtonMargin) << false;
    QTest::newRow("scroll bar extent") << int(QStyle::PM_ScrollBarExtent) << false;
    QTest::newRow("small icon") << int(QStyle::PM_SmallIconSize) << false;
}

void TestCalendarProxyStyle::metrics()
{
    QFETCH(int, metric);
    QFETCH(bool, fixed);
    CalendarProxyStyle proxy;
    std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
    QVERIFY(fusion);
    const auto m = QStyle::PixelMetric(metric);
    QCOMPARE(proxy.pixelMetric(m), fixed ? 18 : fusion->pixelMetric(m));
    if (fixed)
        QVERIFY(fusion->pixelMetric(m) != 18);
}

void TestCalendarProxyStyle::otherPrimitivesLookLikeFusion_data()
{
    QTest::addColumn<int>("element");
    QTest::newRow("group box frame") << int(QStyle::PE_FrameGroupBox);
    QTest::newRow("arrow down") << int(QStyle::PE_IndicatorArrowDown);
    QTest::newRow("button panel") << int(QStyle::PE_PanelButtonCommand);
    QTest::newRow("menu check mark") << int(QStyle::PE_IndicatorMenuCheckMark);
    QTest::newRow("line edit frame") << int(QStyle::PE_FrameLineEdit);
}

void TestCalendarProxyStyle::otherPrimitivesLookLikeFusion()
{
    QFETCH(int, element);
    CalendarProxyStyle proxy;
    std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
    const auto e = QStyle::PrimitiveElement(element);
    const QImage mine = drawWith(proxy, e);
    const QImage theirs = drawWith(*fusion, e);
    QVERIFY(LarkTest::countPixels(theirs, QColor(Qt::transparent))
            < theirs.width() * theirs.height());
    QCOMPARE(mine, theirs);
}

void TestCalendarProxyStyle::sampleWindow_data()
{
    QTest::addColumn<QString>("mode");
    QTest::newRow("light") << "light";
    QTest::newRow("dark") << "dark";
}

// The whole stack together: proxy style beneath the style sheet, palette, tooltip. Set
// LARK_THEME_SAMPLE_DIR to keep the rendered window as PNG files for a look.
void TestCalendarProxyStyle::sampleWindow()
{
    QFETCH(QString, mode);
    ThemeManager manager(nullptr);
    manager.applyTheme(mode);

    QWidget window;
    window.setWindowTitle(QStringLiteral("Theme sample"));
    auto *layout = new QHBoxLayout(&window);
    auto *left = new QVBoxLayout;
    auto *right = new QVBoxLayout;
    layout->addLayout(left);
    layout->addLayout(right);

    auto *title = new QLabel(QStringLiteral("Theme sample"));
    auto *muted = new QLabel(QStringLiteral("A muted label"));
    muted->setProperty("muted", true);
    auto *checked = new QCheckBox(QStringLiteral("Checked"));
    checked->setChecked(true);
    auto *unchecked = new QCheckBox(QStringLiteral("Unchecked"));
    auto *disabled = new QCheckBox(QStringLiteral("Disabled, checked"));
    disabled->setChecked(true);
    disabled->setEnabled(false);
    auto *radioOn = new QRadioButton(QStringLiteral("Radio on"));
    radioOn->setChecked(true);
    auto *radioOff = new QRadioButton(QStringLiteral("Radio off"));
    radioOff->setAutoExclusive(false);
    auto *combo = new QComboBox;
    combo->addItem(Theme::colorDotIcon(QStringLiteral("#e67c73")), QStringLiteral("Work"));
    combo->addItem(Theme::colorDotIcon(QStringLiteral("#33b679")), QStringLiteral("Home"));
    auto *spin = new QSpinBox;
    spin->setValue(15);
    auto *date = new QDateEdit(QDate(2024, 1, 10));
    date->setCalendarPopup(true);
    for (QWidget *w : std::initializer_list<QWidget *> {title, muted, checked, unchecked, disabled,
                                                        radioOn, radioOff, combo, spin, date})
        left->addWidget(w);

    auto *list = new QListWidget;
    for (const char *name : {"Personal", "Holidays", "Birthdays"}) {
        auto *item = new QListWidgetItem(QString::fromLatin1(name), list);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(list->count() == 2 ? Qt::Unchecked : Qt::Checked);
    }
    list->setCurrentRow(0);
    auto *buttons = new QHBoxLayout;
    auto *ok = new QPushButton(QStringLiteral("Save"));
    ok->setDefault(true);
    auto *cancel = new QPushButton(Theme::glyphIcon(0xe5cd, 16, Theme::textMuted()),
                                   QStringLiteral("Cancel"));
    auto *off = new QPushButton(QStringLiteral("Disabled"));
    off->setEnabled(false);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(off);
    auto *table = new QTableWidget(1, 2);
    table->setHorizontalHeaderLabels({QStringLiteral("Calendar"), QStringLiteral("Events")});
    table->setItem(0, 0, new QTableWidgetItem(QStringLiteral("Personal")));
    table->setItem(0, 1, new QTableWidgetItem(QStringLiteral("12")));
    table->verticalHeader()->hide();
    table->setMaximumHeight(70);
    right->addWidget(list);
    right->addWidget(table);
    right->addLayout(buttons);

    window.resize(520, 340);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QToolTip::showText(window.mapToGlobal(QPoint(40, 40)), QStringLiteral("A tooltip"), &window);
    QWidget *tip = nullptr;
    QTRY_VERIFY((tip = [] {
        const QList<QWidget *> tops = QApplication::topLevelWidgets();
        for (QWidget *w : tops) {
            if (w->inherits("QTipLabel") && w->isVisible())
                return w;
        }
        return static_cast<QWidget *>(nullptr);
    }()));

    const QImage windowImage = window.grab().toImage();
    const QImage tipImage = tip->grab().toImage();

    // Window ground, tooltip inverted, indicators from the proxy beneath the style sheet.
    QCOMPARE(windowImage.pixelColor(2, 2), Theme::canvas());
    QCOMPARE(tipImage.pixelColor(tipImage.width() / 2, 3), Theme::textPrimary());
    QVERIFY(LarkTest::countPixels(checked->grab().toImage(), Theme::accent()) > 20);
    QCOMPARE(LarkTest::countPixels(unchecked->grab().toImage(), Theme::accent()), 0);
    QVERIFY(LarkTest::countPixels(unchecked->grab().toImage(), Theme::textPrimary()) > 20);
    QVERIFY(LarkTest::countPixels(radioOn->grab().toImage(), Theme::accent()) > 20);
    QVERIFY(LarkTest::countPixels(disabled->grab().toImage(), Theme::textDisabled()) > 10);
    QVERIFY(LarkTest::countPixels(ok->grab().toImage(), Theme::accent()) > 100);

    const QString outDir = qEnvironmentVariable("LARK_THEME_SAMPLE_DIR");
    if (!outDir.isEmpty()) {
        QImage sheet(windowImage.width() + tipImage.width() + 30,
                     qMax(windowImage.height(), tipImage.height() + 60), QImage::Format_RGB32);
        sheet.fill(Theme::canvas());
        QPainter painter(&sheet);
        painter.drawImage(0, 0, windowImage);
        painter.drawImage(windowImage.width() + 15, 40, tipImage);
        painter.end();
        QVERIFY(QDir().mkpath(outDir));
        QVERIFY(
            sheet.save(outDir + QStringLiteral("/theme-sample-") + mode + QStringLiteral(".png")));
    }
    QToolTip::hideText();
}

QTEST_MAIN(TestCalendarProxyStyle)
#include "tst_CalendarProxyStyle.moc"
