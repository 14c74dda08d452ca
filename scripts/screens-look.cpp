// Renders the account screen's pages, the share dialog, the weather settings, the preferences
// and a prompt with the program's own widgets, fed by a fake cloud service on loopback, for
// scripts/screens-look to photograph. Also reports any label or button narrower or lower than
// its text needs ("CLIPPED" lines).
//
// Arguments: <output folder> <light|dark> <font scale percent> <language>

#include "app/ServiceWiring.h"
#include "core/AppState.h"
#include "services/account/AuthClient.h"
#include "services/account/Client.h"
#include "services/account/TokenManager.h"
#include "support/FakeHttpServer.h"
#include "ui/account/AccountScreen.h"
#include "ui/account/ShareMembersDialog.h"
#include "ui/dialogs/AccountsCalendarsDialog.h"
#include "ui/dialogs/PreferencesDialog.h"
#include "ui/dialogs/WeatherSettingsDialog.h"
#include "ui/theme/Theme.h"
#include "ui/theme/ThemeManager.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFontDatabase>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTranslator>
#include <QTreeWidget>

#include <cstdio>

using LarkTest::FakeReply;

namespace {

QString g_out;
QString g_suffix;

void wait(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void reportClipping(QWidget *window, const QString &name)
{
    const auto widgets = window->findChildren<QWidget *>();
    for (const QWidget *w : widgets) {
        if (!w->isVisible())
            continue;
        QString text;
        bool clipped = false;
        if (const auto *label = qobject_cast<const QLabel *>(w)) {
            text = label->text();
            if (text.isEmpty())
                continue;
            clipped = label->wordWrap()
                ? label->height() + 1 < label->heightForWidth(label->width())
                : label->width() + 1 < label->sizeHint().width()
                    || label->height() + 1 < label->sizeHint().height();
        } else if (const auto *button = qobject_cast<const QAbstractButton *>(w)) {
            text = button->text();
            if (text.isEmpty())
                continue;
            clipped = button->width() + 1 < button->sizeHint().width()
                || button->height() + 1 < button->sizeHint().height();
        }
        if (clipped)
            std::printf("CLIPPED %s: %s \"%s\" %dx%d, needs %dx%d\n", qPrintable(name),
                        w->metaObject()->className(), qPrintable(text), w->width(), w->height(),
                        w->sizeHint().width(), w->sizeHint().height());
    }
}

void shoot(QWidget *window, const QString &name)
{
    window->show();
    window->raise();
    wait(400);
    reportClipping(window, name);
    const QString file = QDir(g_out).filePath(name + g_suffix + QStringLiteral(".png"));
    if (!window->grab().save(file))
        std::fprintf(stderr, "screens-look: cannot write %s\n", qPrintable(file));
}

QString jwt(const QJsonObject &payload)
{
    const auto part = [](const QByteArray &bytes) {
        return bytes.toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals);
    };
    return QString::fromLatin1(part("{\"alg\":\"none\"}") + '.'
                               + part(QJsonDocument(payload).toJson(QJsonDocument::Compact))
                               + ".c2ln");
}

FakeReply json(const QByteArray &body)
{
    return FakeReply::text(200, body, "application/json");
}

void serveAccount(LarkTest::FakeHttpServer &server)
{
    const QString auth = QStringLiteral("/api/v1/realms/lark");
    const QString account = QStringLiteral("/account/v1");
    server.route(
        "GET", auth + QStringLiteral("/users/me"),
        json(R"j({"id": "u1", "email": "ann.lee@example.com", "display_name": "Ann Lee"})j"));
    server.route("GET", auth + QStringLiteral("/users/me/sessions"), json(R"j({"sessions": [
        {"id": "s1", "user_agent": "Larkspindle Calendar/1.3.4 (Windows 11)", "ip_address": "203.0.113.7", "is_current": true},
        {"id": "s2", "user_agent": "Mozilla/5.0 (X11; Linux x86_64) AppleWebKit/537.36 (KHTML, like Gecko) Chrome/120.0 Safari/537.36", "ip_address": "198.51.100.23", "last_active_at": "2026-03-01T08:00:00Z"}]})j"));
    server.route("GET", account + QStringLiteral("/devices"), json(R"j({"devices": [
        {"id": "d1", "device_name": "Ann's <b>Laptop</b>", "platform": "windows", "app_version": "1.3.4", "last_sync_at": "2026-02-27T10:00:00Z"},
        {"id": "d2", "device_name": "", "platform": "linux", "app_version": ""}]})j"));
    server.route("GET", account + QStringLiteral("/profile"), json(R"j({"id": "a-ann"})j"));
    server.route("GET", account + QStringLiteral("/group"),
                 json(R"j({"id": "g1", "name": "Lee Family", "max_seats": 5,
      "members": [
        {"account_id": "a-ann", "display_name": "Ann Lee", "email": "ann.lee@example.com", "role": "owner"},
        {"account_id": "a-bob", "display_name": "Bob Lee", "email": "bob@example.com", "role": "member"},
        {"account_id": "a-cy", "display_name": "", "email": "cy@example.com", "role": "member"}],
      "pending_invitations": [
        {"id": "i1", "invited_email": "dee@example.com"},
        {"id": "i2", "invited_email": "", "invite_code": "K7Q2-M9XD"}]})j"));
}

