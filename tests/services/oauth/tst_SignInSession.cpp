#include "services/oauth/SignInSession.h"

#include <QTest>

using OAuth::Renewal;
using OAuth::SignInSession;

class TestSignInSession : public QObject
{
    Q_OBJECT

private slots:
    void renewsBeforeExpiryAndOnceOnRefusal();
};

// One account's requests over a run: the token is renewed before it runs out, two requests
// refused with one token share one renewal, a request refused with a token already replaced
// goes again without one (unless a renewal is under way: it waits for it), and only a refused
// renewal means signing in again.
void TestSignInSession::renewsBeforeExpiryAndOnceOnRefusal()
{
    const QDateTime now(QDate(2026, 3, 2), QTime(9, 0), Qt::UTC);
    SignInSession session(60);
    int renewals = 0;
    SignInSession::Renewed answer;
    SignInSession::Failed refuse;
    session.setRenewal([&](const QString &refreshToken, SignInSession::Renewed renewed,
                           SignInSession::Failed failed) {
        QCOMPARE(refreshToken, QStringLiteral("r1"));
        ++renewals;
        answer = std::move(renewed);
        refuse = std::move(failed);
    });
    QList<Renewal> outcomes;
    const auto note = [&outcomes](Renewal r) {
        outcomes << r;
    };

    session.setTokens({QStringLiteral("a1"), QStringLiteral("r1"), now.addSecs(61)});
    QCOMPARE(session.accessToken(now), QStringLiteral("a1"));
    QCOMPARE(session.accessToken(now.addSecs(1)), QStringLiteral("a1")); // exactly 60 s left
    QVERIFY(session.accessToken(now.addSecs(2)).isEmpty()); // 59 s left: renewed first
    QVERIFY(session.needsRenewal(now.addSecs(2)));

    session.refused(QStringLiteral("a1"), note);
    session.refused(QStringLiteral("a1"), note);
    QCOMPARE(renewals, 1);
    QVERIFY(outcomes.isEmpty());
    answer({QStringLiteral("a2"), QString(), now.addSecs(3600)});
    QCOMPARE(outcomes, QList<Renewal>({Renewal::Renewed, Renewal::Renewed}));
    QCOMPARE(session.tokens().refresh, QStringLiteral("r1")); // not rotated: kept

    session.refused(QStringLiteral("a1"), note);
    QCOMPARE(renewals, 1);
    QCOMPARE(outcomes.size(), 3);

    session.refused(QStringLiteral("a2"), note);
    QCOMPARE(renewals, 2);
    // Refused with an older token while a2 is being renewed: going again now would send a2,
    // which is refused too; it waits for the renewal instead.
    session.refused(QStringLiteral("a1"), note);
    QCOMPARE(outcomes.size(), 3);
    QCOMPARE(renewals, 2);
    refuse(true, QStringLiteral("invalid_grant"));
    QCOMPARE(outcomes.mid(3), QList<Renewal>({Renewal::Rejected, Renewal::Rejected}));
    QCOMPARE(session.failureReason(), QStringLiteral("invalid_grant"));
    QCOMPARE(session.tokens().access, QStringLiteral("a2"));
}

QTEST_GUILESS_MAIN(TestSignInSession)
#include "tst_SignInSession.moc"
