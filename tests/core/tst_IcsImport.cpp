#include "../model/ICalOracle.h"
#include "core/IcsImport.h"
#include "core/TempStore.h"
#include "model/Recurrence.h"
#include "storage/EventRepository.h"
#include "storage/SqlReader.h"
#include "support/IcsFiles.h"
#include "support/TestFiles.h"
#include "support/TestSupport.h"

#include <QProcess>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>
#include <QTimeZone>

#include <sqlite3.h>

#include <csignal>

#include <unistd.h>

namespace {

const QString kPersonal = QStringLiteral("larkspindle-personal-default");

using ICalOracle::Shifts;
using LarkTest::countRows;
using LarkTest::manyEvents;

QDateTime utc(int y, int mo, int d, int h, int mi)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi), Qt::UTC);
}

// many-0 as an earlier import stored it, since given an alarm (which has rung) and a guest.
bool importKeptEvent(const Store &store, const QString &dir)
{
    const QString path = dir + QStringLiteral("/one.ics");
    if (!LarkTest::writeFile(path, manyEvents(1, "Kept"))
        || !LarkTest::importFile(store, path, kPersonal).ok)
        return false;
    std::optional<Event> kept
        = store.events()->byUidInCalendar(QStringLiteral("many-0"), kPersonal);
    if (!kept)
        return false;
    Reminder alarm;
    alarm.minutes_before = 15;
    Attendee guest;
    guest.email = QStringLiteral("amy@example.org");
    kept->reminders = {alarm};
    kept->attendees = {guest};
    return store.events()->update(*kept)
        && QSqlQuery(store.database()->connection())
               .exec(QStringLiteral("UPDATE reminders SET acknowledged = 1"));
}

// Every row of the event tables, and how many rows the import record holds.
QStringList storedRows(const Store &store)
{
    QStringList rows;
    for (const char *sql :
         {"SELECT * FROM events ORDER BY id", "SELECT * FROM reminders ORDER BY id",
          "SELECT * FROM attendees ORDER BY id",
          "SELECT 'record', (SELECT COUNT(*) FROM import_run), (SELECT COUNT(*) FROM "
          "import_added), (SELECT COUNT(*) FROM import_saved_events), (SELECT COUNT(*) FROM "
          "import_saved_reminders), (SELECT COUNT(*) FROM import_saved_attendees)"}) {
        QSqlQuery q(store.database()->connection());
        if (!q.exec(QString::fromLatin1(sql)))
            return {q.lastQuery()};
        while (q.next()) {
            QStringList fields;
            for (int c = 0; c < q.record().count(); ++c)
                fields << q.value(c).toString();
            rows << fields.join(QLatin1Char('|'));
        }
    }
    return rows;
}

// The writer the kill scenario kills: imports many.ics of the folder into its cal.db. With
// kKillWhileForgettingEnv set it kills itself once the import is complete and its record is
// being emptied.
const char *const kImportChildEnv = "LARK_ICS_IMPORT_CHILD";
const char *const kKillWhileForgettingEnv = "LARK_ICS_IMPORT_KILL_WHILE_FORGETTING";

int killOnForgetting(void *, int action, const char *table, const char *, const char *,
                     const char *)
{
    // The copies of replaced rows are emptied after a first round of the added ones.
    if (action == SQLITE_DELETE && qstrcmp(table, "import_saved_events") == 0)
        ::kill(::getpid(), SIGKILL);
    return SQLITE_OK;
}

// The import's own connection, the second the writer opens, writes all but its first slice.
int watchForForgetting(sqlite3 *db, char **, const sqlite3_api_routines *)
{
    static int opened = 0;
    if (++opened == 2)
        sqlite3_set_authorizer(db, killOnForgetting, nullptr);
    return SQLITE_OK;
}

