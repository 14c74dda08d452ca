#include "core/sync/CalendarIdentity.h"

#include "model/Identifiers.h"

#include <QCryptographicHash>
#include <QHash>
#include <QUrl>

#include <algorithm>

namespace {

std::optional<QString> kindOf(const QString &accountType)
{
    if (accountType == QLatin1String("caldav") || accountType == QLatin1String("icloud")
        || accountType == QLatin1String("zoho"))
        return QStringLiteral("caldav");
    if (accountType == QLatin1String("google") || accountType == QLatin1String("microsoft")
        || accountType == QLatin1String("larkspindle") || accountType == QLatin1String("webcal"))
        return accountType;
    return std::nullopt;
}

// Only the path and query of a server URL: the same collection reached through another host
// name, port or scheme is the same calendar.
QString normaliseCalDav(const QString &value)
{
    const QUrl url(value, QUrl::TolerantMode);
    if (!url.isValid() || url.scheme().isEmpty())
        return value;
    QString out = url.path(QUrl::FullyDecoded);
    if (url.hasQuery())
        out += QLatin1Char('?') + url.query(QUrl::PrettyDecoded);
    return out;
}

QString normaliseLocal(QString value)
{
    static const QLatin1String prefixes[]
        = {QLatin1String("larkspindle://"), QLatin1String("local://")};
    for (const QLatin1String &prefix : prefixes) {
        if (value.startsWith(prefix)) {
            value.remove(0, prefix.size());
            break;
        }
    }
    if (value.startsWith(QLatin1String("calendar/")))
        value.remove(0, 9);
    if (value == QLatin1String("personal") || value == kPersonalCalendarId)
        value = kPersonalCalendarId;
    return value;
}

} // namespace

std::optional<QString> calendarIdentityKey(const QString &accountType, const QString &urlOrId)
{
    const std::optional<QString> kind = kindOf(accountType);
    if (!kind)
        return std::nullopt;

    QString value = urlOrId.toLower();
    if (*kind == QLatin1String("caldav"))
        value = normaliseCalDav(value);
    else if (*kind == QLatin1String("larkspindle"))
        value = normaliseLocal(value);
    while (value.endsWith(QLatin1Char('/')))
        value.chop(1);

    const QByteArray text = (*kind + QLatin1Char(':') + value).toUtf8();
    return QString::fromLatin1(QCryptographicHash::hash(text, QCryptographicHash::Sha256).toHex());
}

bool isCalendarIdentityKey(const QString &text)
{
    if (text.size() != 64)
        return false;
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) {
        return (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            || (c >= QLatin1Char('a') && c <= QLatin1Char('f'));
    });
}

QStringList calendarKeysForIds(const QStringList &ids, const QList<Calendar> &calendars)
{
    QHash<QString, QString> keyById;
    for (const Calendar &calendar : calendars) {
        if (!calendar.canonical_key.isEmpty())
            keyById.insert(calendar.id, calendar.canonical_key);
    }
    QStringList keys;
    for (const QString &id : ids) {
        const QString key = keyById.value(id);
        if (!key.isEmpty())
            keys << key;
    }
    return keys;
}

QPair<QStringList, QStringList> resolveCalendarKeys(const QStringList &keys,
                                                    const QList<Calendar> &calendars)
{
    QHash<QString, QString> idByKey;
    for (const Calendar &calendar : calendars) {
        if (!calendar.canonical_key.isEmpty())
            idByKey.insert(calendar.canonical_key, calendar.id);
    }
    QPair<QStringList, QStringList> out;
    for (const QString &key : keys) {
        const QString id = idByKey.value(key);
        if (!id.isEmpty())
            out.first << id;
        else
            out.second << key;
    }
    return out;
}
