#pragma once

// Writes pulled configuration records into the store, one stage per kind of record (accounts,
// calendar preferences, references waiting for their calendar, filter rules, calendar groups,
// event templates, settings), each stage one transaction: a stage whose write fails is rolled
// back whole and reported, the others are kept, and the caller pulls the same changes again.
// Listeners hear of a stage once it is committed. A record that would change nothing writes
// nothing, so devices do not echo each other's records forever; a record older than what this
// device holds loses, and equal times go the same way on every device.

#include "model/Records.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class AppState;

namespace Larkspindle {

class ConfigApplier
{
public:
    // Which kinds of record take part, as the user's switches say.
    struct Sections
    {
        bool accounts = true;
        bool filters = true;
        bool views = true;
        bool templates = true;
        bool settings = true;
    };

    explicit ConfigApplier(AppState *state);

    // The account and subscription records. The local ids of accounts whose calendars are to be
    // found go to discover (in arrival order). False when the stage was not kept.
    [[nodiscard]] bool applyAccounts(const QJsonArray &changes, const Sections &sections,
                                     QStringList *discover);
    // Every other kind; false when any stage was not kept.
    [[nodiscard]] bool applyRemaining(const QJsonArray &changes, const Sections &sections);

private:
    // What one stage has written, announced once it is committed.
    struct Run
    {
        bool failed = false;
        bool accounts = false;
        bool calendars = false;
        bool views = false;
        bool rules = false;
        bool templates = false;
        bool weekStart = false;
        bool calendarsLoaded = false;
        QList<Calendar> calendarList;
    };
    using Apply = void (ConfigApplier::*)(const QJsonObject &record);

    QDateTime now() const;
    bool stage(const char *name, const std::function<void()> &apply);
    bool eachOfType(const char *name, const QJsonArray &changes, const char *type, Apply apply);
    bool noteWrite(bool ok, bool Run::*what);
    const QList<Calendar> &calendarList();

    bool applyCalDavAccount(const QJsonObject &record, QString *discoveryId);
    bool applyOAuthAccount(const QJsonObject &record, QString *discoveryId);
    void applyWebcalCalendar(const QJsonObject &record);
    // Writes a pulled account over the local one when it differs, or adds it; true when added.
    bool storeAccount(const QJsonObject &record, Account incoming,
                      const std::optional<Account> &local, const QString &id, const QString &type);
    bool storePassword(const QString &accountId, const QString &password);
    void applyCalendarPreference(const QJsonObject &record);
    std::optional<Calendar> preferenceTarget(const QJsonObject &record, const QString &key);
    template<typename Row, typename Repo>
    void applyLastWriter(
        Repo *repo, bool Run::*written, const QJsonObject &record, const std::optional<Row> &local,
        Row (*from)(const QJsonObject &, const QList<Calendar> &, const QDateTime &),
        QJsonObject (*toRecord)(const Row &, const QList<Calendar> &, const QDateTime &));
    void applyCalendarView(const QJsonObject &record);
    void applyFilterRule(const QJsonObject &record);
    void applyEventTemplate(const QJsonObject &record);
    void applyInitialSetting(const QJsonObject &record);
    void resolveKeptCalendarKeys();

    AppState *m_state;
    Run m_run;
};

} // namespace Larkspindle