int runImportChild(const QString &dir)
{
    if (qEnvironmentVariableIsSet(kKillWhileForgettingEnv))
        sqlite3_auto_extension(reinterpret_cast<void (*)()>(&watchForForgetting));
    Store store;
    if (!store.open(dir + QStringLiteral("/cal.db")))
        return 2;
    (void)LarkTest::importFile(store, dir + QStringLiteral("/many.ics"), kPersonal);
    return 0;
}

} // namespace

class tst_IcsImport : public QObject
{
    Q_OBJECT
private slots:
    void storedTimesMatchLibical_data();
    void storedTimesMatchLibical();
    void seriesInAFileZoneKeepsItsClockAfterReload();
    void charactersStayWholeWhenFoldedOrCut();
    void cancelLeavesNothingBehind();
    void nextStartAfterAKilledImport_data();
    void nextStartAfterAKilledImport();
    void importOverItselfReplacesEveryEvent();
};

// Every file is imported, read back from the store and held against libical ("shift": where
// libical departs from RFC 5545 3.3.5).
void tst_IcsImport::storedTimesMatchLibical_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("skipped");
    QTest::addColumn<Shifts>("shift");
    QTest::newRow("untitled event, blank and unknown zone names, one without UID")
        << QStringLiteral("untitled_and_blank_zone.ics") << 1 << Shifts();
    QTest::newRow("escaped comma in a defined zone's name")
        << QStringLiteral("escaped_zone_name.ics") << 0 << Shifts();
    QTest::newRow("hour that comes twice: the first")
        << QStringLiteral("repeated_hour.ics") << 0
        << Shifts {{QStringLiteral("repeated-1 DTSTART"), -3600},
                   {QStringLiteral("repeated-2 DTSTART"), -3600}};
    // Floating times are skipped by the spring change of the machine's zone only.
    const bool berlin = QTimeZone::systemTimeZoneId() == "Europe/Berlin";
    QTest::newRow("hour that is skipped: the offset before it")
        << QStringLiteral("skipped_hour.ics") << 0
        << Shifts {{QStringLiteral("skipped-1 DTSTART"), 3600},
                   {QStringLiteral("skipped-2 DTSTART"), 3600},
                   {QStringLiteral("skipped-4 DTSTART"), berlin ? 3600 : 0},
                   {QStringLiteral("skipped-5 DTSTART"), berlin ? 0 : 3600}};
    QTest::newRow("defined zones with rules and listed onsets")
        << QStringLiteral("custom_zone_rules.ics") << 0
        << Shifts {{QStringLiteral("custom-rules-5 DTSTART"), -3600}};
}

