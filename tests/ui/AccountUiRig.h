#pragma once

// The account facade signed in against a fake cloud service on loopback, with recorded replies
// for the account pages and the share dialog, and scripted answers to prompts and questions.

#include "model/Clock.h"
#include "services/account/AccountTestKit.h"
#include "services/account/Client.h"
#include "services/account/TokenManager.h"
#include "support/FakeHttpServer.h"
#include "support/MemoryTokenStore.h"
#include "support/TestSupport.h"
#include "ui/MessagePresenter.h"

#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QStringList>
#include <QWidget>

#include <memory>

namespace AccountUi {

using LarkTest::FakeReply;

inline const QString authPath = QStringLiteral("/api/v1/realms/lark");
inline const QString accountPath = QStringLiteral("/account/v1");

inline QByteArray ownerGroupReply()
{
    return R"({"id": "g1", "name": "Family", "max_seats": 5,
      "members": [
        {"account_id": "a-ann", "display_name": "Ann Lee", "email": "ann@example.com", "role": "owner"},
        {"account_id": "a-bob", "display_name": "", "email": "bob@example.com", "role": "member"},
        {"account_id": "a-cy", "display_name": "<b>Cy</b>", "email": "cy@example.com", "role": "member"}],
      "pending_invitations": [
        {"id": "i1", "invited_email": "dee@example.com"},
        {"id": "i2", "invited_email": "", "invite_code": "K7Q2"}]})";
}

struct Rig
{
    LarkTest::ScopedMemoryTokenStore secrets;
    LarkTest::FakeHttpServer server;
    LarkTest::TestClock clock {QDateTime(QDate(2026, 3, 2), QTime(9, 0), Qt::UTC)};
    Clock::Override pinned {[this] {
        return clock.now();
    }};
    std::unique_ptr<LarkAccount::Client> client;

    // Signed in with the given group role in the token's claims (none when empty).
    explicit Rig(const QString &role = QString())
    {
        (void)server.listen();
        LarkAccount::ClientConfig config;
        config.authUrl = server.url().toString();
        config.realm = QStringLiteral("lark");
        config.accountApiUrl = server.url(accountPath).toString();
        config.clientId = QStringLiteral("client-1");
        config.appId = QStringLiteral("calendar.test");
        client = std::make_unique<LarkAccount::Client>(config);
        signInAs(role);
    }
    ~Rig()
    {
        MessagePresenter::setHandler({});
        MessagePresenter::setQuestionHandler({});
        MessagePresenter::setTextHandler({});
    }

    void signInAs(const QString &role)
    {
        QJsonObject lrk;
        if (!role.isEmpty())
            lrk.insert(QStringLiteral("role"), role);
        const QJsonObject extra {
            {QStringLiteral("custom"), QJsonObject {{QStringLiteral("lrk"), lrk}}}};
        client->tokenManager()->setTokens(
            AccountTest::jwtExpiring(clock.now().toSecsSinceEpoch() + 3600, extra),
            QStringLiteral("refresh-1"));
    }

    void account(const QByteArray &method, const char *path, const FakeReply &reply)
    {
        server.route(method, accountPath + QString::fromUtf8(path), reply);
    }
    void auth(const QByteArray &method, const char *path, const FakeReply &reply)
    {
        server.route(method, authPath + QString::fromUtf8(path), reply);
    }
    static FakeReply json(const QByteArray &body, int status = 200)
    {
        return FakeReply::text(status, body, "application/json");
    }
    int sent(const QByteArray &method, const QString &path) const
    {
        return int(server.requestsTo(method, path).size());
    }
};

// Answers every text prompt from the list, in order (nothing: cancelled), and every question
// with yes; records the prompts' labels and the boxes' texts.
struct Answers
{
    QList<std::optional<QString>> texts;
    bool yes = true;
    QStringList asked;
    QStringList boxes;

    Answers()
    {
        MessagePresenter::setTextHandler(
            [this](const QString &, const QString &label, bool, const QString &) {
                asked << label;
                return texts.isEmpty() ? std::nullopt : texts.takeFirst();
            });
        MessagePresenter::setQuestionHandler([this](const QString &, const QString &text) {
            asked << text;
            return yes;
        });
        MessagePresenter::setHandler([this](MessagePresenter::Kind, QWidget *, const QString &,
                                            const QString &text) { boxes << text; });
    }
};

// "a|b|c" as a list: the texts a page is expected to show, in order.
inline QStringList texts(const char *joined)
{
    return QString::fromUtf8(joined).split(QLatin1Char('|'));
}

// The texts a page shows, in layout order: labels and buttons that are not hidden.
inline QStringList shownTexts(const QWidget *page)
{
    QStringList out;
    const auto widgets = page->findChildren<QWidget *>();
    QList<const QWidget *> shown;
    for (const QWidget *w : widgets) {
        if (w->isHidden()
            || !(qobject_cast<const QLabel *>(w) || qobject_cast<const QPushButton *>(w)))
            continue;
        bool visible = true;
        for (const QWidget *p = w->parentWidget(); p && p != page; p = p->parentWidget())
            visible = visible && !p->isHidden();
        if (visible)
            shown << w;
    }
    // findChildren lists in creation order, which is layout order for these pages.
    for (const QWidget *w : shown) {
        if (const auto *l = qobject_cast<const QLabel *>(w))
            out << l->text();
        else
            out << QStringLiteral("[%1]").arg(static_cast<const QPushButton *>(w)->text());
    }
    return out;
}

} // namespace AccountUi
