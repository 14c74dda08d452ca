#pragma once

// Moves a calendar that lives only on this device into the cloud calendar service: registers
// it there, uploads its events and tasks, and only when every upload was accepted turns the
// local row into a cloud calendar. Until then nothing local changes, so a failed or abandoned
// move leaves the calendar as it was.

#include "model/Records.h"

#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>

#include <memory>

class AppState;

namespace LarkAccount {
class ApiClient;
}

namespace Larkspindle {

class CalendarUpgradeService : public QObject
{
    Q_OBJECT
public:
    CalendarUpgradeService(AppState *appState, LarkAccount::ApiClient *api,
                           QObject *parent = nullptr);

    // Ends with upgradeCompleted or upgradeFailed for the calendar.
    void upgradeCalendar(const Calendar &calendar);

    // Uploads in flight at once for one move.
    static constexpr int maxParallelUploads = 4;

signals:
    void upgradeStarted(const QString &calendarId);
    // After each answered upload: done of total items.
    void upgradeProgress(const QString &calendarId, int done, int total);
    void upgradeCompleted(const QString &calendarId, const QString &serverId);
    void upgradeFailed(const QString &calendarId, const QString &reason);

private:
    struct Move;

    QString refusal(const Calendar &calendar) const;
    void onRegistered(const std::shared_ptr<Move> &move, bool ok, int status);
    void sendUploads(const std::shared_ptr<Move> &move);
    void onUploaded(const std::shared_ptr<Move> &move, int index, bool ok, int status,
                    const QString &etag);
    void finish(const std::shared_ptr<Move> &move);
    // Re-points the calendar and records the uploaded rows' identity, in one savepoint.
    bool commit(const Move &move);
    void fail(const Move &move, const QString &reason, bool removeFromServer);

    AppState *m_appState;
    QPointer<LarkAccount::ApiClient> m_api;
    QSet<QString> m_moving; // local calendar ids
};

} // namespace Larkspindle