// Shares kept in memory: Bob already has the calendar.
class MemorySharing : public LarkAccount::SharingBackend
{
public:
    using SharingBackend::SharingBackend;
    void listMembers(const QString &,
                     std::function<void(const QList<LarkAccount::ShareMember> &)> done) override
    {
        done({{QStringLiteral("a-bob"), QStringLiteral("a-bob"), QStringLiteral("bob@example.com"),
               QStringLiteral("Bob Lee"), QStringLiteral("member"), QString()}});
    }
    void shareWith(const QString &, const QString &, const QString &,
                   std::function<void(bool, const QString &)> done) override
    {
        done(true, QString());
    }
    void removeShare(const QString &, const QString &, std::function<void(bool)> done) override
    {
        done(true);
    }
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 5) {
        std::fprintf(stderr, "usage: screens-look <folder> <light|dark> <scale> <language>\n");
        return 2;
    }
    g_out = QString::fromLocal8Bit(argv[1]);
    const QString mode = QString::fromLatin1(argv[2]);
    const int scale = QString::fromLatin1(argv[3]).toInt();
    const QString language = QString::fromLatin1(argv[4]);
    g_suffix = QStringLiteral("-%1-%2-%3").arg(language, mode).arg(scale);
    app.setOrganizationName(QStringLiteral("Larkspindle"));
    app.setApplicationName(QStringLiteral("Calendar"));

    QTranslator qt;
    QTranslator own;
    if (qt.load(QLocale(language), QStringLiteral("qtbase"), QStringLiteral("_"),
                QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qt);
    if (own.load(QStringLiteral(":/i18n/calendar_%1.qm").arg(language)))
        app.installTranslator(&own);
    QLocale::setDefault(QLocale(language));
    QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/IBMPlexSans.ttf"));
    app.setFont(QFont(Theme::uiFontFamily(), Theme::fontBody));

    LarkTest::FakeHttpServer server;
    if (!server.listen())
        return 1;
    serveAccount(server);
    server.route("GET", QStringLiteral("/v1/search"), json(R"j({"results": [
        {"name": "Springfield", "admin1": "Illinois", "country_code": "US", "latitude": 39.8, "longitude": -89.6},
        {"name": "Springfield", "admin1": "Massachusetts", "country_code": "US", "latitude": 42.1, "longitude": -72.6},
        {"name": "Springfield", "admin1": "Missouri", "country_code": "US", "latitude": 37.2, "longitude": -93.3}]})j"));
    qputenv("WEATHER_GEOCODING_URL", server.url(QStringLiteral("/v1/search")).toEncoded());

    QTemporaryDir data;
    registerAppServices();
    AppState state;
    if (!state.initialize(QDir(data.path()).filePath(QStringLiteral("calendar.db"))))
        return 1;
    state.themeManager()->applyTheme(mode);
    state.themeManager()->setFontScale(scale, false);

    LarkAccount::ClientConfig config;
    config.authUrl = server.url().toString();
    config.realm = QStringLiteral("lark");
    config.accountApiUrl = server.url(QStringLiteral("/account/v1")).toString();
    config.appId = QStringLiteral("calendar.look");
    LarkAccount::Client client(config);
    const QJsonObject claims {
        {QStringLiteral("exp"), 2000000000},
        {QStringLiteral("custom"),
         QJsonObject {{QStringLiteral("lrk"),
                       QJsonObject {{QStringLiteral("role"), QStringLiteral("owner")}}}}}};
    client.tokenManager()->setTokens(jwt(claims), QStringLiteral("r"));

    LarkAccount::AccountScreen screen(&client, nullptr);
    screen.setWindowTitle(QStringLiteral("Larkspindle Account"));
    screen.setClock([] { return QDateTime(QDate(2026, 3, 2), QTime(9, 0), Qt::UTC); });
    screen.refreshAll();
    screen.resize((QSize(640, 560) * scale / 100).expandedTo(screen.minimumSizeHint()));
    screen.show();
    wait(500);
    screen.showSuccess(
        QCoreApplication::translate("LarkAccount::AccountScreen", "Device removed."));
    const QStringList pages
        = {QStringLiteral("profile"), QStringLiteral("group"), QStringLiteral("devices"),
           QStringLiteral("security"), QStringLiteral("privacy")};
    for (int i = 0; i < pages.size(); ++i) {
        screen.pageList()->setCurrentRow(i);
        shoot(&screen, QStringLiteral("account-") + pages[i]);
    }

    // The deletion prompt, as the user sees it.
    QTimer::singleShot(300, [] {
        if (QWidget *prompt = QApplication::activeModalWidget()) {
            shoot(prompt, QStringLiteral("account-delete-prompt"));
            prompt->close();
        }
    });
    screen.findChild<QPushButton *>(QStringLiteral("deleteAccountButton"))->setEnabled(true);
    screen.findChild<QPushButton *>(QStringLiteral("deleteAccountButton"))->click();
    screen.hide();

    LarkAccount::ShareMembersDialog::Texts texts;
    texts.title = QStringLiteral("Share Calendar");
    texts.subtitle = QStringLiteral("Sharing: Family");
    texts.intro = QStringLiteral(
        "People you share with see the same events and changes you do. Sharing doesn't merge "
        "calendars; they keep their own calendar list.");
    texts.noGroupMembersHint = QStringLiteral("Add members to your group first.");
    auto *share = new LarkAccount::ShareMembersDialog(&client, new MemorySharing,
                                                      QStringLiteral("srv"), texts, nullptr);
    wait(300);
    shoot(share, QStringLiteral("share-dialog"));
    delete share;

    WeatherSettingsDialog weather(&state, nullptr);
    weather.show();
    weather.searchEdit()->setText(QStringLiteral("Springfield"));
    weather.startSearch();
    wait(500);
    shoot(&weather, QStringLiteral("weather-settings"));
    weather.hide();

    PreferencesDialog preferences(&state, nullptr);
    shoot(&preferences, QStringLiteral("preferences"));
    preferences.hide();

    // The manager with a calendar on this device selected, signed in.
    state.accountClient()->authClient()->handleAuthCallback(QUrl(
        QStringLiteral("http://127.0.0.1/cb#access_token=%1&refresh_token=r").arg(jwt(claims))));
    (void)AccountsCalendarsDialog::addLocalCalendar(&state, QStringLiteral("Family"),
                                                    QStringLiteral("#E53935"));
    AccountsCalendarsDialog accounts(&state, nullptr);
    const auto items = accounts.tree()->findItems(QStringLiteral("Family"), Qt::MatchRecursive);
    accounts.tree()->setCurrentItem(items.value(0));
    shoot(&accounts, QStringLiteral("accounts-calendars"));
    return 0;
}
