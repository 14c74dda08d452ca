#pragma once

#include <QString>

namespace LarkAccount {

// The largest value any store takes, counted in UTF-8 bytes: room for provider token sets with
// long JSON Web Tokens. Larger values are refused whole rather than cut, so a stored secret is
// always the one that was given.
inline constexpr qsizetype kMaxCredentialValueBytes = 64 * 1024;

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
