#pragma once

// The lexer of iCalendar text (RFC 5545) that every reader shares: unfolding, splitting a
// content line into name, parameters and value, TEXT escapes and the fields of DATE and
// DATE-TIME values. It knows no component and no zone.

#include <QByteArray>
#include <QDate>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QTime>

#include <functional>
#include <optional>

// One unfolded content line split into its parts.
struct ContentLine
{
    QString name; // upper-cased
    QHash<QString, QString> params; // upper-cased names to raw values (quotes kept)
    QString value; // everything after the separating ":", unchanged
};

// Splits at LF or CR LF and joins folded continuation lines (a leading space or tab).
[[nodiscard]] QStringList unfoldICalendarLines(const QString &text);

// Joins folded lines in the bytes, before they are decoded: writers fold at 75 octets and so
// split a multi-byte character now and then, which decoding first would turn into two
// replacement characters. The decoded result unfolds into the same lines as the decoded input
// does; bytes without a fold come back as they are.
[[nodiscard]] QByteArray unfoldICalendarBytes(QByteArray bytes);

// UTF-8 iCalendar bytes as text, folds joined first.
[[nodiscard]] QString decodeICalendarText(QByteArray bytes);

// Drops the escaped folds ("\r\n " and the like) in JSON bytes that split a multi-byte
// character of an iCalendar text carried in a JSON string, where they make the document invalid
// UTF-8; other folds are left to the reader.
[[nodiscard]] QByteArray joinFoldSplitCharactersInJson(const QByteArray &json);

// The same lines as unfoldICalendarLines, handed to visit one by one without building a list.
void forEachUnfoldedLine(const QString &text, const std::function<void(QStringView)> &visit);

// The same lines again, one per call, for readers that stop and go on later. Lines are views
// into the text; a folded line is joined in a buffer that the next call reuses.
class UnfoldedLineCursor
{
public:
    explicit UnfoldedLineCursor(QStringView text)
        : m_text(text)
    { }
    // False once every line has been handed out.
    [[nodiscard]] bool next(QStringView &line);

private:
    QStringView physicalLine(qsizetype from, qsizetype &after) const;

    QStringView m_text;
    qsizetype m_pos = 0; // past the end once done
    QString m_folded;
};

// One logical line as a writer puts it out: cut into physical lines of at most 75 octets of
// UTF-8, each after the first led by a space, never inside a character.
[[nodiscard]] QStringList foldContentLine(const QString &line);

// Splits one unfolded line. A ":" or ";" inside a double-quoted parameter value belongs to the
// value.
[[nodiscard]] ContentLine parseContentLine(const QString &line);
[[nodiscard]] ContentLine parseContentLine(QStringView line);

// Where the value of a content line begins, less one: the first ":" outside a double-quoted
// parameter value (the first ":" at all when a quote is left open); -1 when there is none.
[[nodiscard]] qsizetype contentLineColon(QStringView line);

// The line with its value cut to at most maxValue UTF-16 units, where it is longer: never
// inside a character outside the basic plane (a surrogate pair) or inside a TEXT escape.
[[nodiscard]] QStringView boundContentLine(QStringView line, qsizetype maxValue);

// The property name as written (not upper-cased), for a quick look before a full split. Equal
// to parseContentLine's name, ignoring case, whenever that name is a plain property name.
[[nodiscard]] QStringView contentLineName(QStringView line);

[[nodiscard]] QString paramValue(const QHash<QString, QString> &params, const QString &key,
                                 const QString &defaultValue = QString());

[[nodiscard]] QString unescapeICalendarText(const QString &text);

// Escapes a TEXT value so that unescapeICalendarText gives it back unchanged: backslash,
// semicolon and comma get a backslash, every line break becomes "\n".
[[nodiscard]] QString escapeICalendarText(const QString &text);

// Skips the blanks some writers put after the colon; only date-time values drop them, a text
// keeps what it says.
[[nodiscard]] QStringView skipICalendarBlanks(QStringView value);

// The fields of a DATE ("yyyyMMdd", at 00:00) or DATE-TIME ("yyyyMMddTHHmmss", "Z" for UTC)
// value, leading blanks skipped; nothing when the value is neither.
struct ICalendarTimeFields
{
    QDate date;
    QTime time;
    bool dateOnly = false;
    bool utc = false;
};
[[nodiscard]] std::optional<ICalendarTimeFields> readICalendarTimeFields(QStringView value);
