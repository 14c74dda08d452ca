#pragma once

// Calendars that live on the cloud calendar service. A cloud calendar's local url is
// "larkspindle://" followed by the server's calendar id. The program makes one, once, after
// sign-in, to pull the cloud calendar list (app/ServiceWiring.cpp); the account's sync runs are
// the sync core's over CloudSyncProvider.

#include "model/Records.h"

#include <QJsonObject>
#include <QObject>
#include <QString>

class AppState;

namespace LarkAccount {
class ApiClient;
}

namespace Larkspindle {

class SyncClient : public QObject
{
    Q_OBJECT
public:
    SyncClient(AppState *appState, LarkAccount::ApiClient *api, QObject *parent = nullptr);

    // Fetches the user's cloud calendars and adds a local row for each one not known yet;
    // ends with calendarListPulled (0 when the request failed).
    void pullCalendarList();

    // Pulls the calendar's events and tasks changed since its cursor, then pushes its pending
    // rows; ends with calendarSyncCompleted (the live events pulled), calendarSyncFailed, or
    // calendarSyncHeld (the sync gate kept it back for the coordinator's run after the hold).
    // The client must live until then.
    void syncCalendar(const Calendar &calendar);

    // The server calendar id inside a cloud calendar url (or the text itself when it is no url).
    static QString serverIdFromUrl(const QString &url);

signals:
    void calendarSyncStarted(const QString &calendarId);
    void calendarSyncCompleted(const QString &calendarId, int eventCount);
    void calendarSyncFailed(const QString &calendarId, const QString &reason);
    void calendarSyncHeld(const QString &calendarId);
    void calendarListPulled(int newCount);

private:
    int insertNewCalendars(const QJsonObject &body);

    AppState *m_appState;
    LarkAccount::ApiClient *m_api;
};

} // namespace Larkspindle
