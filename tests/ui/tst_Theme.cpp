#include "ui/CheckBoxText.h"
#include "ui/theme/CalendarProxyStyle.h"
#include "ui/theme/Theme.h"
#include "ui/theme/ThemeManager.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QDateEdit>
#include <QFile>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <QRegularExpression>
#include <QStyleOption>
#include <QTabBar>
#include <QTest>
#include <QTextLayout>
#include <algorithm>
#include <functional>

namespace {

using Getter = QColor (*)();

struct Token
{
    const char *name;
    Getter getter;
};

const Token kColorTokens[] = {
    {"canvas", Theme::canvas},
    {"surface", Theme::surface},
    {"surfaceMuted", Theme::surfaceMuted},
    {"border", Theme::border},
    {"borderStrong", Theme::borderStrong},
    {"textPrimary", Theme::textPrimary},
    {"textMuted", Theme::textMuted},
    {"textDisabled", Theme::textDisabled},
    {"accent", Theme::accent},
    {"accentMuted", Theme::accentMuted},
    {"danger", Theme::danger},
};

Getter getterFor(const QString &name)
{
    for (const Token &token : kColorTokens) {
        if (name == QLatin1String(token.name))
            return token.getter;
    }
    return nullptr;
}

// Makes a T from the arguments, each time it is called.
template<typename T, typename... Args> std::function<QWidget *()> made(Args... args)
{
    return [=] {
        return new T(args...);
    };
}

} // namespace

class TestTheme : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();

    void colorTokens_data();
    void colorTokens();
    void cssColor_data();
    void cssColor();
    void substitutionReplacesWholeTokensOnly_data();
    void substitutionReplacesWholeTokensOnly();
    void builtSheetHasNoTokenLeft_data();
    void builtSheetHasNoTokenLeft();
    void paletteRoles_data();
    void paletteRoles();
    void listIndicatorSheetUsesCurrentColours();
    void textReadsOnItsBackground_data();
    void textReadsOnItsBackground();
    void colorDotIcon_data();
    void colorDotIcon();
    void firstDayOfWeekReachesThePopup();
    void emptyIconFamilyKeepsThePrevious();
};

void TestTheme::cleanup()
{
    Theme::setActiveMode(0);
    Theme::setCustomAccentColor(QString());
    Theme::fontSm = 10;
    Theme::fontBody = 11;
    Theme::fontLg = 13;
}

void TestTheme::colorTokens_data()
{
    QTest::addColumn<QString>("token");
    QTest::addColumn<QColor>("light");
    QTest::addColumn<QColor>("dark");

    const auto row = [](const char *token, const char *light, const char *dark, int alpha = 255,
                        int darkAlpha = 255) {
        QColor l(QLatin1String {light});
        QColor d(QLatin1String {dark});
        l.setAlpha(alpha);
        d.setAlpha(darkAlpha);
        QTest::newRow(token) << QString::fromLatin1(token) << l << d;
    };
    row("canvas", "#f6f7f9", "#14161b");
    row("surface", "#ffffff", "#1b1e24");
    row("surfaceMuted", "#f0f1f4", "#23272f");
    row("border", "#e3e5ea", "#2c313a");
    row("borderStrong", "#c9cdd4", "#3a404b");
    row("textPrimary", "#181b22", "#e7e9ee");
    row("textMuted", "#6b707a", "#9aa0ab");
    row("textDisabled", "#a8adb6", "#5c626d");
    row("accent", "#4285f4", "#6ba1f7");
    row("accentMuted", "#4285f4", "#6ba1f7", 38, 50);
    row("danger", "#dc3545", "#e74c3c");
}

void TestTheme::colorTokens()
{
    QFETCH(QString, token);
    QFETCH(QColor, light);
    QFETCH(QColor, dark);
    const Getter getter = getterFor(token);
    QVERIFY(getter);

    Theme::setActiveMode(0);
    QCOMPARE(getter(), light);
    Theme::setActiveMode(1);
    QCOMPARE(getter(), dark);
    // Anything but 1 is light.
    Theme::setActiveMode(2);
    QCOMPARE(getter(), light);
}

