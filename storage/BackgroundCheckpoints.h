#pragma once

// While one lives, the pages a long run of commits writes into the database's log are copied
// into the database from a thread of its own, on a connection of its own, instead of inside a
// commit of the window's connection: such a copy waits for the disk and may hold the window up
// for hundreds of milliseconds. For a writer that commits many times in a row (an import).

#include <memory>

class Database;

class BackgroundCheckpoints
{
public:
    explicit BackgroundCheckpoints(Database *db);
    // The last copy is made before it returns; later commits copy as usual again.
    ~BackgroundCheckpoints();
    BackgroundCheckpoints(const BackgroundCheckpoints &) = delete;
    BackgroundCheckpoints &operator=(const BackgroundCheckpoints &) = delete;

private:
    struct Worker;
    Database *m_db;
    std::unique_ptr<Worker> m_worker; // none when its connection could not be opened
};
