#include "services/sync/caldav/CalDavDiscovery.h"

#include "services/net/RequestPolicy.h"

#include <QPointer>

#include <algorithm>

namespace {

const QByteArray kPrincipalBody = QByteArrayLiteral(
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
    "<d:propfind xmlns:d=\"DAV:\"><d:prop><d:current-user-principal/></d:prop></d:propfind>");

const QByteArray kHomeBody
    = QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                        "<d:propfind xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:caldav\">"
                        "<d:prop><c:calendar-home-set/></d:prop></d:propfind>");

const QByteArray kCalendarsBody = QByteArrayLiteral(
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
    "<d:propfind xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:caldav\" "
    "xmlns:cs=\"http://calendarserver.org/ns/\" xmlns:ic=\"http://apple.com/ns/ical/\">"
    "<d:prop><d:resourcetype/><d:displayname/><ic:calendar-color/><c:calendar-description/>"
    "<c:supported-calendar-component-set/><cs:getctag/></d:prop></d:propfind>");

const QString kWellKnownPath = QStringLiteral("/.well-known/caldav");

} // namespace

CalDavDiscovery::CalDavDiscovery(CalDavClient *client)
    : QObject(client)
    , m_client(client)
{ }

void CalDavDiscovery::start(const QString &serverUrl)
{
    QString text = serverUrl.trimmed();
    if (!text.isEmpty() && !text.contains(QLatin1String("://")))
        text.prepend(QLatin1String("https://"));
    start(QUrl(text, QUrl::StrictMode));
}

void CalDavDiscovery::start(const QUrl &serverUrl)
{
    if (m_started)
        return;
    m_started = true;
    m_start = serverUrl;
    // An unusable address fails in the client, like any other request.
    if (m_start.path().isEmpty())
        m_start.setPath(QStringLiteral("/"));
    m_triedWellKnown = m_start.path() == kWellKnownPath;
    askPrincipal(m_start);
}

void CalDavDiscovery::ask(const QUrl &url, int depth, const QByteArray &body, Step next)
{
    m_client->propfind(
        url, depth, body,
        [this, next, self = QPointer<CalDavDiscovery>(this)](const CalDavClient::Response &reply) {
            if (!self)
                return; // the discovery went while its request ran
            QList<CalDavParse::Response> responses;
            const Outcome outcome = read(reply, responses);
            if (outcome != Outcome::Failed)
                (this->*next)(reply, outcome == Outcome::Parsed ? &responses : nullptr);
        });
}

void CalDavDiscovery::askPrincipal(const QUrl &url)
{
    ask(url, 0, kPrincipalBody, &CalDavDiscovery::onPrincipal);
}

void CalDavDiscovery::onPrincipal(const CalDavClient::Response &reply,
                                  const QList<CalDavParse::Response> *responses)
{
    if (responses)
        m_principal
            = CalDavParse::firstHref(*responses, CalDavParse::kCurrentUserPrincipal, reply.url);
    if (leavesServer(m_principal))
        return;
    if (m_principal.isEmpty() && !m_triedWellKnown) {
        m_triedWellKnown = true;
        QUrl wellKnown = m_start;
        wellKnown.setPath(kWellKnownPath);
        wellKnown.setQuery(QString());
        askPrincipal(wellKnown);
        return;
    }
    // A server that names no principal is asked for the home at the given address.
    if (m_principal.isEmpty())
        m_principal = m_start;
    ask(m_principal, 0, kHomeBody, &CalDavDiscovery::onHome);
}

void CalDavDiscovery::onHome(const CalDavClient::Response &reply,
                             const QList<CalDavParse::Response> *responses)
{
    if (responses)
        m_home = CalDavParse::firstHref(*responses, CalDavParse::kCalendarHomeSet, reply.url);
    if (leavesServer(m_home))
        return;
    if (m_home.isEmpty())
        m_home = m_principal;
    ask(m_home, 1, kCalendarsBody, &CalDavDiscovery::onCalendars);
}

void CalDavDiscovery::onCalendars(const CalDavClient::Response &reply,
                                  const QList<CalDavParse::Response> *responses)
{
    if (!responses)
        finish(CalDavClient::failureReason(reply));
    else
        finish(QString(), onServer(CalDavParse::calendarsIn(*responses, reply.url)));
}

bool CalDavDiscovery::leavesServer(const QUrl &href)
{
    if (href.isEmpty() || Net::sameOrigin(href, m_start))
        return false;
    // Following it would hand the account's password to whoever the server names.
    qCWarning(lcCalDav).noquote() << "[CalDav] not following an address on another server:"
                                  << href.toDisplayString(QUrl::RemoveUserInfo | QUrl::RemovePath
                                                          | QUrl::RemoveQuery);
    finish(tr("The server pointed to another server; the password was not sent there."));
    return true;
}

QList<CalDavParse::DiscoveredCalendar>
CalDavDiscovery::onServer(QList<CalDavParse::DiscoveredCalendar> calendars) const
{
    const auto elsewhere = [this](const CalDavParse::DiscoveredCalendar &c) {
        return !Net::sameOrigin(QUrl(c.url), m_start);
    };
    const auto dropped = std::remove_if(calendars.begin(), calendars.end(), elsewhere);
    if (dropped != calendars.end())
        qCWarning(lcCalDav) << "[CalDav] left out" << std::distance(dropped, calendars.end())
                            << "calendar(s) on another server";
    calendars.erase(dropped, calendars.end());
    return calendars;
}

CalDavDiscovery::Outcome CalDavDiscovery::read(const CalDavClient::Response &reply,
                                               QList<CalDavParse::Response> &out)
{
    if (reply.status == 0 || reply.status == 401) {
        finish(CalDavClient::failureReason(reply));
        return Outcome::Failed;
    }
    if (!reply.isSuccess())
        return Outcome::Missing;
    QString error;
    std::optional<QList<CalDavParse::Response>> parsed
        = CalDavParse::parseMultistatus(reply.body, &error);
    if (!parsed) {
        qCWarning(lcCalDav).noquote()
            << "[CalDav] unreadable multistatus from"
            << reply.url.toDisplayString(QUrl::RemoveUserInfo) << ":" << error;
        finish(tr("The server's reply could not be read."));
        return Outcome::Failed;
    }
    out = std::move(*parsed);
    return Outcome::Parsed;
}

void CalDavDiscovery::finish(const QString &reason,
                             const QList<CalDavParse::DiscoveredCalendar> &found)
{
    if (m_finished)
        return;
    m_finished = true;
    if (reason.isEmpty())
        emit completed(found);
    else
        emit failed(reason);
}