void TestTheme::cssColor_data()
{
    QTest::addColumn<QColor>("color");
    QTest::addColumn<QString>("css");

    QTest::newRow("opaque is lower-case hex") << QColor(0xAB, 0xCD, 0xEF) << "#abcdef";
    QTest::newRow("alpha 38") << QColor(66, 133, 244, 38) << "rgba(66, 133, 244, 0.149)";
    QTest::newRow("alpha 50") << QColor(107, 161, 247, 50) << "rgba(107, 161, 247, 0.196)";
    QTest::newRow("transparent") << QColor(1, 2, 3, 0) << "rgba(1, 2, 3, 0.000)";
    QTest::newRow("alpha 254") << QColor(0, 0, 0, 254) << "rgba(0, 0, 0, 0.996)";
}

void TestTheme::cssColor()
{
    QFETCH(QColor, color);
    QFETCH(QString, css);
    QCOMPARE(Theme::cssColor(color), css);
}

void TestTheme::substitutionReplacesWholeTokensOnly_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("sheet");
    QTest::addColumn<QString>("expected");

    QTest::newRow("longer token after its prefix") << 0 << "a{b:@surface;c:@surfaceMuted}"
                                                   << "a{b:#ffffff;c:#f0f1f4}";
    QTest::newRow("longer token first") << 0 << "@borderStrong @border"
                                        << "#c9cdd4 #e3e5ea";
    QTest::newRow("accent pair in dark") << 1 << "@accentMuted/@accent"
                                         << "rgba(107, 161, 247, 0.196)/#6ba1f7";
    QTest::newRow("adjacent tokens") << 0 << "@spacingXs@spacingSm"
                                     << "4px8px";
    QTest::newRow("sizes and family")
        << 0 << "@radiusSm @radiusMd @radiusLg @spacingMd @spacingLg \"@sansFamily\""
        << "4px 6px 10px 12px 16px \"IBM Plex Sans\"";
    QTest::newRow("fonts") << 0 << "@fontSm @fontBody @fontLg"
                           << "10pt 11pt 13pt";
    QTest::newRow("unknown word kept") << 0 << "@surfaces @Canvas @"
                                       << "@surfaces @Canvas @";
    QTest::newRow("non-ascii text kept") << 0 << "/* Größe */ @danger"
                                         << "/* Größe */ #dc3545";
}

void TestTheme::substitutionReplacesWholeTokensOnly()
{
    QFETCH(int, mode);
    QFETCH(QString, sheet);
    QFETCH(QString, expected);
    Theme::setActiveMode(mode);
    QCOMPARE(Theme::substituteTokens(sheet), expected);
}

void TestTheme::builtSheetHasNoTokenLeft_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("accent");
    QTest::newRow("light") << 0 << QString();
    QTest::newRow("dark") << 1 << QString();
    QTest::newRow("light red accent") << 0 << "#ff0000";
    QTest::newRow("dark red accent") << 1 << "#ff0000";
}

