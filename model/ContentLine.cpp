#include "model/ContentLine.h"

#include <cstring>

namespace {

bool isDigits(QStringView s)
{
    for (const QChar c : s) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

int digitsValue(QStringView s)
{
    int v = 0;
    for (const QChar c : s)
        v = v * 10 + (c.unicode() - '0');
    return v;
}

// "yyyyMMdd", all digits, a real calendar date.
QDate readDate(QStringView s)
{
    if (s.size() != 8 || !isDigits(s))
        return {};
    return QDate(digitsValue(s.mid(0, 4)), digitsValue(s.mid(4, 2)), digitsValue(s.mid(6, 2)));
}

// "yyyyMMddTHHmmss" into its date and clock time; false when either is not valid.
bool readDateTime(QStringView s, QDate &date, QTime &time)
{
    if (s.size() != 15 || s.at(8) != QLatin1Char('T'))
        return false;
    date = readDate(s.left(8));
    const QStringView clock = s.mid(9);
    if (!date.isValid() || !isDigits(clock))
        return false;
    time = QTime(digitsValue(clock.mid(0, 2)), digitsValue(clock.mid(2, 2)),
                 digitsValue(clock.mid(4, 2)));
    return time.isValid();
}

} // namespace

// Writers put a blank after the colon now and then; only date-time values drop it, a text keeps
// what it says.
QStringView skipICalendarBlanks(QStringView value)
{
    qsizetype i = 0;
    while (i < value.size()
           && (value.at(i) == QLatin1Char(' ') || value.at(i) == QLatin1Char('\t')))
        ++i;
    return value.mid(i);
}

QStringView contentLineName(QStringView line)
{
    qsizetype end = 0;
    while (end < line.size() && line.at(end) != QLatin1Char(';')
           && line.at(end) != QLatin1Char(':'))
        ++end;
    return line.left(end);
}

QStringView UnfoldedLineCursor::physicalLine(qsizetype from, qsizetype &after) const
{
    const qsizetype lf = m_text.indexOf(QLatin1Char('\n'), from);
    QStringView part = lf < 0 ? m_text.mid(from) : m_text.mid(from, lf - from);
    if (lf >= 0 && part.endsWith(QLatin1Char('\r')))
        part.chop(1);
    after = lf < 0 ? m_text.size() + 1 : lf + 1;
    return part;
}

bool UnfoldedLineCursor::next(QStringView &line)
{
    if (m_pos > m_text.size())
        return false;
    qsizetype after = 0;
    const QStringView first = physicalLine(m_pos, after);
    bool folded = false;
    while (after <= m_text.size()) {
        qsizetype further = 0;
        const QStringView part = physicalLine(after, further);
        if (part.isEmpty()
            || (part.front() != QLatin1Char(' ') && part.front() != QLatin1Char('\t')))
            break;
        if (!folded) {
            m_folded = first.toString();
            folded = true;
        }
        m_folded.append(part.mid(1));
        after = further;
    }
    m_pos = after;
    line = folded ? QStringView(m_folded) : first;
    return true;
}

void forEachUnfoldedLine(const QString &text, const std::function<void(QStringView)> &visit)
{
    UnfoldedLineCursor lines(text);
    QStringView line;
    while (lines.next(line))
        visit(line);
}

QStringList unfoldICalendarLines(const QString &text)
{
    QStringList lines;
    forEachUnfoldedLine(text, [&lines](QStringView line) { lines.append(line.toString()); });
    return lines;
}

QByteArray unfoldICalendarBytes(QByteArray bytes)
{
    const qsizetype size = bytes.size();
    // The result is written over the input, which never grows: bytes [0, kept) are the result
    // so far, input from `copied` on is still unread. Nothing is written until a fold goes.
    char *out = nullptr;
    qsizetype kept = 0;
    qsizetype copied = 0;
    for (qsizetype lf = 0; lf + 1 < size; ++lf) {
        const char *in = bytes.constData();
        const void *found = std::memchr(in + lf, '\n', size_t(size - lf - 1));
        if (!found)
            break;
        lf = static_cast<const char *>(found) - in;
        if (in[lf + 1] != ' ' && in[lf + 1] != '\t')
            continue;
        const qsizetype fold = lf > copied && in[lf - 1] == '\r' ? lf - 1 : lf;
        const char before = fold > copied ? in[fold - 1] : (kept > 0 ? in[kept - 1] : '\n');
        // Kept where joining would make a line break of its own: after an empty line (the
        // blank that follows would start a fold again), or between a lone CR and an LF.
        if (before == '\n' || (before == '\r' && lf + 2 < size && in[lf + 2] == '\n'))
            continue;
        if (!out) {
            out = bytes.data();
            kept = copied;
        }
        std::memmove(out + kept, out + copied, size_t(fold - copied));
        kept += fold - copied;
        copied = lf + 2;
    }
    if (!out)
        return bytes;
    std::memmove(out + kept, out + copied, size_t(size - copied));
    bytes.truncate(kept + size - copied);
    return bytes;
}

QString decodeICalendarText(QByteArray bytes)
{
    return QString::fromUtf8(unfoldICalendarBytes(std::move(bytes)));
}

namespace {

bool isContinuationByte(char c)
{
    return (uchar(c) & 0xC0) == 0x80;
}

// Whether the bytes before end stop inside a multi-byte UTF-8 character.
bool endsInsideCharacter(const char *data, qsizetype end)
{
    qsizetype tail = 0;
    while (tail < 3 && end - tail > 0 && isContinuationByte(data[end - tail - 1]))
        ++tail;
    if (end - tail <= 0)
        return false;
    const uchar lead = uchar(data[end - tail - 1]);
    if (lead < 0xC0)
        return false;
    const qsizetype length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    return tail + 1 < length;
}

} // namespace

QByteArray joinFoldSplitCharactersInJson(const QByteArray &json)
{
    static const QByteArray folds[] = {"\\r\\n ", "\\r\\n\\t", "\\n ", "\\n\\t"};
    const char *const data = json.constData();
    const qsizetype size = json.size();
    QByteArray out;
    qsizetype copied = 0;
    for (qsizetype at = json.indexOf('\\'); at >= 0; at = json.indexOf('\\', at + 1)) {
        if (!endsInsideCharacter(data, at))
            continue;
        for (const QByteArray &fold : folds) {
            const qsizetype after = at + fold.size();
            if (after < size && isContinuationByte(data[after])
                && QByteArrayView(data + at, fold.size()) == fold) {
                out.append(data + copied, at - copied);
                copied = after;
                at = after - 1;
                break;
            }
        }
    }
    if (copied == 0)
        return json;
    out.append(data + copied, size - copied);
    return out;
}

ContentLine parseContentLine(const QString &line)
{
    return parseContentLine(QStringView(line));
}

qsizetype contentLineColon(QStringView line)
{
    qsizetype firstColon = -1;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
        } else if (c == QLatin1Char(':')) {
            if (!quoted)
                return i;
            if (firstColon < 0)
                firstColon = i;
        }
    }
    // An unclosed quote would otherwise swallow the value.
    return firstColon;
}