void tst_IcsImport::storedTimesMatchLibical()
{
    QFETCH(QString, file);
    QFETCH(int, skipped);
    QFETCH(Shifts, shift);
    const QByteArray bytes = LarkTest::readData(QStringLiteral("ics/") + file);
    const ICalOracle::Result oracle = ICalOracle::read(bytes);
    QVERIFY2(oracle.error.isEmpty(), qPrintable(oracle.error));
    LarkTest::TempStore app(LarkTest::TempStore::WithPersonal);
    QVERIFY(app.isValid());

    const IcsImportResult result = LarkTest::importFile(
        app.store(), LarkTest::dataPath(QStringLiteral("ics/") + file), kPersonal);
    QVERIFY2(result.ok, qPrintable(result.message));
    QCOMPARE(result.skipped, skipped);

    QHash<QString, Event> stored;
    const QList<Event> events = app->events()->listByCalendar(kPersonal);
    for (const Event &e : events)
        stored.insert(e.uid + e.recurrence_id, e);
    int withUid = 0;
    for (const QJsonValue &c : oracle.components) {
        const QJsonObject o = c.toObject();
        const QString uid = ICalOracle::value(o, QStringLiteral("UID")).toString();
        if (o.value(QStringLiteral("kind")).toString() != QLatin1String("VEVENT") || uid.isEmpty())
            continue;
        ++withUid;
        const QJsonObject rid = ICalOracle::value(o, QStringLiteral("RECURRENCE-ID")).toObject();
        const QString key = uid
            + (rid.isEmpty() ? QString()
                             : QDateTime::fromSecsSinceEpoch(
                                   rid.value(QStringLiteral("utc")).toInteger(), Qt::UTC)
                                   .toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'")));
        QVERIFY2(stored.contains(key), qPrintable(key));
        const Event &e = stored.value(key);
        QCOMPARE(e.title, ICalOracle::value(o, QStringLiteral("SUMMARY")).toString());
        for (const char *name : {"DTSTART", "DTEND"}) {
            const QJsonObject theirs
                = ICalOracle::shifted(ICalOracle::value(o, QString::fromLatin1(name)).toObject(),
                                      shift.value(uid + QLatin1Char(' ') + QLatin1String(name)));
            if (theirs.isEmpty())
                continue;
            const QDateTime ours
                = QByteArray(name) == "DTSTART" ? e.start_time : e.end_time.value_or(QDateTime());
            QCOMPARE(ICalOracle::asOracleTime(ours, e.is_all_day, theirs), theirs);
        }
    }
    QCOMPARE(result.imported, withUid);
    QCOMPARE(stored.size(), withUid);
}

void tst_IcsImport::seriesInAFileZoneKeepsItsClockAfterReload()
{
    LarkTest::TempStore app(LarkTest::TempStore::WithPersonal);
    QVERIFY(app.isValid());
    QVERIFY(LarkTest::importFile(
                app.store(), LarkTest::dataPath(QStringLiteral("ics/skipped_hour.ics")), kPersonal)
                .ok);
    // Weekly at 09:00 in a zone only the file defines: an hour earlier in UTC once its summer
    // time begins on 31 March.
    const QDateTime from = utc(2024, 3, 20, 0, 0);
    const QDateTime to = utc(2024, 4, 20, 0, 0);
    QList<QDateTime> starts;
    const QList<Event> occurrences
        = expandOccurrences(app->events()->listInRange(from, to, {kPersonal}), from, to);
    for (const Event &e : occurrences) {
        if (e.uid == QLatin1String("skipped-3"))
            starts << e.start_time.toUTC();
    }
    QCOMPARE(starts,
             (QList<QDateTime> {utc(2024, 3, 21, 8, 0), utc(2024, 3, 28, 8, 0),
                                utc(2024, 4, 4, 7, 0), utc(2024, 4, 11, 7, 0)}));
}

// Writers fold every line at 75 octets, wherever that falls: in Japanese text (three octets a
// character) two folds of three go through a character. A text too long to keep is cut short,
// but never inside a character or an escape.
void tst_IcsImport::charactersStayWholeWhenFoldedOrCut()
{
    const auto folded = [](const QByteArray &line) -> QByteArray {
        QByteArray out = line.left(75);
        for (qsizetype at = 75; at < line.size(); at += 74)
            out += "\r\n " + line.mid(at, 74);
        return out + "\r\n";
    };
    const QString japanese = QStringLiteral(
        "\u6765\u9031\u306e\u4f1a\u8b70\u5ba4\u306e\u4e88\u7d04\u306b\u3064\u3044\u3066"
        "\u3001\u6708\u66dc\u65e5\u304b\u3089\u91d1\u66dc\u65e5\u307e\u3067\u306e\u6253"
        "\u3061\u5408\u308f\u305b\u65e5\u7a0b\u3092\u78ba\u8a8d\u3057\u3066\u304f\u3060"
        "\u3055\u3044\u3002");
    const QString cafe = QStringLiteral("Caf\u00e9 au lait");
    // A character outside the basic plane where the title is cut, an escape where the
    // description is.
    const QString titleKept = QString(4095, QLatin1Char('t'));
    const QString descriptionKept = QString(1024 * 1024 - 1, QLatin1Char('d'));
    const QByteArray file = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\nUID:cafe\r\n"
                            "DTSTART:20240301T090000Z\r\nSUMMARY:Caf\xC3\r\n \xA9 au lait\r\n"
                            "END:VEVENT\r\nBEGIN:VEVENT\r\nUID:japanese\r\n"
                            "DTSTART:20240302T090000Z\r\n"
        + folded("SUMMARY:" + japanese.toUtf8())
        + folded("DESCRIPTION:" + (japanese + japanese).toUtf8())
        + "END:VEVENT\r\nBEGIN:VEVENT\r\nUID:long\r\nDTSTART:20240303T090000Z\r\n"
        + folded("SUMMARY:" + titleKept.toUtf8() + "\xF0\x9F\x98\x80 and on")
        + folded("DESCRIPTION:" + descriptionKept.toUtf8() + "\\nand on")
        + "END:VEVENT\r\nEND:VCALENDAR\r\n";
    LarkTest::TempStore app(LarkTest::TempStore::WithPersonal);
    QVERIFY(app.isValid());
    const QString path = app.dir() + QStringLiteral("/folded.ics");
    QVERIFY(LarkTest::writeFile(path, file));
    const IcsImportResult result = LarkTest::importFile(app.store(), path, kPersonal);
    QCOMPARE(result.message,
             QStringLiteral("Imported 3 event(s) from folded.ics. Over-long text in 1 event(s) "
                            "was shortened."));

    QStringList seen;
    for (const Event &e : app->events()->listByCalendar(kPersonal)) {
        if (e.uid == QLatin1String("long")) {
            QVERIFY(e.title == titleKept);
            QVERIFY(e.description == descriptionKept);
            // The stored copy of the event is cut alike.
            QVERIFY(!e.raw_icalendar.contains(QLatin1String("and on")));
            QCOMPARE_LT(e.raw_icalendar.size(), descriptionKept.size() + titleKept.size() + 1000);
            continue;
        }
        seen << e.uid + QLatin1Char('|') + e.title + QLatin1Char('|') + e.description;
    }
    seen.sort();
    QCOMPARE(seen,
             (QStringList {QStringLiteral("cafe|") + cafe + QLatin1Char('|'),
                           QStringLiteral("japanese|") + japanese + QLatin1Char('|') + japanese
                               + japanese}));
}

void tst_IcsImport::cancelLeavesNothingBehind()
{
    LarkTest::TempStore app(LarkTest::TempStore::WithPersonal);
    QVERIFY(app.isValid());
    // An earlier import of one of the events, which the cancelled one must not replace either.
    QVERIFY(importKeptEvent(app.store(), app.dir()));
    const QStringList before = storedRows(app.store());

    // A full disk fails the import, says so, and leaves nothing behind.
    QSqlQuery disk(app->database()->connection());
    QVERIFY(disk.exec(QStringLiteral("PRAGMA page_count")) && disk.next());
    QVERIFY(disk.exec(QStringLiteral("PRAGMA max_page_count = ") + disk.value(0).toString()));
    const QString few = app.dir() + QStringLiteral("/few.ics");
    QVERIFY(LarkTest::writeFile(few, manyEvents(300, "Imported")));
    QCOMPARE(LarkTest::importFile(app.store(), few, kPersonal).message,
             QStringLiteral("Import failed: the disk is full, so nothing was imported."));
    QCOMPARE(storedRows(app.store()), before);
    QVERIFY(disk.exec(QStringLiteral("PRAGMA max_page_count = 1073741823")));
    disk.finish();

    IcsImportJob job(app.store(), QString::fromUtf8(manyEvents(10000, "Imported")), kPersonal,
                     QStringLiteral("many.ics"));
    QSignalSpy progress(&job, &IcsImportJob::progress);
    QSignalSpy finished(&job, &IcsImportJob::finished);
    QSignalSpy waiting(&job, &IcsImportJob::waitingForWriter);
    // Another program writes after the first slice, and the cancel comes while the job waits
    // for it: the job says that it waits, and when it goes on.
    const QString file = app.dir() + QStringLiteral("/cal.db");
    connect(&job, &IcsImportJob::progress, this,
            [&] { QVERIFY(progress.count() != 1 || LarkTest::holdWriteLock(file, 600)); });
    job.start();
    QTRY_COMPARE(waiting.size(), 1);
    QVERIFY(waiting.at(0).at(0).toBool());
    QVERIFY(!job.isFinished());
    QCOMPARE(storedRows(app.store()).filter(QStringLiteral("|Kept|")).size(), 0);
    job.cancel();

    // What was committed is taken back a slice at a time; the replaced event comes back whole,
    // its rung alarm and its guest included, and the record is gone.
    QTRY_COMPARE(finished.count(), 1);
    QVERIFY(job.result().cancelled);
    QCOMPARE(storedRows(app.store()), before);
    QCOMPARE(waiting.size(), 2);
    QVERIFY(!waiting.at(1).at(0).toBool());

    // A job dropped while it stores (the program ending) takes back what it stored.
    {
        IcsImportJob dropped(app.store(), QString::fromUtf8(manyEvents(10000, "Imported")),
                             kPersonal, QStringLiteral("many.ics"));
        dropped.start();
        QVERIFY(!dropped.isFinished());
    }
    QCOMPARE(storedRows(app.store()), before);
}

void tst_IcsImport::nextStartAfterAKilledImport_data()
{
    QTest::addColumn<bool>("complete");
    QTest::addColumn<int>("events");
    QTest::addColumn<int>("lockedMs"); // another program writes as the next start begins
    // What it stored is taken back and what it replaced comes back.
    QTest::newRow("while storing") << false << 100000 << 0;
    QTest::newRow("while storing, then another writer") << false << 50000 << 1000;
    // The import stands: nothing is taken back, nothing said.
    QTest::newRow("while its record is emptied") << true << 3000 << 0;
}

// The writer is killed in the middle of an import, or once it is complete and its record is
// being emptied; the next start finds the calendar whole.
void tst_IcsImport::nextStartAfterAKilledImport()
{
    QFETCH(bool, complete);
    QFETCH(int, events);
    QFETCH(int, lockedMs);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("cal.db"));
    QStringList before;
    {
        Store store;
        QVERIFY(store.open(path));
        LocalCalendar::ensurePersonal(store.accounts(), store.calendars(), Clock::now());
        QVERIFY(importKeptEvent(store, dir.path()));
        before = storedRows(store);
    }
    QVERIFY(LarkTest::writeFile(dir.filePath(QStringLiteral("many.ics")),
                                manyEvents(events, "Imported")));

    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(kImportChildEnv), dir.path());
    if (complete)
        env.insert(QString::fromLatin1(kKillWhileForgettingEnv), QStringLiteral("1"));
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QCoreApplication::applicationFilePath(), {});
    QVERIFY(child.waitForStarted());
    int held = 0; // events the import's record names
    {
        Store watcher;
        QVERIFY(watcher.open(path));
        if (complete) {
            QVERIFY(child.waitForFinished(60000));
            QCOMPARE(child.exitStatus(), QProcess::CrashExit);
            // Killed with the record half emptied.
            QCOMPARE(countRows(watcher, QStringLiteral("import_run")), 1);
            QCOMPARE_GT(countRows(watcher, QStringLiteral("import_added")), 0);
            QCOMPARE_LT(countRows(watcher, QStringLiteral("import_added")), events - 1);
        } else {
            QTRY_VERIFY_WITH_TIMEOUT(countRows(watcher, QStringLiteral("import_added")) >= 2000
                                         || child.state() == QProcess::NotRunning,
                                     60000);
            QCOMPARE(child.state(), QProcess::Running);
            child.kill();
            QVERIFY(child.waitForFinished());
        }
        held = countRows(watcher, QStringLiteral("import_added"))
            + countRows(watcher, QStringLiteral("import_saved_events"));
        const int left = countRows(watcher, QStringLiteral("events"));
        qInfo("the killed import left %d of %d events stored", left, events);
        QVERIFY(left > 2000);
        QVERIFY(left <= events);
    }

    Store next;
    QVERIFY(next.open(path));
    QVERIFY(lockedMs == 0 || LarkTest::holdWriteLock(path, lockedMs));
    const std::unique_ptr<IcsImportJob> leftover(IcsImportJob::resumeLeftover(next));
    QVERIFY(leftover);
    // A quit while a complete import's record is emptied leaves the import standing.
    leftover->start();
    leftover->cancel();
    const IcsImportResult result = LarkTest::runImport(*leftover);
    if (complete) {
        QCOMPARE(result.message, QString());
        QCOMPARE(countRows(next, QStringLiteral("events")), events);
        QCOMPARE(storedRows(next).filter(QStringLiteral("|Imported|")).size(), events);
        QCOMPARE(storedRows(next).last(), QStringLiteral("record|0|0|0|0|0"));
    } else {
        QVERIFY(result.cancelled);
        QCOMPARE(result.message,
                 QStringLiteral("The import of many.ics did not finish in the last run; the %1 "
                                "event(s) it had stored have been taken back.")
                     .arg(QLocale().toString(held)));
        QCOMPARE(storedRows(next), before);
    }
    QVERIFY(!IcsImportJob::resumeLeftover(next));
}

