// Feeds arbitrary bytes, read as a cloud service reply, to every account record reader and to
// the token payload reader. Nothing may crash, and what was read must be consistent.
#include "services/account/AccountRecords.h"
#include "services/account/TokenManager.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QJsonObject object = QJsonDocument::fromJson(bytes).object();

    using namespace LarkAccount;
    (void)readUser(object);
    (void)readSession(object);
    (void)readDevice(object);
    const Profile profile = readProfile(object);
    if (profile.group.has_value() != object.contains(QLatin1String("group")))
        std::abort();
    const Group group = readGroup(object);
    if (group.members.size() != object.value(QLatin1String("members")).toArray().size())
        std::abort();
    if (group.pendingInvitations.size()
        != object.value(QLatin1String("pending_invitations")).toArray().size())
        std::abort();
    (void)readList(object, QStringLiteral("sessions"), &readSession);
    (void)readList(object, QStringLiteral("devices"), &readDevice);

    // The same bytes as a token payload.
    const QString token = QStringLiteral("h.")
        + QString::fromLatin1(bytes.toBase64(QByteArray::Base64UrlEncoding
                                             | QByteArray::OmitTrailingEquals))
        + QStringLiteral(".s");
    (void)tokenExpiry(token);
    (void)decodeClaims(token);
    (void)tokenExpiry(QString::fromUtf8(bytes));
    (void)decodeClaims(QString::fromUtf8(bytes));
    return 0;
}
