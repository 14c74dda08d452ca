#pragma once

// Lists, grants and removes access to one calendar on whichever service stores it. Each
// operation calls its completion exactly once, possibly before it returns.

#include <QList>
#include <QObject>
#include <QString>

#include <functional>

namespace LarkAccount {

// One person with access to a calendar.
struct ShareMember
{
    QString userId; // what shares are keyed by
    QString accountId;
    QString email;
    QString displayName;
    QString role;
    QString joinedAt; // as the service gives it
};

class SharingBackend : public QObject
{
    Q_OBJECT
public:
    explicit SharingBackend(QObject *parent = nullptr);
    ~SharingBackend() override;

    virtual void listMembers(const QString &calendarId,
                             std::function<void(const QList<ShareMember> &)> completion)
        = 0;
    virtual void shareWith(const QString &calendarId, const QString &userId, const QString &role,
                           std::function<void(bool ok, const QString &error)> completion)
        = 0;
    virtual void removeShare(const QString &calendarId, const QString &userId,
                             std::function<void(bool ok)> completion)
        = 0;
    // The user id that shares carry for a group member's account id; the same by default.
    virtual QString shareUserIdForMember(const QString &accountId);
};

} // namespace LarkAccount