void TestTheme::builtSheetHasNoTokenLeft()
{
    QFETCH(int, mode);
    QFETCH(QString, accent);
    Theme::setActiveMode(mode);
    Theme::setCustomAccentColor(accent);
    Theme::fontBody = 13;

    QFile file(QStringLiteral(":/styles/calendar.qss"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString raw = QString::fromUtf8(file.readAll());
    QVERIFY(raw.contains(QLatin1String("@surfaceMuted")));
    QVERIFY(raw.contains(QLatin1String("@borderStrong")));
    QVERIFY(raw.contains(QLatin1String("@accentMuted")));

    const QString sheet = Theme::stylesheet();
    QVERIFY(!sheet.isEmpty());
    QVERIFY2(!sheet.contains(QLatin1Char('@')), qPrintable(sheet));
    // A half-substituted token would leave a colour followed by the rest of its name.
    static const QRegularExpression halfDone(
        QStringLiteral("(#[0-9a-f]{6}|\\))(Muted|Strong|Primary|Disabled|Sm|Md|Lg|Xs)"));
    QVERIFY2(!halfDone.match(sheet).hasMatch(), qPrintable(halfDone.match(sheet).captured()));

    QVERIFY(sheet.contains(Theme::cssColor(Theme::surfaceMuted())));
    QVERIFY(sheet.contains(Theme::cssColor(Theme::borderStrong())));
    QVERIFY(sheet.contains(Theme::cssColor(Theme::accentMuted())));
    QVERIFY(sheet.contains(QLatin1String("font-size: 13pt")));
    QVERIFY(sheet.contains(QLatin1String("\"IBM Plex Sans\"")));
}

void TestTheme::paletteRoles_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("group");
    QTest::addColumn<int>("role");
    QTest::addColumn<QString>("token");

    struct Role
    {
        const char *name;
        QPalette::ColorRole role;
        const char *token;
    };
    const Role roles[] = {
        {"Window", QPalette::Window, "canvas"},
        {"WindowText", QPalette::WindowText, "textPrimary"},
        {"Base", QPalette::Base, "surface"},
        {"AlternateBase", QPalette::AlternateBase, "surfaceMuted"},
        {"ToolTipBase", QPalette::ToolTipBase, "textPrimary"},
        {"ToolTipText", QPalette::ToolTipText, "surface"},
        {"Text", QPalette::Text, "textPrimary"},
        {"Button", QPalette::Button, "surface"},
        {"ButtonText", QPalette::ButtonText, "textPrimary"},
        {"BrightText", QPalette::BrightText, "danger"},
        {"Highlight", QPalette::Highlight, "accent"},
        {"HighlightedText", QPalette::HighlightedText, "textOnAccent"},
        {"Mid", QPalette::Mid, "border"},
        {"Light", QPalette::Light, "surface"},
        {"Dark", QPalette::Dark, "borderStrong"},
        {"PlaceholderText", QPalette::PlaceholderText, "hintText"},
    };
    const Role disabledRoles[] = {
        {"Text", QPalette::Text, "textDisabled"},
        {"ButtonText", QPalette::ButtonText, "textDisabled"},
        {"WindowText", QPalette::WindowText, "textDisabled"},
        {"Window", QPalette::Window, "canvas"},
    };
    for (int mode : {0, 1}) {
        const char *modeName = mode ? "dark" : "light";
        for (const Role &r : roles) {
            for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
                QTest::addRow("%s %s %s", modeName, r.name,
                              group == QPalette::Active ? "active" : "inactive")
                    << mode << int(group) << int(r.role) << QString::fromLatin1(r.token);
            }
        }
        for (const Role &r : disabledRoles) {
            QTest::addRow("%s %s disabled", modeName, r.name)
                << mode << int(QPalette::Disabled) << int(r.role) << QString::fromLatin1(r.token);
        }
    }
}

void TestTheme::paletteRoles()
{
    QFETCH(int, mode);
    QFETCH(int, group);
    QFETCH(int, role);
    QFETCH(QString, token);

    Theme::setActiveMode(mode);
    const QPalette palette = ThemeManager::buildPalette();
    const QBrush brush = palette.brush(QPalette::ColorGroup(group), QPalette::ColorRole(role));
    const QColor expected = token == QLatin1String("textOnAccent") ? Theme::textOnAccent()
        : token == QLatin1String("hintText")                         ? Theme::hintText()
                                                                     : getterFor(token)();
    QCOMPARE(brush.color(), expected);
    QCOMPARE(brush.style(), Qt::SolidPattern);
}

void TestTheme::listIndicatorSheetUsesCurrentColours()
{
    Theme::setActiveMode(1);
    Theme::setCustomAccentColor(QStringLiteral("#00ff00"));
    QCOMPARE(
        Theme::listIndicatorStyleSheet(),
        QStringLiteral("QListView::indicator {  width: 14px;  height: 14px;  border: 1px solid "
                       "#3a404b;  border-radius: 3px;  background: #23272f;}"
                       "QListView::indicator:checked {  background: #00ff00;  border-color: "
                       "#00ff00;}QListView::indicator:hover {  border-color: #00ff00;}"));
}

void TestTheme::textReadsOnItsBackground_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("accent");
    for (int mode : {0, 1}) {
        const char *modeName = mode ? "dark" : "light";
        QTest::addRow("%s, built-in accent", modeName) << mode << QString();
        QTest::addRow("%s, light yellow accent", modeName) << mode << "#fff59d";
        QTest::addRow("%s, dark navy accent", modeName) << mode << "#1a237e";
        QTest::addRow("%s, mid grey accent", modeName) << mode << "#777777";
    }
}

