#include "services/sync/caldav/CalDavParse.h"

#include <QXmlStreamReader>

namespace CalDavParse {

namespace {

const QString kDav = QStringLiteral("DAV:");
const QString kCalDavNs = QStringLiteral("urn:ietf:params:xml:ns:caldav");

QString keyOf(const QXmlStreamReader &xml)
{
    return QLatin1Char('{') + xml.namespaceUri() + QLatin1Char('}') + xml.name();
}

bool isDav(const QXmlStreamReader &xml, QLatin1String name)
{
    return xml.namespaceUri() == kDav && xml.name() == name;
}

// "HTTP/1.1 200 OK" -> 200; a missing status line counts as success.
bool isSuccessStatus(const QString &line)
{
    const QString trimmed = line.trimmed();
    if (trimmed.isEmpty())
        return true;
    const QStringList parts = trimmed.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const int code = parts.size() > 1 ? parts.at(1).toInt() : 0;
    return code >= 200 && code < 300;
}

// Reads one property element up to its end tag.
Property readProperty(QXmlStreamReader &xml)
{
    Property p;
    int depth = 0;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            if (depth == 0) {
                p.children << keyOf(xml);
                const QString comp = xml.attributes().value(QLatin1String("name")).toString();
                if (xml.namespaceUri() == kCalDavNs && xml.name() == QLatin1String("comp")
                    && !comp.trimmed().isEmpty())
                    p.compNames << comp.trimmed().toUpper();
            }
            if (isDav(xml, QLatin1String("href"))) {
                p.hrefs << xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
                continue;
            }
            ++depth;
        } else if (token == QXmlStreamReader::EndElement) {
            if (depth == 0)
                break;
            --depth;
        } else if (token == QXmlStreamReader::Characters && depth == 0) {
            p.text += xml.text();
        }
    }
    p.text = p.text.trimmed();
    return p;
}

// Reads a DAV:propstat; its properties go to out only when its status is a success.
void readPropstat(QXmlStreamReader &xml, QHash<QString, Property> &out)
{
    QHash<QString, Property> props;
    QString status;
    while (xml.readNextStartElement()) {
        if (isDav(xml, QLatin1String("prop"))) {
            while (xml.readNextStartElement()) {
                const QString key = keyOf(xml);
                props.insert(key, readProperty(xml));
            }
        } else if (isDav(xml, QLatin1String("status"))) {
            status = xml.readElementText(QXmlStreamReader::IncludeChildElements);
        } else {
            xml.skipCurrentElement();
        }
    }
    if (!isSuccessStatus(status))
        return;
    for (auto it = props.cbegin(); it != props.cend(); ++it)
        out.insert(it.key(), it.value());
}

Response readResponse(QXmlStreamReader &xml)
{
    Response r;
    while (xml.readNextStartElement()) {
        if (isDav(xml, QLatin1String("href")) && r.href.isEmpty())
            r.href = xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
        else if (isDav(xml, QLatin1String("propstat")))
            readPropstat(xml, r.properties);
        else
            xml.skipCurrentElement();
    }
    return r;
}

// Only web addresses: a reply must not steer later requests (with the password) elsewhere.
QUrl resolve(const QUrl &base, const QString &href)
{
    if (href.isEmpty())
        return {};
    const QUrl url = base.resolved(QUrl(href, QUrl::TolerantMode));
    const bool web
        = url.scheme() == QLatin1String("https") || url.scheme() == QLatin1String("http");
    return url.isValid() && web && !url.host().isEmpty() ? url : QUrl();
}

} // namespace

const QString kCurrentUserPrincipal = QStringLiteral("{DAV:}current-user-principal");
const QString kCalendarHomeSet = QStringLiteral("{urn:ietf:params:xml:ns:caldav}calendar-home-set");
const QString kResourceType = QStringLiteral("{DAV:}resourcetype");
const QString kDisplayName = QStringLiteral("{DAV:}displayname");
const QString kCalendarColor = QStringLiteral("{http://apple.com/ns/ical/}calendar-color");
const QString kCalendarDescription
    = QStringLiteral("{urn:ietf:params:xml:ns:caldav}calendar-description");
const QString kSupportedComponents
    = QStringLiteral("{urn:ietf:params:xml:ns:caldav}supported-calendar-component-set");
const QString kCtag = QStringLiteral("{http://calendarserver.org/ns/}getctag");
const QString kCalendarType = QStringLiteral("{urn:ietf:params:xml:ns:caldav}calendar");

std::optional<QList<Response>> parseMultistatus(const QByteArray &body, QString *error)
{
    QXmlStreamReader xml(body);
    QList<Response> responses;
    if (!xml.readNextStartElement() || !isDav(xml, QLatin1String("multistatus"))) {
        if (error)
            *error = xml.hasError() ? xml.errorString() : QStringLiteral("not a multistatus");
        return std::nullopt;
    }
    while (xml.readNextStartElement()) {
        if (isDav(xml, QLatin1String("response")))
            responses << readResponse(xml);
        else
            xml.skipCurrentElement();
    }
    // Anything after the root but whitespace and comments is a broken document too.
    while (!xml.atEnd() && !xml.hasError())
        xml.readNext();
    if (xml.hasError()) {
        if (error)
            *error = xml.errorString();
        return std::nullopt;
    }
    return responses;
}

QUrl firstHref(const QList<Response> &responses, const QString &propertyKey, const QUrl &base)
{
    for (const Response &r : responses) {
        const auto it = r.properties.constFind(propertyKey);
        if (it == r.properties.constEnd())
            continue;
        for (const QString &href : it->hrefs) {
            const QUrl url = resolve(base, href);
            if (!url.isEmpty())
                return url;
        }
    }
    return {};
}

QList<DiscoveredCalendar> calendarsIn(const QList<Response> &responses, const QUrl &base)
{
    QList<DiscoveredCalendar> out;
    for (const Response &r : responses) {
        if (!r.properties.value(kResourceType).children.contains(kCalendarType))
            continue;
        const QUrl url = resolve(base, r.href);
        if (url.isEmpty())
            continue;
        DiscoveredCalendar c;
        c.url = url.toString(QUrl::FullyEncoded);
        c.displayName = r.properties.value(kDisplayName).text;
        c.color = r.properties.value(kCalendarColor).text;
        c.description = r.properties.value(kCalendarDescription).text;
        const QStringList comps = r.properties.value(kSupportedComponents).compNames;
        if (!comps.isEmpty())
            c.supportedComponents = comps;
        c.ctag = r.properties.value(kCtag).text;
        out << c;
    }
    return out;
}

std::optional<QList<DiscoveredCalendar>> parseCalendars(const QByteArray &body, const QUrl &base)
{
    const std::optional<QList<Response>> responses = parseMultistatus(body);
    if (!responses)
        return std::nullopt;
    return calendarsIn(*responses, base);
}

} // namespace CalDavParse
