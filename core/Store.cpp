#include "core/Store.h"

#include "core/ImportsUnderWay.h"
#include "platform/FileAccess.h"

#include "storage/AccountRepository.h"
#include "storage/CalendarRepository.h"
#include "storage/Database.h"
#include "storage/EventRepository.h"
#include "storage/FilterRuleRepository.h"
#include "storage/PreferencesRepository.h"
#include "storage/QuickAddKeyRepository.h"
#include "storage/SyncQueueRepository.h"
#include "storage/TaskRepository.h"
#include "storage/TemplateRepository.h"
#include "storage/ViewRepository.h"

#include <QFileInfo>
#include <QStorageInfo>
#include <QtDebug>

namespace {

bool isOnDisk(const QString &path)
{
    return !path.isEmpty() && path != QLatin1String(":memory:")
        && !path.startsWith(QLatin1String("file:"));
}

} // namespace

Store::Store(QObject *parent)
    : QObject(parent)
    , m_imports(new ImportsUnderWay(this))
{ }

Store::~Store()
{
    // The repositories hold the database: they go first, newest first.
    m_quickAddKeys.reset();
    const QObjectList owned = children();
    for (auto it = owned.crbegin(); it != owned.crend(); ++it)
        delete *it;
}

bool Store::open(const QString &path)
{
    m_database = new Database(this);
    qInfo().noquote() << "Opening database at:" << path;
    // Made 0600 before SQLite opens it, whatever the umask: SQLite gives the files it makes
    // beside the database the database's own mode. Those an earlier run left keep theirs, so
    // they are narrowed once it is open.
    const bool onDisk = isOnDisk(path);
    if (onDisk)
        (void)makeFilePrivate(path);
    if (!m_database->open(path))
        return false;
    if (onDisk)
        makeDatabaseSideFilesPrivate(path);
    if (!m_database->migrate())
        return false;

    m_preferences = new PreferencesRepository(m_database, this);
    m_accounts = new AccountRepository(m_database, this);
    m_calendars = new CalendarRepository(m_database, this);
    m_events = new EventRepository(m_database, this);
    m_tasks = new TaskRepository(m_database, this);
    m_views = new ViewRepository(m_database, this);
    m_filterRules = new FilterRuleRepository(m_database, this);
    m_templates = new TemplateRepository(m_database, this);
    m_syncQueue = new SyncQueueRepository(m_database, this);
    m_quickAddKeys = std::make_unique<QuickAddKeyRepository>(m_database);
    return true;
}

QString Store::writeFailure(const QString &sqliteText) const
{
    // Less than a few pages: SQLite cannot grow its log, whatever it said.
    constexpr qint64 kRoomBytes = 64 * 1024;
    const QString path = m_database ? m_database->connection().databaseName() : QString();
    if (isOnDisk(path)) {
        const QStorageInfo disk(QFileInfo(path).absolutePath());
        if (disk.isValid() && disk.bytesAvailable() < kRoomBytes)
            return tr("the disk that holds the calendar is full");
    }
    return sqliteText;
}