namespace {

// A push button as the style sheet paints it, with and without keyboard focus.
struct ButtonPictures
{
    QImage focused;
    QImage unfocused;
};

ButtonPictures paintButton(bool isDefault)
{
    QWidget window;
    auto *other = new QPushButton(QStringLiteral("Other"), &window);
    auto *button = new QPushButton(QStringLiteral("Save changes"), &window);
    button->setDefault(isDefault);
    button->move(0, 60);
    button->resize(160, 40);
    window.resize(200, 120);
    window.show();
    window.activateWindow();
    if (!QTest::qWaitForWindowActive(&window))
        return {};
    other->setFocus();
    ButtonPictures pictures;
    pictures.unfocused = button->grab().toImage();
    button->setFocus();
    pictures.focused = button->hasFocus() ? button->grab().toImage() : QImage();
    return pictures;
}

// A control as the style paints it, before and after it takes the focus from a button beside it.
// The focus comes without a key press, as when a dialog opens on the control.
ButtonPictures paintFocus(QWidget *control)
{
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *other = new QPushButton(QStringLiteral("Other"), &window);
    layout->addWidget(other);
    layout->addWidget(control);
    window.show();
    window.activateWindow();
    if (!QTest::qWaitForWindowActive(&window))
        return {};
    other->setFocus(Qt::OtherFocusReason);
    ButtonPictures pictures;
    pictures.unfocused = control->grab().toImage();
    control->setFocus(Qt::OtherFocusReason);
    pictures.focused = control->hasFocus() ? control->grab().toImage() : QImage();
    return pictures;
}

// How far the clearest pixel that focus changed stands out from what was there before; 0 when
// focus changed nothing.
double focusMarkContrast(const ButtonPictures &pictures)
{
    double best = 0;
    for (int y = 0; y < pictures.focused.height(); ++y) {
        for (int x = 0; x < pictures.focused.width(); ++x) {
            const QColor before = pictures.unfocused.pixelColor(x, y);
            const QColor after = pictures.focused.pixelColor(x, y);
            if (before != after)
                best = std::max(best, Theme::contrastRatio(after, before));
        }
    }
    return best;
}

// How far the ink that stands out most from the ground (the commonest colour) stands out from it.
double inkContrast(const QImage &image)
{
    QHash<QRgb, int> counts;
    for (int i = 0; i < image.width() * image.height(); ++i)
        ++counts[image.pixel(i % image.width(), i / image.width())];
    const auto ground = std::max_element(counts.keyValueBegin(), counts.keyValueEnd(),
                                         [](auto a, auto b) { return a.second < b.second; });
    double best = 1;
    for (const QRgb ink : counts.keys())
        best = std::max(best, Theme::contrastRatio(QColor(ink), QColor((*ground).first)));
    return best;
}

} // namespace

