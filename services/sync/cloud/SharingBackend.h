#pragma once

// Sharing of cloud calendars with the members of the user's group, one request to the cloud
// calendar service per operation. Calendars are named by their server id (the host of their
// "larkspindle://" url).

#include "services/account/SharingBackend.h"

#include <QPointer>

namespace LarkAccount {
class ApiClient;
}

namespace Larkspindle {

class SharingBackend : public LarkAccount::SharingBackend
{
    Q_OBJECT
public:
    // Without a REST client (signed out) every operation answers at once with a failure.
    explicit SharingBackend(LarkAccount::ApiClient *api, QObject *parent = nullptr);

    void
    listMembers(const QString &calendarId,
                std::function<void(const QList<LarkAccount::ShareMember> &)> completion) override;
    void shareWith(const QString &calendarId, const QString &userId, const QString &role,
                   std::function<void(bool ok, const QString &error)> completion) override;
    void removeShare(const QString &calendarId, const QString &userId,
                     std::function<void(bool ok)> completion) override;

private:
    QPointer<LarkAccount::ApiClient> m_api;
};

} // namespace Larkspindle
