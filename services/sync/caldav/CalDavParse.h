#pragma once

// Reading WebDAV multistatus replies. Elements are matched by namespace and local name, so a
// server may use any prefixes (or none). Only properties of a successful propstat are kept.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>

namespace CalDavParse {

// Property keys in "{namespace}name" form.
extern const QString kCurrentUserPrincipal;
extern const QString kCalendarHomeSet;
extern const QString kResourceType;
extern const QString kDisplayName;
extern const QString kCalendarColor;
extern const QString kCalendarDescription;
extern const QString kSupportedComponents;
extern const QString kCtag;
// The resource-type child that marks a calendar collection.
extern const QString kCalendarType;

// One property element of a successful propstat.
struct Property
{
    QString text; // its own text, trimmed
    QStringList hrefs; // the DAV:href elements inside it, in order
    QStringList children; // keys of its child elements (a resource type's kinds)
    QStringList compNames; // name attributes of CalDAV comp children
};

struct Response
{
    QString href;
    QHash<QString, Property> properties;
};

struct DiscoveredCalendar
{
    QString url; // absolute, resolved against the request's address
    QString displayName;
    QString color;
    QString description;
    QStringList supportedComponents = {QStringLiteral("VEVENT")};
    QString ctag;
};

// The responses of a multistatus body; nothing when the body is not well-formed XML or not a
// multistatus (error then says why).
std::optional<QList<Response>> parseMultistatus(const QByteArray &body, QString *error = nullptr);

// The first href that a property names in any response, resolved against base; empty when
// no response has one. Only http and https addresses count, here and for calendars.
QUrl firstHref(const QList<Response> &responses, const QString &propertyKey, const QUrl &base);

// The calendar collections among the responses (resource type holding a calendar).
QList<DiscoveredCalendar> calendarsIn(const QList<Response> &responses, const QUrl &base);

// parseMultistatus and calendarsIn in one step; nothing for a malformed body.
std::optional<QList<DiscoveredCalendar>> parseCalendars(const QByteArray &body, const QUrl &base);

} // namespace CalDavParse