// WCAG AA asks 4.5:1 for text of the sizes the program uses, and 3:1 for a mark that is no text,
// such as the ring that shows which button has the keyboard focus.
void TestTheme::textReadsOnItsBackground()
{
    QFETCH(int, mode);
    QFETCH(QString, accent);
    Theme::setActiveMode(mode);
    Theme::setCustomAccentColor(accent);

    const auto atLeast
        = [](const char *what, const QColor &text, const QColor &background, double needed = 4.5) {
              const double ratio = Theme::contrastRatio(text, background);
              return ratio >= needed ? QString()
                                     : QStringLiteral("%1: %2 on %3 is %4:1")
                                           .arg(QLatin1String(what), text.name(), background.name())
                                           .arg(ratio, 0, 'f', 2);
          };
    QStringList faults;
    faults << atLeast("default button", Theme::textOnAccent(), Theme::accent())
           << atLeast("error on canvas", Theme::errorText(), Theme::canvas())
           << atLeast("error on surface", Theme::errorText(), Theme::surface())
           << atLeast("status bar", Theme::statusText(), Theme::surfaceMuted())
           << atLeast("hint on muted surface", Theme::hintText(), Theme::surfaceMuted());

    // The focus ring as painted: on the middle row, the edge pixels that focus changed must
    // stand out from the button's fill, and on a plain button from the ground around it too.
    qApp->setStyleSheet(Theme::stylesheet());
    for (const bool isDefault : {false, true}) {
        const char *what = isDefault ? "focus on default button" : "focus on button";
        const ButtonPictures pictures = paintButton(isDefault);
        QVERIFY2(!pictures.focused.isNull(), what);
        const int row = pictures.focused.height() / 2;
        const QColor fill = pictures.unfocused.pixelColor(8, row);
        double best = 0;
        QColor mark;
        for (int x = 0; x < 4; ++x) {
            const QColor pixel = pictures.focused.pixelColor(x, row);
            if (pixel == pictures.unfocused.pixelColor(x, row))
                continue;
            if (Theme::contrastRatio(pixel, fill) > best) {
                best = Theme::contrastRatio(pixel, fill);
                mark = pixel;
            }
        }
        if (!mark.isValid()) {
            faults << QStringLiteral("%1: no mark").arg(QLatin1String(what));
            continue;
        }
        faults << atLeast(what, mark, fill, 3.0);
        if (!isDefault)
            faults << atLeast(what, mark, Theme::canvas(), 3.0);
    }

    // Every other control that takes the focus, in the program's style.
    QApplication::setStyle(new CalendarProxyStyle);
    QApplication::setPalette(ThemeManager::buildPalette());
    qApp->setStyleSheet(Theme::stylesheet());
    const auto list = [] {
        auto *view = new QListWidget;
        view->addItems({QStringLiteral("Personal"), QStringLiteral("Work")});
        view->setCurrentRow(0);
        return view;
    };
    const auto tree = [] {
        auto *view = new QTreeWidget;
        view->setHeaderHidden(true);
        view->addTopLevelItem(new QTreeWidgetItem({QStringLiteral("On This Device")}));
        view->addTopLevelItem(new QTreeWidgetItem({QStringLiteral("Team server")}));
        view->setCurrentItem(view->topLevelItem(0));
        return view;
    };
    // ring: how wide the mark must be, where the control draws one round its edge.
    const struct
    {
        const char *what;
        std::function<QWidget *()> make;
        int ring = 0;
    } controls[] = {
        {"focus on check box", made<QCheckBox>(QStringLiteral("Enable weather"))},
        {"focus on radio button", made<QRadioButton>(QStringLiteral("Everyone"))},
        {"focus on field", made<QLineEdit>(QStringLiteral("Springfield")), 2},
        {"focus on date field", made<QDateEdit>(QDate(2026, 12, 10)), 2},
        {"focus on tool button",
         [] {
             auto *ground = new QWidget; // the window's, as a raised button has none of its own
             ground->setAutoFillBackground(true);
             auto *gear = new QToolButton(ground);
             gear->setAutoRaise(true);
             ground->setFocusProxy(gear);
             ground->setMinimumSize(gear->sizeHint());
             return ground;
         }},
        {"focus on ticked check box", // its text wrapped beside it
         [] {
             auto *box = new QCheckBox(QStringLiteral("Close to the system tray"));
             box->setChecked(true);
             QWidget *row = CheckBoxText::wrapped(box);
             row->setFocusProxy(box);
             return row;
         }},
        {"focus on list row", list},
        {"focus on tree row", tree},
    };
    for (const auto &control : controls) {
        const ButtonPictures pictures = paintFocus(control.make());
        QVERIFY2(!pictures.focused.isNull(), control.what);
        const double ratio = focusMarkContrast(pictures);
        if (ratio < 3.0)
            faults << QStringLiteral("%1: %2:1")
                          .arg(QLatin1String(control.what))
                          .arg(ratio, 0, 'f', 2);
        const int row = pictures.focused.height() / 2;
        int ring = 0;
        while (ring < control.ring
               && pictures.focused.pixelColor(ring, row) != pictures.unfocused.pixelColor(ring, row))
            ++ring;
        if (ring < control.ring)
            faults << QStringLiteral("%1: a %2 px ring").arg(QLatin1String(control.what)).arg(ring);
    }
    // A button's one ring is its edge: inside it, focus changes nothing, nor crosses the text.
    const ButtonPictures button = paintButton(false);
    QVERIFY(!button.focused.isNull());
    int inside = 0;
    for (int y = 4; y < button.focused.height() - 4; ++y)
        for (int x = 4; x < button.focused.width() - 4; ++x)
            inside += button.focused.pixel(x, y) != button.unfocused.pixel(x, y);
    if (inside > 0)
        faults << QStringLiteral("focus on button: %1 pixels changed inside its ring").arg(inside);
    // The tick on a ticked box's accent fill, inside the box's edge.
    QCheckBox ticked;
    ticked.setChecked(true);
    ticked.resize(ticked.sizeHint());
    QStyleOptionButton option;
    option.initFrom(&ticked);
    const QRect indicator
        = ticked.style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, &ticked);
    const double tick = inkContrast(ticked.grab(indicator.adjusted(4, 4, -4, -4)).toImage());
    if (tick < 3.0)
        faults << QStringLiteral("tick on ticked check box: %1:1").arg(tick, 0, 'f', 2);
    // A tab's mark goes round its text, not through its first and last letters.
    auto *tabs = new QTabBar;
    tabs->addTab(QStringLiteral("IBM Plex"));
    tabs->addTab(QStringLiteral("Material Icons"));
    const ButtonPictures tabPictures = paintFocus(tabs);
    QVERIFY(!tabPictures.focused.isNull());
    const QColor ground = tabPictures.unfocused.pixelColor(0, 0);
    // Above the underline of the current tab.
    const QRect tab = tabPictures.unfocused.rect().adjusted(0, 0, 0, -4);
    int crossed = 0;
    for (int y = tab.top(); y <= tab.bottom(); ++y) {
        for (int x = tab.left(); x <= tab.right(); ++x) {
            const QColor ink = tabPictures.unfocused.pixelColor(x, y);
            if (ink != ground && tabPictures.focused.pixelColor(x, y) != ink)
                ++crossed;
        }
    }
    if (crossed > 0)
        faults
            << QStringLiteral("focus on tab: the mark covers %1 pixels of its text").arg(crossed);

    // Texts as drawn, the style sheet over the palette: inside each frame, the ink on its ground.
    // Below them, a wrapped check box that Tab reaches comes whole into view.
    auto *body = new QWidget;
    auto *column = new QVBoxLayout(body);
    auto *placeholder = new QLineEdit;
    placeholder->setPlaceholderText(QStringLiteral("City name"));
    auto *muted = new QLabel(QStringLiteral("No location set."));
    muted->setProperty("muted", true);
    const QList<QWidget *> texts {placeholder, muted, new QLabel(QStringLiteral("Location")),
                                  new QLineEdit(QStringLiteral("Springfield")),
                                  new QPushButton(QStringLiteral("Search"))};
    for (QWidget *text : texts)
        column->addWidget(text);
    auto *before = new QLineEdit; // holds the focus and its caret
    auto *box = new QCheckBox(QStringLiteral("Keep running in the system tray when the window is "
                                             "closed, so that reminders still come on time and a "
                                             "quick add from the tray finds the program awake"));
    QWidget *wrapped = CheckBoxText::wrapped(box);
    column->addWidget(before);
    column->addSpacing(400);
    column->addWidget(wrapped);
    // A Japanese text wraps between words, not inside the katakana of one.
    auto *tray = new QCheckBox(QStringLiteral("ウィンドウを閉じるときにシステムトレイに格納"));
    column->addWidget(CheckBoxText::wrapped(tray));
    QScrollArea area;
    area.setWidget(body);
    area.resize(220, 300);
    area.setWidgetResizable(true);
    area.show();
    QVERIFY(QTest::qWaitForWindowExposed(&area));
    before->setFocus();
    const auto inView = [&area](const QWidget *w) {
        return area.viewport()->rect().intersected(
            QRect(w->mapTo(area.viewport(), QPoint()), w->size()));
    };
    for (const QWidget *text : texts) {
        const double ratio
            = inkContrast(area.viewport()->grab(inView(text).adjusted(3, 3, -3, -3)).toImage());
        if (ratio < 4.5)
            faults
                << QStringLiteral("text %1: %2:1").arg(texts.indexOf(text)).arg(ratio, 0, 'f', 2);
    }
    const QString trayText = body->findChildren<QLabel *>().constLast()->text();
    const int wordAt = int(QString(trayText).remove(QChar(0x2060)).indexOf(u"システムトレイ"));
    QTextLayout lines(trayText, box->font());
    lines.beginLayout();
    for (QTextLine line = lines.createLine(); line.isValid(); line = lines.createLine()) {
        line.setLineWidth(body->findChildren<QLabel *>().constLast()->contentsRect().width());
        const int at = int(trayText.left(line.textStart()).remove(QChar(0x2060)).size());
        if (at > wordAt && at < wordAt + 7)
            faults << QStringLiteral("Japanese check box: a line starts inside a word");
    }
    lines.endLayout();
    QVERIFY(lines.lineCount() > 1);
    QTest::keyClick(before, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), box);
    if (inView(wrapped).height() < wrapped->height())
        faults << QStringLiteral("wrapped check box: %1 of %2 px in view")
                      .arg(inView(wrapped).height())
                      .arg(wrapped->height());

    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setPalette(QPalette());
    qApp->setStyleSheet(QString());
    faults.removeAll(QString());
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1String("; "))));

    // The default button paints its text in that colour, not a fixed one.
    static const QRegularExpression defaultRule(
        QStringLiteral("QPushButton:default \\{[^}]*\\scolor: ([^;]+);"));
    const QRegularExpressionMatch rule = defaultRule.match(Theme::stylesheet());
    QVERIFY(rule.hasMatch());
    QCOMPARE(rule.captured(1), Theme::cssColor(Theme::textOnAccent()));
    // So does the status bar.
    static const QRegularExpression statusRule(
        QStringLiteral("QStatusBar \\{[^}]*\\scolor: ([^;]+);"));
    const QRegularExpressionMatch status = statusRule.match(Theme::stylesheet());
    QVERIFY(status.hasMatch());
    QCOMPARE(status.captured(1), Theme::cssColor(Theme::statusText()));
    // And muted labels, the hints among them.
    static const QRegularExpression hintRule(
        QStringLiteral("QLabel\\[muted=\"true\"\\] \\{[^}]*\\scolor: ([^;]+);"));
    const QRegularExpressionMatch hint = hintRule.match(Theme::stylesheet());
    QVERIFY(hint.hasMatch());
    QCOMPARE(hint.captured(1), Theme::cssColor(Theme::hintText()));
}

