#include "services/account/SharingBackend.h"

namespace LarkAccount {

SharingBackend::SharingBackend(QObject *parent)
    : QObject(parent)
{ }

SharingBackend::~SharingBackend() = default;

QString SharingBackend::shareUserIdForMember(const QString &accountId)
{
    return accountId;
}

} // namespace LarkAccount