QStringList foldContentLine(const QString &line)
{
    constexpr int maxOctets = 75;
    QStringList out;
    QString part;
    int octets = 0;
    for (qsizetype i = 0; i < line.size();) {
        const char16_t c = line.at(i).unicode();
        const bool pair
            = QChar::isHighSurrogate(c) && i + 1 < line.size() && line.at(i + 1).isLowSurrogate();
        const qsizetype units = pair ? 2 : 1;
        const int size = pair ? 4 : c < 0x80 ? 1 : c < 0x800 ? 2 : 3;
        if (octets + size > maxOctets) {
            out << part;
            part = QStringLiteral(" ");
            octets = 1;
        }
        part += QStringView(line).mid(i, units);
        octets += size;
        i += units;
    }
    out << part;
    return out;
}

QStringView boundContentLine(QStringView line, qsizetype maxValue)
{
    const qsizetype colon = contentLineColon(line);
    const qsizetype valueStart = colon < 0 ? 0 : colon + 1;
    if (line.size() - valueStart <= maxValue)
        return line;
    qsizetype end = valueStart + maxValue;
    // A character outside the basic plane stays whole or goes whole.
    if (end > valueStart && line.at(end - 1).isHighSurrogate())
        --end;
    // So does an escape: an odd run of backslashes at the end would start one.
    qsizetype backslashes = 0;
    while (end - backslashes > valueStart && line.at(end - backslashes - 1) == QLatin1Char('\\'))
        ++backslashes;
    if (backslashes % 2 != 0)
        --end;
    return line.left(end);
}

