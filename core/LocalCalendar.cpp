#include "core/LocalCalendar.h"

#include "core/sync/CalendarIdentity.h"
#include "model/Identifiers.h"
#include "storage/AccountRepository.h"
#include "storage/CalendarRepository.h"

#include <QCoreApplication>
#include <QtDebug>

#include <algorithm>

namespace LocalCalendar {

namespace {
const QString kAccountType = QStringLiteral("larkspindle");
const QString kUrlPrefix = QStringLiteral("local://calendar/");
// The names the seeded account and calendar are stored and synced with; displayName shows them in
// the interface language.
const QString kOnDeviceAccountName = QStringLiteral("On This Device");
const QString kPersonalCalendarName = QStringLiteral("Personal");
} // namespace

Account onDeviceAccount(const QString &id, const QString &name, const QDateTime &now)
{
    Account account;
    account.id = id;
    account.name = name;
    account.type = kAccountType;
    account.color = QStringLiteral("#4CAF50");
    account.sync_interval_minutes = 0;
    account.enabled = true;
    account.exclude_from_sync = false;
    account.created_at = now;
    account.updated_at = now;
    return account;
}

bool ensurePersonal(AccountRepository *accounts, CalendarRepository *calendars,
                    const QDateTime &now)
{
    if (!accounts || !calendars)
        return false;
    const bool haveAccount = accounts->byId(kOnDeviceAccountId).has_value();
    const bool haveCalendar = calendars->byId(kPersonalCalendarId).has_value();
    if (haveAccount && haveCalendar)
        return true;

    for (const Calendar &calendar : calendars->listAll()) {
        const std::optional<Account> account = accounts->byId(calendar.account_id);
        if (account && account->type == kAccountType)
            return true;
    }

    if (!haveAccount
        && !accounts->insert(
            onDeviceAccount(kOnDeviceAccountId, kOnDeviceAccountName, now.toUTC()))) {
        qWarning() << "Failed to seed local account";
        return false;
    }
    if (!haveCalendar) {
        Calendar calendar;
        calendar.id = kPersonalCalendarId;
        calendar.account_id = kOnDeviceAccountId;
        calendar.url = kUrlPrefix + kPersonalCalendarId;
        calendar.name = kPersonalCalendarName;
        calendar.color = QStringLiteral("#4285F4");
        calendar.timezone = QStringLiteral("UTC");
        calendar.is_visible = true;
        calendar.is_read_only = false;
        calendar.is_default = true;
        calendar.sync_enabled = false;
        calendar.canonical_key
            = calendarIdentityKey(kAccountType, calendar.url).value_or(QString());
        calendar.created_at = now.toUTC();
        calendar.updated_at = calendar.created_at;
        if (!calendars->insert(calendar)) {
            qWarning() << "Failed to seed Personal calendar";
            return false;
        }
    }
    return true;
}

QString displayName(const Account &account)
{
    if (account.id == kOnDeviceAccountId && account.name == kOnDeviceAccountName)
        return QCoreApplication::translate("LocalCalendar", "On This Device");
    return account.name;
}

QString displayName(const Calendar &calendar)
{
    if (calendar.id == kPersonalCalendarId && calendar.name == kPersonalCalendarName)
        return QCoreApplication::translate("LocalCalendar", "Personal",
                                           "name of the calendar kept on this device");
    return calendar.name;
}

bool ensureCloudCalendarHome(AccountRepository *accounts, const QDateTime &now)
{
    if (!accounts)
        return false;
    for (const Account &account : accounts->listActive()) {
        if (account.type == kAccountType)
            return true;
    }
    if (accounts->insert(onDeviceAccount(kOnDeviceAccountId, kOnDeviceAccountName, now.toUTC())))
        return true;
    qWarning() << "Failed to seed local account";
    return false;
}

QString addCalendar(AccountRepository *accounts, CalendarRepository *calendars, const QString &name,
                    const QString &color, const QString &accountName, const QDateTime &now)
{
    QString accountId = kOnDeviceAccountId;
    if (!accounts->byId(accountId)) {
        // A deleted on-device account stays as a tombstone until its deletion is synced; a new
        // one then needs an id of its own.
        const QList<Account> all = accounts->listAll();
        const bool tombstone = std::any_of(
            all.cbegin(), all.cend(), [](const Account &a) { return a.id == kOnDeviceAccountId; });
        if (tombstone)
            accountId = newId();
        if (!accounts->insert(onDeviceAccount(accountId, accountName, now)))
            return QString();
    }
    Calendar calendar;
    calendar.id = newId();
    calendar.account_id = accountId;
    calendar.url = kUrlPrefix + calendar.id;
    calendar.name = name;
    calendar.color = color;
    calendar.created_at = now;
    calendar.updated_at = now;
    return calendars->insert(calendar) ? calendar.id : QString();
}

} // namespace LocalCalendar
