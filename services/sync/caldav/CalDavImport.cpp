#include "services/sync/caldav/CalDavImport.h"
#include "model/Identifiers.h"

#include "core/AppState.h"
#include "core/sync/CalendarIdentity.h"
#include "services/sync/caldav/CalDavClient.h"
#include "storage/AccountRepository.h"
#include "storage/CalendarRepository.h"
#include "storage/Database.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QUuid>

namespace {

QString componentsJson(const QStringList &components)
{
    const QStringList list
        = components.isEmpty() ? QStringList {QStringLiteral("VEVENT")} : components;
    return QString::fromUtf8(
        QJsonDocument(QJsonArray::fromStringList(list)).toJson(QJsonDocument::Compact));
}

// A calendar without a display name is named after the last segment of its address.
QString nameFor(const CalDavParse::DiscoveredCalendar &found)
{
    if (!found.displayName.trimmed().isEmpty())
        return found.displayName.trimmed();
    const QStringList segments
        = QUrl(found.url).path(QUrl::FullyDecoded).split(QLatin1Char('/'), Qt::SkipEmptyParts);
    return segments.isEmpty() ? found.url : segments.last();
}

} // namespace

int importDiscoveredCalendars(AppState *state, const QString &accountId,
                              const QList<CalDavParse::DiscoveredCalendar> &calendars)
{
    if (!state || !state->calendars() || accountId.isEmpty() || calendars.isEmpty())
        return 0;
    const std::optional<Account> account = state->accounts()->byId(accountId);
    if (!account) {
        qCWarning(lcCalDav).noquote() << "[CalDav] import skipped: no account" << accountId;
        return 0;
    }
    CalendarRepository *repo = state->calendars();
    QList<Calendar> existing = repo->listByAccount(accountId);
    const QDateTime now = state->database()->currentDateTimeUtc();
    int inserted = 0;

    for (const CalDavParse::DiscoveredCalendar &found : calendars) {
        if (found.url.isEmpty())
            continue;
        const QString key = calendarIdentityKey(account->type, found.url).value_or(QString());
        auto match = std::find_if(existing.begin(), existing.end(),
                                  [&](const Calendar &c) { return c.url == found.url; });
        // The same collection reached through another host name or spelling of its path.
        if (match == existing.end() && !key.isEmpty())
            match = std::find_if(existing.begin(), existing.end(),
                                 [&](const Calendar &c) { return c.canonical_key == key; });

        if (match != existing.end()) {
            Calendar c = *match;
            c.url = found.url;
            c.name = nameFor(found);
            c.description = found.description;
            if (!found.color.isEmpty())
                c.color = normalizeCalendarColor(found.color);
            c.supported_components = componentsJson(found.supportedComponents);
            if (c.canonical_key.isEmpty())
                c.canonical_key = key;
            // The ctag stays: it marks what the event sync has already pulled. The server's
            // name is not the user's choice, which keeps its date.
            if (repo->storeSynced(c))
                *match = c;
            continue;
        }

        Calendar c;
        c.id = newId();
        c.account_id = accountId;
        c.url = found.url;
        c.name = nameFor(found);
        c.description = found.description;
        c.color = found.color.isEmpty() ? QStringLiteral("#4285F4")
                                        : normalizeCalendarColor(found.color);
        c.timezone = QStringLiteral("UTC");
        c.supported_components = componentsJson(found.supportedComponents);
        c.canonical_key = key;
        c.sync_enabled = true;
        c.created_at = c.updated_at = now;
        if (repo->insert(c)) {
            existing << c;
            ++inserted;
        }
    }
    return inserted;
}