ContentLine parseContentLine(QStringView line)
{
    ContentLine result;
    const qsizetype colon = contentLineColon(line);
    if (colon < 0) {
        result.name = line.toString().toUpper();
        return result;
    }
    result.value = line.mid(colon + 1).toString();

    const QStringView head = line.left(colon);
    qsizetype start = 0;
    bool first = true;
    bool quoted = false;
    for (qsizetype i = 0; i <= head.size(); ++i) {
        if (i < head.size()) {
            const QChar c = head.at(i);
            if (c == QLatin1Char('"'))
                quoted = !quoted;
            if (c != QLatin1Char(';') || quoted)
                continue;
        }
        const QStringView part = head.mid(start, i - start);
        start = i + 1;
        if (first) {
            result.name = part.toString().toUpper();
            first = false;
            continue;
        }
        const qsizetype eq = part.indexOf(QLatin1Char('='));
        if (eq > 0)
            result.params.insert(part.left(eq).toString().toUpper(), part.mid(eq + 1).toString());
    }
    return result;
}

QString paramValue(const QHash<QString, QString> &params, const QString &key,
                   const QString &defaultValue)
{
    const auto it = params.constFind(key);
    return it == params.constEnd() ? defaultValue : it.value();
}

QString unescapeICalendarText(const QString &text)
{
    if (!text.contains(QLatin1Char('\\')))
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\\') && i + 1 < text.size()) {
            const QChar n = text.at(i + 1);
            if (n == QLatin1Char(',') || n == QLatin1Char(';') || n == QLatin1Char('\\')) {
                out.append(n);
                ++i;
                continue;
            }
            if (n == QLatin1Char('n') || n == QLatin1Char('N')) {
                out.append(QLatin1Char('\n'));
                ++i;
                continue;
            }
        }
        out.append(c);
    }
    return out;
}

QString escapeICalendarText(const QString &text)
{
    QString out;
    out.reserve(text.size() + 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        switch (c.unicode()) {
        case '\\':
            out.append(QLatin1String("\\\\"));
            break;
        case ';':
            out.append(QLatin1String("\\;"));
            break;
        case ',':
            out.append(QLatin1String("\\,"));
            break;
        case '\r':
            if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            out.append(QLatin1String("\\n"));
            break;
        case '\n':
            out.append(QLatin1String("\\n"));
            break;
        default:
            out.append(c);
        }
    }
    return out;
}

std::optional<ICalendarTimeFields> readICalendarTimeFields(QStringView value)
{
    QStringView v = skipICalendarBlanks(value);
    ICalendarTimeFields fields;
    if (v.size() == 8 && !v.contains(QLatin1Char('T'))) {
        fields.date = readDate(v);
        fields.time = QTime(0, 0);
        fields.dateOnly = true;
        return fields.date.isValid() ? std::optional(fields) : std::nullopt;
    }
    fields.utc = v.endsWith(QLatin1Char('Z'));
    if (fields.utc)
        v.chop(1);
    if (!readDateTime(v, fields.date, fields.time))
        return std::nullopt;
    return fields;
}
