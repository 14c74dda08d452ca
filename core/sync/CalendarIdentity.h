#pragma once

// The account-independent identity of a calendar: one key for the same calendar whichever road
// (CalDAV, Google, Microsoft, the cloud service, a feed, another device) brought it in. It is
// what the configuration sync writes instead of local calendar ids. Every source gives each
// calendar it lists its key (canonical_key); the sync engine writes it into a calendar stored
// before its source did.

#include "model/Records.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <optional>

// 64 lower-case hex digits: SHA-256 of "<kind>:<normalised URL or id>". No key for an account
// type the sync does not know (the comparison is case-sensitive).
std::optional<QString> calendarIdentityKey(const QString &accountType, const QString &urlOrId);

// Whether a text has the form of a key: 64 lower-case hex digits. Local calendar ids never do,
// so a key kept in a list of calendar ids (a calendar this device has not found yet) stands out.
bool isCalendarIdentityKey(const QString &text);

// The keys of those calendars among ids that have one, in the order of ids.
QStringList calendarKeysForIds(const QStringList &ids, const QList<Calendar> &calendars);

// First: the local ids of the keys that name a calendar here; second: the keys that do not.
QPair<QStringList, QStringList> resolveCalendarKeys(const QStringList &keys,
                                                    const QList<Calendar> &calendars);
