#pragma once

// Calendars that live on the cloud calendar service. A cloud calendar's local url is
// "larkspindle://" followed by the server's calendar id. The program makes one, once, after
// sign-in, to pull the cloud calendar list (app/ServiceWiring.cpp); the account's sync runs are
// the sync core's over CloudSyncProvider. One calendar's run (syncCalendar) is the core's
// CalendarSyncClient over that provider, asking the list for this calendar alone.

#include "core/sync/CalendarSyncClient.h"
#include "model/Records.h"

#include <QJsonObject>
#include <QString>

namespace LarkAccount {
class ApiClient;
}

namespace Larkspindle {

class SyncClient : public Sync::CalendarSyncClient
{
    Q_OBJECT
public:
    SyncClient(AppState *appState, LarkAccount::ApiClient *api, QObject *parent = nullptr);

    // Fetches the user's cloud calendars and adds a local row for each one not known yet;
    // ends with calendarListPulled (0 when the request failed).
    void pullCalendarList();

    // The server calendar id inside a cloud calendar url (or the text itself when it is no url).
    static QString serverIdFromUrl(const QString &url);

signals:
    void calendarListPulled(int newCount);

protected:
    AccountSyncRun *newRun(const Account &account, const Calendar &calendar) override;

private:
    int insertNewCalendars(const QJsonObject &body);

    AppState *m_appState;
    LarkAccount::ApiClient *m_api;
};

} // namespace Larkspindle
