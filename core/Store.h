#pragma once

// The local store: the database, opened and brought up to date, and one repository per table
// family over it. Everything that reads or writes rows reaches them through here.

#include <QObject>
#include <QString>

#include <memory>

class Database;
class PreferencesRepository;
class AccountRepository;
class CalendarRepository;
class EventRepository;
class TaskRepository;
class ViewRepository;
class FilterRuleRepository;
class TemplateRepository;
class SyncQueueRepository;
class ImportsUnderWay;
class QuickAddKeyRepository;

class Store : public QObject
{
    Q_OBJECT
public:
    explicit Store(QObject *parent = nullptr);
    ~Store() override;

    // Opens and migrates the database at path and makes the repositories. False when the file
    // cannot be opened or migrated; only the Database object exists then.
    [[nodiscard]] bool open(const QString &path);

    Database *database() const { return m_database; }
    PreferencesRepository *preferences() const { return m_preferences; }
    AccountRepository *accounts() const { return m_accounts; }
    CalendarRepository *calendars() const { return m_calendars; }
    EventRepository *events() const { return m_events; }
    TaskRepository *tasks() const { return m_tasks; }
    ViewRepository *views() const { return m_views; }
    FilterRuleRepository *filterRules() const { return m_filterRules; }
    TemplateRepository *templates() const { return m_templates; }
    SyncQueueRepository *syncQueue() const { return m_syncQueue; }
    QuickAddKeyRepository *quickAddKeys() const { return m_quickAddKeys.get(); }
    // Why a write just failed, for the user: a full disk where the database's folder has no
    // room left, else SQLite's words where it still has them; empty when neither tells.
    QString writeFailure(const QString &sqliteText = QString()) const;
    // The calendars an import is writing into; there also before the database is opened.
    ImportsUnderWay *imports() const { return m_imports; }

private:
    Database *m_database = nullptr;
    PreferencesRepository *m_preferences = nullptr;
    AccountRepository *m_accounts = nullptr;
    CalendarRepository *m_calendars = nullptr;
    EventRepository *m_events = nullptr;
    TaskRepository *m_tasks = nullptr;
    ViewRepository *m_views = nullptr;
    FilterRuleRepository *m_filterRules = nullptr;
    TemplateRepository *m_templates = nullptr;
    SyncQueueRepository *m_syncQueue = nullptr;
    ImportsUnderWay *m_imports = nullptr;
    std::unique_ptr<QuickAddKeyRepository> m_quickAddKeys;
};
