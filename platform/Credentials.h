#pragma once

#include <QString>

namespace LarkAccount {

// The largest value a generic credential can hold, counted in UTF-8 bytes. Larger values are
// refused whole rather than cut, so a stored secret is always the one that was given.
inline constexpr qsizetype kMaxCredentialValueBytes = 2560;

// Every entry of every store lives under one target name: "Larkspindle/<service>/<key>".
inline QString credentialTargetName(const QString &serviceName, const QString &key)
{
    return QStringLiteral("Larkspindle/%1/%2").arg(serviceName, key);
}

inline bool credentialValueFits(const QString &value)
{
    return value.toUtf8().size() <= kMaxCredentialValueBytes;
}

} // namespace LarkAccount
