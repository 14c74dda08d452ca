#include "model/DescriptionFormat.h"
#include "model/ICalendar.h"
#include "support/TestSupport.h"

#include <QTest>

class tst_DescriptionFormat : public QObject
{
    Q_OBJECT
private slots:
    void render_data();
    void render();
    void exportedMeetingDescription();
    void looksLikeHtml_data();
    void looksLikeHtml();
    void linkify_data();
    void linkify();
};

void tst_DescriptionFormat::render_data()
{
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("conferenceUrl");
    QTest::addColumn<QString>("expected");

    const QString plain = QStringLiteral("Agenda\n\n\n\n____\n<https://example.com/x>  \n");
    QTest::newRow("other text comes back unchanged") << plain << QString() << plain;

    const QString teams = QStringLiteral(
        "Hello team\n"
        "________________________________________________________________________________\n"
        "Microsoft Teams\n"
        "Need help?<https://aka.ms/JoinTeamsMeeting>\n"
        "Join the meeting "
        "now<https://teams.microsoft.com/l/meetup-join/abc?ctx=%7b%22a%22%7d&x=1>\n"
        "Meeting ID: 123\n"
        "________________________________________________________________________________\n"
        "For organizers: Meeting options<https://teams.microsoft.com/meetingOptions/>\n");
    QTest::newRow("join line becomes a link with an escaped address")
        << teams << QString()
        << QStringLiteral(
               "Hello team\n\n"
               "<a "
               "href=\"https://teams.microsoft.com/l/meetup-join/abc?ctx=%7b%22a%22%7d&amp;x=1\">"
               "Join Microsoft Teams Meeting</a>\n\nMeeting ID: 123");
    QTest::newRow("conference address drops the join line")
        << teams << QStringLiteral("https://teams.microsoft.com/l/meetup-join/abc")
        << QStringLiteral("Hello team\n\nMeeting ID: 123");
    QTest::newRow("quote in the join address cannot leave the attribute")
        << QStringLiteral("Microsoft Teams\nJoin the meeting "
                          "now<https://teams.microsoft.com/l/\"onmouseover=\"x>")
        << QString()
        << QStringLiteral("<a href=\"https://teams.microsoft.com/l/&quot;onmouseover=&quot;x\">"
                          "Join Microsoft Teams Meeting</a>");
    QTest::newRow("other addresses lose their angle brackets")
        << QStringLiteral("Microsoft Teams meeting\nSee <http://example.com/a> or "
                          "<https://b.example>\n\n\n\nEnd \t\n")
        << QString()
        << QStringLiteral(
               "Microsoft Teams meeting\nSee http://example.com/a or https://b.example\n\nEnd");
}

void tst_DescriptionFormat::render()
{
    QFETCH(QString, description);
    QFETCH(QString, conferenceUrl);
    QTEST(renderDescriptionHtml(description, conferenceUrl), "expected");
}

void tst_DescriptionFormat::exportedMeetingDescription()
{
    const QList<Event> events = parseICalendarEvents(
        QString::fromUtf8(LarkTest::readData(QStringLiteral("ics/exchange_meeting.ics"))));
    QCOMPARE(events.size(), 1);
    const QString html = renderDescriptionHtml(events.first().description, QString());
    QCOMPARE(
        html,
        QStringLiteral(
            "<a href=\"https://teams.microsoft.com/l/meetup-join/19%3ameeting_abc%40thread.v2/"
            "0?context=%7b%22Tid%22%3a%221%22%7d&amp;x=1\">Join Microsoft Teams Meeting</a>\n\n"
            "Meeting ID: 123 456 789\nPasscode: abc123"));
    QVERIFY(::looksLikeHtml(html));
}

void tst_DescriptionFormat::looksLikeHtml_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("html");
    QTest::newRow("upper-case br") << QStringLiteral("a<BR>b") << true;
    QTest::newRow("p after a space") << QStringLiteral("< p>x") << true;
    QTest::newRow("link") << QStringLiteral("<a href=\"x\">x</a>") << true;
    QTest::newRow("pre is not p") << QStringLiteral("<pre>x</pre>") << false;
    QTest::newRow("span") << QStringLiteral("<span>x</span>") << false;
    QTest::newRow("comparison") << QStringLiteral("a < b and c > d") << false;
}

void tst_DescriptionFormat::looksLikeHtml()
{
    QFETCH(QString, text);
    QTEST(::looksLikeHtml(text), "html");
}

void tst_DescriptionFormat::linkify_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("color");
    QTest::addColumn<QString>("expected");
    QTest::newRow("full stop stays outside")
        << QStringLiteral("See https://example.com/a.") << QStringLiteral("#1a73e8")
        << QStringLiteral("See <a href=\"https://example.com/a\" style=\"color:#1a73e8;\">"
                          "https://example.com/a</a>.");
    QTest::newRow("closing bracket stays outside")
        << QStringLiteral("(wiki https://x.org/A_(b))") << QString()
        << QStringLiteral("(wiki <a href=\"https://x.org/A_(b\">https://x.org/A_(b</a>))");
    QTest::newRow("existing link untouched")
        << QStringLiteral(
               "<a href=\"https://e.com\">https://e.com</a> and <a href='http://f.com'>x</a>")
        << QString()
        << QStringLiteral(
               "<a href=\"https://e.com\">https://e.com</a> and <a href='http://f.com'>x</a>");
    QTest::newRow("capital scheme linked, ftp and bare host not")
        << QStringLiteral("HTTPS://E.COM ftp://f.com www.g.com") << QString()
        << QStringLiteral("<a href=\"HTTPS://E.COM\">HTTPS://E.COM</a> ftp://f.com www.g.com");
    QTest::newRow("stops at quote and angle bracket")
        << QStringLiteral("x http://a.b/c\"d &lt;http://e.f/g&gt;") << QString()
        << QStringLiteral("x <a href=\"http://a.b/c\">http://a.b/c</a>\"d "
                          "&lt;<a href=\"http://e.f/g&gt\">http://e.f/g&gt</a>;");
}

void tst_DescriptionFormat::linkify()
{
    QFETCH(QString, text);
    QFETCH(QString, color);
    QTEST(linkifyUrls(text, color), "expected");
}

QTEST_GUILESS_MAIN(tst_DescriptionFormat)
#include "tst_DescriptionFormat.moc"