// The same file again replaces each event in place; events without a start are counted over
// every batch, not the last one alone.
void tst_IcsImport::importOverItselfReplacesEveryEvent()
{
    LarkTest::TempStore app(LarkTest::TempStore::WithPersonal);
    QVERIFY(app.isValid());
    const QString path = app.dir() + QStringLiteral("/many.ics");
    // Batches of 50: the four without a start fall into three of them.
    QVERIFY(LarkTest::writeFile(path, manyEvents(150, "Imported", 40)));
    const IcsImportResult first = LarkTest::importFile(app.store(), path, kPersonal);
    QVERIFY2(first.ok, qPrintable(first.message));
    QCOMPARE(first.imported, 146);
    QCOMPARE(first.skipped, 4);
    const auto ids = [&app] {
        QSqlQuery q(app->database()->connection());
        q.exec(QStringLiteral("SELECT group_concat(id) FROM (SELECT id FROM events ORDER BY id)"));
        return q.next() ? q.value(0).toString() : QString();
    };
    const QString firstIds = ids();

    // Another program is writing as it begins: it waits for it.
    QVERIFY(LarkTest::holdWriteLock(app.dir() + QStringLiteral("/cal.db"), 600));
    const IcsImportResult again = LarkTest::importFile(app.store(), path, kPersonal);
    QCOMPARE(again.message,
             QStringLiteral("Imported 146 event(s) from many.ics. 4 event(s) without an "
                            "identifier or a start were skipped."));
    // The same rows, and no record left.
    QCOMPARE(app.count(QStringLiteral("events")), 146);
    QCOMPARE(ids(), firstIds);
    QCOMPARE(storedRows(app.store()).last(), QStringLiteral("record|0|0|0|0|0"));
    // What an import writes is copied from the log into the database file as it goes, not left
    // for the next write: the file holds all but what the last commits (under SQLite's usual 1000
    // pages) left in the log.
    QVERIFY(LarkTest::writeFile(path, manyEvents(20000, "Again")));
    QVERIFY(LarkTest::importFile(app.store(), path, kPersonal).ok);
    QSqlQuery size(app->database()->connection());
    QVERIFY(size.exec(QStringLiteral("SELECT page_count * page_size FROM pragma_page_count(), "
                                     "pragma_page_size()"))
            && size.next());
    const qint64 uncopied
        = size.value(0).toLongLong() - QFileInfo(app.dir() + QStringLiteral("/cal.db")).size();
    qInfo("left in the log: %lld KiB", uncopied >> 10);
    QCOMPARE_LT(uncopied, qint64(4) << 20);
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (qEnvironmentVariableIsSet(kImportChildEnv))
        return runImportChild(qEnvironmentVariable(kImportChildEnv));
    tst_IcsImport test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_IcsImport.moc"
