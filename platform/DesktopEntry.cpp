#include "platform/DesktopEntry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <iterator>

namespace DesktopEntry {

namespace {

const auto kGroup = QStringLiteral("[Desktop Entry]");

bool writeAtomically(const QString &path, const QByteArray &bytes)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool isGroupHeader(const QString &line)
{
    const QString t = line.trimmed();
    return t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']'));
}

QString keyOf(const QString &line)
{
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    return eq < 0 ? QString() : line.left(eq).trimmed();
}

} // namespace

QString execArgument(const QString &argument, bool forceQuotes)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    bool needsQuotes = forceQuotes || argument.isEmpty();
    for (const QChar c : argument)
        needsQuotes = needsQuotes || reserved.contains(c);

    QString out;
    out.reserve(argument.size() + 2);
    if (needsQuotes)
        out += QLatin1Char('"');
    for (const QChar c : argument) {
        if (needsQuotes
            && (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$')
                || c == QLatin1Char('\\')))
            out += QLatin1Char('\\');
        if (c == QLatin1Char('%'))
            out += QLatin1Char('%');
        out += c;
    }
    if (needsQuotes)
        out += QLatin1Char('"');
    return out;
}

// Characters written as a backslash and a letter in key file values.
constexpr struct
{
    char16_t plain;
    char16_t letter;
} kEscapes[] = {{u'\\', u'\\'}, {u'\n', u'n'}, {u'\t', u't'}, {u'\r', u'r'}, {u' ', u's'}};

QString escapeValue(const QString &value)
{
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const char16_t c = value.at(i).unicode();
        // A blank needs escaping only in front, where it would be taken for the separator.
        const auto *escape = std::find_if(std::begin(kEscapes), std::end(kEscapes), [&](auto e) {
            return e.plain == c && (c != u' ' || i == 0);
        });
        if (escape != std::end(kEscapes))
            out += QLatin1Char('\\') + QChar(escape->letter);
        else
            out += QChar(c);
    }
    return out;
}

QString unescapeValue(const QString &value)
{
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c != QLatin1Char('\\') || i + 1 == value.size()) {
            out += c;
            continue;
        }
        const char16_t next = value.at(++i).unicode();
        const auto *escape = std::find_if(std::begin(kEscapes), std::end(kEscapes),
                                          [&](auto e) { return e.letter == next; });
        out += QChar(escape != std::end(kEscapes) ? escape->plain : next);
    }
    return out;
}

bool write(const QString &path, const QList<QPair<QString, QString>> &keys)
{
    QString text = kGroup + QLatin1Char('\n');
    for (const auto &[key, value] : keys)
        text += key + QLatin1Char('=') + escapeValue(value) + QLatin1Char('\n');
    return writeAtomically(path, text.toUtf8());
}

std::optional<QHash<QString, QString>> read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QHash<QString, QString> keys;
    bool inGroup = false;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        if (isGroupHeader(line)) {
            inGroup = line.trimmed() == kGroup;
            continue;
        }
        const QString key = keyOf(line);
        if (!inGroup || key.isEmpty() || line.trimmed().startsWith(QLatin1Char('#')))
            continue;
        // The first occurrence of a key counts; later duplicates are ignored.
        if (!keys.contains(key))
            keys.insert(key, unescapeValue(line.mid(line.indexOf(QLatin1Char('=')) + 1).trimmed()));
    }
    return keys;
}

bool setDefaultApplicationIfUnset(const QString &mimeappsPath, const QString &mimeType,
                                  const QString &desktopId)
{
    QStringList lines;
    QFile file(mimeappsPath);
    if (file.exists()) {
        if (!file.open(QIODevice::ReadOnly))
            return false;
        lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
        file.close();
        if (!lines.isEmpty() && lines.constLast().isEmpty())
            lines.removeLast();
    }

    const QString group = QStringLiteral("[Default Applications]");
    qsizetype groupStart = -1;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines.at(i).trimmed() == group) {
            groupStart = i;
            break;
        }
    }
    const QString entry = mimeType + QLatin1Char('=') + desktopId + QLatin1Char(';');
    if (groupStart < 0) {
        if (!lines.isEmpty() && !lines.constLast().trimmed().isEmpty())
            lines.append(QString());
        lines.append(group);
        lines.append(entry);
    } else {
        qsizetype end = groupStart + 1;
        while (end < lines.size() && !isGroupHeader(lines.at(end)))
            ++end;
        // The user's own choice (or ours from an earlier start) stands.
        for (qsizetype i = groupStart + 1; i < end; ++i) {
            const QString &line = lines.at(i);
            if (keyOf(line) == mimeType
                && !line.mid(line.indexOf(QLatin1Char('=')) + 1).trimmed().isEmpty())
                return true;
        }
        qsizetype insertAt = end;
        while (insertAt - 1 > groupStart && lines.at(insertAt - 1).trimmed().isEmpty())
            --insertAt;
        lines.insert(insertAt, entry);
    }
    return writeAtomically(mimeappsPath,
                           (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
}

} // namespace DesktopEntry
