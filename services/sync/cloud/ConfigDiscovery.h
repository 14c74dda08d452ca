#pragma once

// Finds the calendars of accounts that a configuration pull has just brought: the bucket carries
// the connection, not the calendar list. CalDAV accounts are asked through CalDAV discovery,
// Google and Microsoft accounts through their providers' calendar lists with the tokens stored
// on this device (an account without them is marked "Sign in required"). Each account's
// discovery ends exactly once, also when it hangs (a deadline ends it), and everything it made
// goes with it.

#include "model/Records.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class AppState;

namespace Larkspindle {

// One calendar of a Google or Microsoft account, as its provider lists it.
struct ProviderCalendar
{
    QString id;
    QString name;
    QString description;
    QString color;
    bool readOnly = false;
};

// Lists the calendars of a "google" or "microsoft" account with an access token; calls done
// exactly once, with ok false and a readable reason when no list could be had. Objects it makes
// for the request are children of context.
using ProviderCalendarDone
    = std::function<void(bool ok, const QList<ProviderCalendar> &calendars, const QString &reason)>;
using ProviderCalendarLister = std::function<void(
    const QString &provider, const QString &accessToken, QObject *context, ProviderCalendarDone)>;

// The lister of the program: the providers' own calendar-list requests.
void listProviderCalendarsWithClients(const QString &provider, const QString &accessToken,
                                      QObject *context, ProviderCalendarDone done);

class ConfigDiscovery : public QObject
{
    Q_OBJECT
public:
    static constexpr int defaultTimeoutMs = 120000;

    explicit ConfigDiscovery(AppState *state, QObject *parent = nullptr);

    // How the calendars of a Google or Microsoft account are listed; the providers' own
    // requests unless replaced.
    void setProviderCalendarLister(ProviderCalendarLister lister);
    // Longest wait for one account's discovery before it ends without calendars.
    void setTimeout(int ms) { m_timeoutMs = ms; }

    // Finds the calendars of each account; done runs once, when the last has reported back.
    void run(const QStringList &accountIds, std::function<void()> done);

private:
    struct Discovery;
    struct ProviderTraits;
    using Done = std::function<void()>;

    QDateTime now() const;
    void runCalDavDiscovery(const Account &account, Done done);
    void runProviderDiscovery(const Account &account, const ProviderTraits &traits, Done done);
    void listProviderCalendars(const std::shared_ptr<Discovery> &discovery,
                               const QString &accessToken);
    void adoptProviderCalendars(const std::shared_ptr<Discovery> &discovery,
                                const QList<ProviderCalendar> &calendars);
    void setAccountSyncError(const QString &accountId, const QString &text);

    AppState *m_state;
    ProviderCalendarLister m_listProviderCalendars;
    int m_timeoutMs = defaultTimeoutMs;
};

} // namespace Larkspindle
