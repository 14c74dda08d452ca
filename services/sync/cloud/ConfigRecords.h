#pragma once

// The records of the configuration bucket: how a rule, a group, a template, an account, a
// subscription, a calendar's preferences and the first day of the week are written for the sync
// API, and how incoming records are read back. Calendars never travel by local id: a reference
// is the calendar's identity key, and a key this device cannot resolve yet is kept in place of
// the id until its calendar turns up, so that the reference is neither lost nor widened.

#include "model/Records.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class PreferencesRepository;

namespace Larkspindle::ConfigRecords {

// Field readers: a missing key or a value of another type gives the fallback. Texts are never
// null, so that they can go into NOT NULL columns as they are.
QString text(const QJsonObject &record, const QString &key, const QString &fallback = {});
bool boolean(const QJsonObject &record, const QString &key, bool fallback);
int integer(const QJsonObject &record, const QString &key, int fallback);

// A number is milliseconds since the epoch, a text ISO 8601; anything else is now.
QDateTime jsonDateTime(const QJsonValue &value, const QDateTime &now);
// "deleted_at" present and not null, not the empty text and not the number 0.
bool isTombstone(const QJsonObject &record);
qint64 msecsOrNow(const QDateTime &time, const QDateTime &now);
QJsonArray toJsonArray(const QStringList &values);

// Stored calendar ids to keys: the calendar's key, or the entry itself when it is a key kept
// for a calendar not found yet; other ids are dropped.
QStringList keysForStoredIds(const QStringList &ids, const QList<Calendar> &calendars);
// Keys to stored ids: the id of the calendar with the key (the last one listed wins), or the key
// itself while no calendar has it; texts that are not keys are dropped.
QStringList storedIdsForKeys(const QStringList &keys, const QList<Calendar> &calendars);

QJsonObject filterRuleRecord(const FilterRule &rule, const QList<Calendar> &calendars,
                             const QDateTime &now);
QJsonObject calendarViewRecord(const CalendarView &view, const QList<Calendar> &calendars,
                               const QDateTime &now);
QJsonObject eventTemplateRecord(const EventTemplate &eventTemplate,
                                const QList<Calendar> &calendars, const QDateTime &now);
// A CalDAV-family or cloud account; password null unless given.
QJsonObject calDavAccountRecord(const Account &account, const std::optional<QString> &password,
                                const QDateTime &now);
QJsonObject oauthAccountRecord(const Account &account, const QDateTime &now);
QJsonObject webcalSubscriptionRecord(const Calendar &calendar, const Account &owner,
                                     const QDateTime &now);
// Dated when the preferences were last chosen, or when the calendar was made.
QJsonObject calendarPreferenceRecord(const Calendar &calendar, const std::optional<Account> &owner,
                                     const QDateTime &now);
// Dated when the day was chosen; the epoch when that is not known, so any dated choice wins.
QJsonObject initialSettingRecord(int weekStartDay, const std::optional<QDateTime> &chosenAt);
// When the first day of the week was chosen on this device, when that is known.
std::optional<QDateTime> weekStartChosenAt(const PreferencesRepository &preferences);

// Incoming records as local rows; calendar keys resolved against calendars.
FilterRule filterRuleFrom(const QJsonObject &record, const QList<Calendar> &calendars,
                          const QDateTime &now);
CalendarView calendarViewFrom(const QJsonObject &record, const QList<Calendar> &calendars,
                              const QDateTime &now);
EventTemplate eventTemplateFrom(const QJsonObject &record, const QList<Calendar> &calendars,
                                const QDateTime &now);

// The record without its creation and update times: what two copies must share to be the same.
QJsonObject contentOf(QJsonObject record);
// Of a calendar preference record, what the user chose and when.
QJsonObject preferenceContent(const QJsonObject &record);

// Whether an incoming copy replaces the local one: never when both say the same; otherwise the
// later update time wins, and of equal times the incoming one, which is the copy the cloud
// holds, so that every device keeps the same copy.
bool incomingWins(const QJsonObject &incoming, const QJsonObject &local);

} // namespace Larkspindle::ConfigRecords
