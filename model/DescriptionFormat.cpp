#include "model/DescriptionFormat.h"

#include <QRegularExpression>

namespace {

using RE = QRegularExpression;

const RE kAngleAddress(QStringLiteral("<(https?://[^>]+)>"));
const RE kManyLineFeeds(QStringLiteral("\n{3,}"));
const RE kOrganizerFooter(QStringLiteral("For organizers:[\\s\\S]*$"));
const RE kHtmlTag(QStringLiteral("<\\s*(html|body|div|p|br|table|style|meta|a)\\b"),
                  RE::CaseInsensitiveOption);
const RE
    kTeamsJoinLine(QStringLiteral("Join the meeting now<(https://teams\\.microsoft\\.com/[^>]+)>"));
const RE kTeamsHeading(QStringLiteral("^Microsoft Teams\\s*$"), RE::MultilineOption);
const RE kHelpLine(QStringLiteral("^.*Need help\\?.*$"), RE::MultilineOption);
const RE kTrailingSpace(QStringLiteral("[\\s]+$"));
const RE kUnderscoreLine(QStringLiteral("^_{3,}\\s*$"), RE::MultilineOption);
const RE kBareAddress(QStringLiteral("(https?://[^\\s<>\"]+)"), RE::CaseInsensitiveOption);

} // namespace

QString renderDescriptionHtml(const QString &description, const QString &conferenceUrl)
{
    if (!description.contains(QLatin1String("Microsoft Teams")))
        return description;

    QString text;
    text.reserve(description.size());
    qsizetype last = 0;
    QRegularExpressionMatchIterator it = kTeamsJoinLine.globalMatch(description);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        text += QStringView(description).mid(last, m.capturedStart() - last);
        if (conferenceUrl.isEmpty())
            text += QStringLiteral("<a href=\"%1\">Join Microsoft Teams Meeting</a>\n")
                        .arg(m.captured(1).toHtmlEscaped());
        last = m.capturedEnd();
    }
    text += QStringView(description).mid(last);

    text.replace(kAngleAddress, QStringLiteral("\\1"));
    text.remove(kUnderscoreLine);
    text.remove(kTeamsHeading);
    text.remove(kHelpLine);
    text.remove(kOrganizerFooter);
    text.replace(kManyLineFeeds, QStringLiteral("\n\n"));
    text.remove(kTrailingSpace);
    return text.trimmed();
}

bool looksLikeHtml(const QString &text)
{
    return kHtmlTag.match(text).hasMatch();
}

QString linkifyUrls(const QString &text, const QString &color)
{
    QString result;
    result.reserve(text.size() + 64);
    const QString style
        = color.isEmpty() ? QString() : QStringLiteral(" style=\"color:%1;\"").arg(color);
    qsizetype last = 0;
    QRegularExpressionMatchIterator it = kBareAddress.globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        const qsizetype start = m.capturedStart();
        result += QStringView(text).mid(last, start - last);
        last = m.capturedEnd();
        const QString address = m.captured(1);

        const bool inHref
            = start >= 6 && QStringView(text).mid(start - 6, 6).contains(QLatin1String("href="));
        const QStringView before2
            = start >= 2 ? QStringView(text).mid(start - 2, 2) : QStringView();
        const bool isLinkText = before2 == QLatin1String("\">") || before2 == QLatin1String("'>");
        if (inHref || isLinkText) {
            result += address;
            continue;
        }

        qsizetype keep = address.size();
        while (keep > 0 && QStringView(u".,;:!?)").contains(address.at(keep - 1)))
            --keep;
        const QString link = address.left(keep);
        result += QStringLiteral("<a href=\"%1\"%2>%1</a>").arg(link, style);
        result += QStringView(address).mid(keep);
    }
    result += QStringView(text).mid(last);
    return result;
}
