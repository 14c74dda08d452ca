#include "storage/BackgroundCheckpoints.h"

#include "storage/Database.h"
#include "storage/SqlHelpers.h"

#include <QDebug>

#include <sqlite3.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

// How often the thread copies what was committed, and the log's size (in pages) at which a
// commit of the window's connection copies it again once the thread is gone.
constexpr std::chrono::milliseconds kEvery(100);
constexpr int kUsualPages = 1000;

} // namespace

struct BackgroundCheckpoints::Worker
{
    sqlite3 *connection = nullptr;
    std::mutex mutex;
    std::condition_variable wake;
    bool stop = false;
    std::thread thread;

    void run()
    {
        std::unique_lock<std::mutex> lock(mutex);
        while (!stop) {
            wake.wait_for(lock, kEvery, [this] { return stop; });
            // Copies what is committed without waiting for any writer or reader.
            sqlite3_wal_checkpoint_v2(connection, nullptr, SQLITE_CHECKPOINT_PASSIVE, nullptr,
                                      nullptr);
        }
    }
};

BackgroundCheckpoints::BackgroundCheckpoints(Database *db)
    : m_db(db)
{
    const QByteArray path = db->connection().databaseName().toUtf8();
    auto worker = std::make_unique<Worker>();
    if (sqlite3_open_v2(path.constData(), &worker->connection, SQLITE_OPEN_READWRITE, nullptr)
            != SQLITE_OK
        || !Sql::exec(db->connection(), QStringLiteral("PRAGMA wal_autocheckpoint=0"))) {
        qWarning() << "[Database] checkpoints stay with the window's connection:"
                   << sqlite3_errmsg(worker->connection);
        sqlite3_close(worker->connection);
        return;
    }
    m_worker = std::move(worker);
    m_worker->thread = std::thread([w = m_worker.get()] { w->run(); });
}

BackgroundCheckpoints::~BackgroundCheckpoints()
{
    if (!m_worker)
        return;
    {
        const std::lock_guard<std::mutex> lock(m_worker->mutex);
        m_worker->stop = true;
    }
    m_worker->wake.notify_one();
    m_worker->thread.join();
    sqlite3_close(m_worker->connection);
    Sql::exec(m_db->connection(), QStringLiteral("PRAGMA wal_autocheckpoint=%1").arg(kUsualPages));
}
