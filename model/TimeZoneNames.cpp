#include "model/TimeZoneNames.h"

#include <QFileInfo>
#include <QHash>
#include <QStringList>

namespace {

// Only plain zone names reach the zone database; anything shaped like a path does not.
// A POSIX rule also has "," "." ":" and "<>" ("CET-1CEST,M3.5.0,M10.5.0/3", "<+03>-3").
bool looksLikeZoneId(const QString &id, bool posixRule)
{
    if (id.isEmpty() || id.size() > 64 || id.startsWith(QLatin1Char('/'))
        || id.contains(QLatin1String("..")))
        return false;
    for (const QChar c : id) {
        const char16_t u = c.unicode();
        const bool ok = (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9')
            || u == '/' || u == '_' || u == '-' || u == '+'
            || (posixRule && (u == ',' || u == '.' || u == ':' || u == '<' || u == '>'));
        if (!ok)
            return false;
    }
    return true;
}

// Whether the zone database holds a zone of this name. The zone library reads any other name of
// three or more letters as a POSIX rule at offset 0, which would turn "Eastern" into UTC.
bool isZoneDatabaseName(const QByteArray &id)
{
    if (QTimeZone::isTimeZoneIdAvailable(id))
        return true;
    // Aliases and legacy names ("US/Eastern", "GMT", "CET") are files but not in the zone list.
    static const char *const roots[]
        = {"/usr/share/zoneinfo/", "/usr/lib/zoneinfo/", "/usr/share/lib/zoneinfo/"};
    for (const char *root : roots) {
        if (QFileInfo(QString::fromLatin1(root) + QString::fromUtf8(id)).isFile())
            return true;
    }
    return false;
}

bool isAsciiLetter(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z');
}

// A POSIX rule that states an offset after its zone abbreviation ("EST5", "<+03>-3").
bool isPosixRuleWithOffset(QStringView id)
{
    qsizetype letters = 0;
    if (id.startsWith(QLatin1Char('<'))) {
        letters = id.indexOf(QLatin1Char('>'));
        if (letters < 4)
            return false;
        ++letters;
    } else {
        while (letters < id.size() && isAsciiLetter(id.at(letters)))
            ++letters;
        if (letters < 3)
            return false;
    }
    qsizetype digit = letters;
    const bool signed_ = digit < id.size()
        && (id.at(digit) == QLatin1Char('+') || id.at(digit) == QLatin1Char('-'));
    if (signed_)
        ++digit;
    if (digit >= id.size() || !id.at(digit).isDigit())
        return false;
    // As a rule "UTC+1" lies west of UTC; whoever writes it as a zone name means east.
    const QStringView name = id.left(letters);
    return !(signed_
             && (name.compare(QLatin1String("UTC"), Qt::CaseInsensitive) == 0
                 || name.compare(QLatin1String("GMT"), Qt::CaseInsensitive) == 0));
}

std::optional<QTimeZone> lookUpPlainZone(const QString &id)
{
    const bool posixRule = isPosixRuleWithOffset(id);
    if (!looksLikeZoneId(id, posixRule))
        return std::nullopt;
    const QByteArray utf8 = id.toUtf8();
    QTimeZone zone(utf8);
    if (!zone.isValid() || !(posixRule || isZoneDatabaseName(utf8)))
        return std::nullopt;
    return zone;
}

std::optional<QTimeZone> lookUpZone(QString id)
{
    if (id.size() >= 2 && id.startsWith(QLatin1Char('"')) && id.endsWith(QLatin1Char('"')))
        id = id.mid(1, id.size() - 2);
    if (id.isEmpty() || id.size() > 128)
        return std::nullopt;
    const QByteArray iana = QTimeZone::windowsIdToDefaultIanaId(id.toUtf8());
    if (!iana.isEmpty()) {
        QTimeZone zone(iana);
        return zone.isValid() ? std::optional<QTimeZone>(zone) : std::nullopt;
    }
    if (!id.startsWith(QLatin1Char('/')))
        return lookUpPlainZone(id);
    // Some writers put their own path in front of the IANA name, as in
    // "/example.org/20050125_1/Europe/Berlin": the name is the longest tail that is a zone.
    const QStringList parts = id.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (qsizetype n = qMin<qsizetype>(3, parts.size()); n >= 1; --n) {
        if (auto zone = lookUpPlainZone(parts.mid(parts.size() - n).join(QLatin1Char('/'))))
            return zone;
    }
    return std::nullopt;
}

} // namespace

std::optional<QTimeZone> knownTimeZone(const QString &tzid)
{
    // Zone construction reads the zone database; a feed names the same few zones thousands of
    // times. The cache is per thread and kept small.
    thread_local QHash<QString, std::optional<QTimeZone>> cache;
    const auto it = cache.constFind(tzid);
    if (it != cache.constEnd())
        return it.value();
    if (cache.size() >= 64)
        cache.clear();
    const std::optional<QTimeZone> zone = lookUpZone(tzid);
    cache.insert(tzid, zone);
    return zone;
}
