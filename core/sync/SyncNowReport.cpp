#include "core/sync/SyncNowReport.h"

#include <QCoreApplication>
#include <QLocale>

namespace SyncNowReport {

bool isOnDeviceOnly(const Account &account, const QList<Calendar> &calendars)
{
    if (account.type != QLatin1String("larkspindle"))
        return false;
    for (const Calendar &calendar : calendars) {
        if (calendar.account_id == account.id
            && !calendar.url.startsWith(QLatin1String("local://")))
            return false;
    }
    return true;
}

QString accountTypeName(const QString &type)
{
    if (type == QLatin1String("caldav"))
        return QCoreApplication::translate("SyncNowReport", "CalDAV", "account type");
    if (type == QLatin1String("icloud"))
        return QCoreApplication::translate("SyncNowReport", "iCloud", "account type");
    if (type == QLatin1String("zoho"))
        return QCoreApplication::translate("SyncNowReport", "Zoho", "account type");
    if (type == QLatin1String("google"))
        return QCoreApplication::translate("SyncNowReport", "Google Calendar", "account type");
    if (type == QLatin1String("microsoft"))
        return QCoreApplication::translate("SyncNowReport", "Microsoft Outlook", "account type");
    if (type == QLatin1String("webcal"))
        return QCoreApplication::translate("SyncNowReport", "Calendar subscriptions",
                                           "account type");
    if (type == QLatin1String("larkspindle"))
        return QCoreApplication::translate("SyncNowReport", "Larkspindle Cloud", "account type");
    return type;
}

QString message(int started, const QStringList &typesWithoutClient, const QStringList &waits)
{
    QStringList names;
    for (const QString &type : typesWithoutClient) {
        const QString name = accountTypeName(type);
        if (!names.contains(name))
            names << name;
    }
    QStringList parts;
    if (started > 0)
        parts << QCoreApplication::translate("SyncNowReport", "Syncing %n account(s)…", nullptr,
                                             started);
    if (!names.isEmpty())
        parts << QCoreApplication::translate("SyncNowReport", "Sync is not available yet for %1.")
                     .arg(QLocale().createSeparatedList(names));
    parts << waits;
    if (parts.isEmpty())
        return QCoreApplication::translate("SyncNowReport", "No account to sync.");
    return parts.join(QLatin1Char(' '));
}

} // namespace SyncNowReport