void TestTheme::colorDotIcon_data()
{
    QTest::addColumn<QString>("color");
    QTest::addColumn<QColor>("expected");
    QTest::newRow("named colour") << "#e67c73" << QColor(0xe6, 0x7c, 0x73);
    QTest::newRow("invalid is grey") << "nonsense" << QColor(0x9a, 0xa0, 0xa6);
    QTest::newRow("empty is grey") << "" << QColor(0x9a, 0xa0, 0xa6);
}

void TestTheme::colorDotIcon()
{
    QFETCH(QString, color);
    QFETCH(QColor, expected);
    const QIcon icon = Theme::colorDotIcon(color);
    const QImage image = icon.pixmap(QSize(14, 14), 1.0).toImage();
    QCOMPARE(image.size(), QSize(14, 14));
    QCOMPARE(image.pixelColor(7, 7), expected);
    QCOMPARE(image.pixelColor(0, 0).alpha(), 0);
    QCOMPARE(image.pixelColor(13, 7).alpha(), 0);
}

void TestTheme::firstDayOfWeekReachesThePopup()
{
    QDateEdit edit;
    edit.setCalendarPopup(true);
    Theme::applyFirstDayOfWeek(&edit, Qt::Wednesday);
    QVERIFY(edit.calendarWidget());
    QCOMPARE(edit.calendarWidget()->firstDayOfWeek(), Qt::Wednesday);
    Theme::applyFirstDayOfWeek(nullptr, Qt::Monday); // nothing to do, no crash
}

void TestTheme::emptyIconFamilyKeepsThePrevious()
{
    QCOMPARE(Theme::iconFontFamily(), QStringLiteral("Material Icons"));
    Theme::setIconFontFamily(QString());
    QCOMPARE(Theme::iconFontFamily(), QStringLiteral("Material Icons"));
    Theme::setIconFontFamily(QStringLiteral("Other Icons"));
    Theme::setIconFontFamily(QStringLiteral(""));
    QCOMPARE(Theme::iconFontFamily(), QStringLiteral("Other Icons"));
    Theme::setIconFontFamily(QStringLiteral("Material Icons"));
}

QTEST_MAIN(TestTheme)
#include "tst_Theme.moc"
