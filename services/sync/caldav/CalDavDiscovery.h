#pragma once

// Finds the calendars of a CalDAV account from the address the user gave: the principal (asked
// at that address, then at /.well-known/caldav of the same server), its calendar home, and the
// calendar collections in it. Ends in exactly one of completed or failed.

#include "services/sync/caldav/CalDavClient.h"
#include "services/sync/caldav/CalDavParse.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>

class CalDavDiscovery : public QObject
{
    Q_OBJECT
public:
    // The client is also the discovery's parent.
    explicit CalDavDiscovery(CalDavClient *client);

    // Starts at a server address; an address without a scheme is taken as https. Call once.
    void start(const QString &serverUrl);
    void start(const QUrl &serverUrl);

    // What discovery found on the way (empty until then), for the account's fields.
    QUrl principalUrl() const { return m_principal; }
    QUrl calendarHomeUrl() const { return m_home; }

signals:
    void completed(const QList<CalDavParse::DiscoveredCalendar> &calendars);
    void failed(const QString &reason);

private:
    // Each step gets the parsed responses, or null when the server answered with an HTTP error
    // that lets discovery try another way.
    using Step = void (CalDavDiscovery::*)(const CalDavClient::Response &reply,
                                           const QList<CalDavParse::Response> *responses);
    void ask(const QUrl &url, int depth, const QByteArray &body, Step next);
    void askPrincipal(const QUrl &url);
    void onPrincipal(const CalDavClient::Response &reply,
                     const QList<CalDavParse::Response> *responses);
    void onHome(const CalDavClient::Response &reply, const QList<CalDavParse::Response> *responses);
    void onCalendars(const CalDavClient::Response &reply,
                     const QList<CalDavParse::Response> *responses);
    enum class Outcome { Parsed, Missing, Failed };
    // Parsed: out holds the responses. Missing: an HTTP error that lets discovery try another
    // way. Failed: the discovery has ended (no answer, refused credentials, unreadable XML).
    Outcome read(const CalDavClient::Response &reply, QList<CalDavParse::Response> &out);
    void finish(const QString &reason, const QList<CalDavParse::DiscoveredCalendar> &found = {});
    // An href on another server than the one the discovery started at ends it: the client
    // would not send the password there, and the discovery must not look as if it worked.
    bool leavesServer(const QUrl &href);
    // The calendars on the starting server; the others are left out.
    QList<CalDavParse::DiscoveredCalendar>
    onServer(QList<CalDavParse::DiscoveredCalendar> calendars) const;

    CalDavClient *m_client;
    QUrl m_start;
    QUrl m_principal;
    QUrl m_home;
    bool m_triedWellKnown = false;
    bool m_started = false;
    bool m_finished = false;
};
