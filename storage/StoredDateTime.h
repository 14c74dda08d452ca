#pragma once

// How date-times are stored: the ISO 8601 text of the value itself (Z, an offset or no suffix
// for local time), written and read without Qt's general formatter and parser for the forms the
// store writes, since those dominate writing and reading large lists.

#include <QByteArrayView>
#include <QDateTime>
#include <QString>
#include <QVariant>

#include <optional>

namespace Sql {

// ISO 8601 text of the value itself (Z, an offset or no suffix); an invalid value is NULL.
QVariant dateTime(const QDateTime &value);
QVariant dateTime(const std::optional<QDateTime> &value);
QString isoText(const QDateTime &value);

// Parses stored ISO 8601 text; empty or NULL gives an invalid date-time.
QDateTime parseDateTime(const QVariant &value);
// Parses stored ISO 8601 text; empty or NULL gives no value.
std::optional<QDateTime> parseOptionalDateTime(const QVariant &value);
// The same for stored text as SQLite hands it out (UTF-8); empty gives an invalid date-time.
QDateTime parseUtf8DateTime(QByteArrayView text);
// The instant (ms since the epoch) of stored text that carries Z or an offset, read without
// building a date-time; none for local time and for forms the store does not write.
std::optional<qint64> parseUtf8Instant(QByteArrayView text);

// Stored date-times keep their own suffix, so range queries compare their texts against bounds
// widened by the largest UTC offsets (-12 h to +14 h) and then filter the rows exactly by
// instant.
constexpr qint64 kZoneSlackSecs = 14 * 3600;
// The UTC text of t moved by secs, without suffix, for comparing with stored texts.
QString widenedBound(const QDateTime &t, qint64 secs);

} // namespace Sql
