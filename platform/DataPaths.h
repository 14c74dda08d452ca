#pragma once

#include <QString>

#include <memory>

class QLockFile;

// Where the user's data lives, which instance is running, and how the program registers itself
// with the desktop. Every call reads the environment again; nothing is cached.

// CALENDAR_DATA_DIR when set, else <generic data location>/Larkspindle/Calendar; created (with
// its parents) and made private on every call. The path is returned even when it could not be
// created.
QString dataDirectory();
QString databasePath();

// The data folder held for this process's life, so that two programs never work on one
// database, also when they cannot reach each other's single-instance socket (another session,
// another runtime folder): "calendar.lock" in the folder where it can be written, and always,
// where the database file can be opened, an exclusive lock on that file itself (which also holds
// where no lock file can be made, e.g. in a folder the user may not write to).
class DataFolderLock
{
public:
    DataFolderLock(std::unique_ptr<QLockFile> file, int databaseFd);
    ~DataFolderLock();
    DataFolderLock(const DataFolderLock &) = delete;
    DataFolderLock &operator=(const DataFolderLock &) = delete;

private:
    std::unique_ptr<QLockFile> m_file;
    int m_databaseFd = -1;
};

struct DataFolderLockAttempt
{
    enum class Refusal {
        None,
        Running, // another running program holds it (holderPid names it, 0 when unknown)
        UnreadableLock, // the lock file is there but cannot be read (a folder, damaged)
        CannotLock, // neither a lock file nor the database file could be locked
        NoFolder, // the data folder is not there and cannot be made (problem says why)
        Link, // lockPath names the lock file or a database file that is a link
    };
    std::unique_ptr<DataFolderLock> lock; // null when refused
    Refusal refusal = Refusal::None;
    qint64 holderPid = 0;
    bool lockIsFolder = false;
    QString lockPath;
    QString problem; // the system's reason, for CannotLock and NoFolder
};

// Takes the data folder ("calendar.lock" and "calendar.db" in dataDirectory()), refused with
// NoFolder where that folder cannot be made, and with Link where the lock file, the database or
// one of SQLite's files beside it is a link: nothing is written through one. A lock file left by
// a process that is gone is taken over, whatever its age.
[[nodiscard]] DataFolderLockAttempt lockDataDirectory();
[[nodiscard]] DataFolderLockAttempt lockDataDirectory(const QString &lockPath,
                                                      const QString &databasePath);

// Creates the folder and any missing parents, each new one open to its owner only, and narrows
// the folder itself to 0700 when it is wider. False, with the reason, when the path is not a
// real folder of this user's (a link, a file, another user's folder) or cannot be made private.
[[nodiscard]] bool makePrivateDirectory(const QString &path, QString *reason = nullptr);

// The folder for this user's local sockets: XDG_RUNTIME_DIR when it is a private folder of this
// user's, else "larkspindle-<user id>" in the temporary folder, made private. Empty, with the
// reason, when neither can be used.
QString privateRuntimeDirectory(QString *reason = nullptr);

// CALENDAR_INSTANCE decoded as UTF-8; empty when it is not set.
QString instanceName();
// CALENDAR_INSTANCE is exactly "dev".
bool isDevInstance();

// "com.larkspindle.calendar", with "." and the instance name when one is set. The credential
// store's service name and the cloud account's application id.
QString applicationIdentifier();
// "LarkspindleCalendar", with "-" and the instance name when one is set.
QString launchAtLoginValueName();

// The autostart entry: <config>/autostart/<launchAtLoginValueName>.desktop.
QString launchAtLoginEntryPath();
// The entry exists, has a command and is not switched off.
bool isLaunchAtLoginEnabled();
// Writes the autostart entry (running the program with "--background") or removes it. True
// when the entry is now as asked.
[[nodiscard]] bool setLaunchAtLogin(bool enabled);
[[nodiscard]] bool setLaunchAtLogin(bool enabled, const QString &programPath);

// The desktop entry that opens text/calendar files:
// <data>/applications/LarkspindleCalendar.desktop.
QString icsDesktopEntryPath();
// The user's default applications: <config>/mimeapps.list.
QString mimeAppsListPath();
// Writes the desktop entry (running the program with "--ics" and the file) and makes it the
// user's default for text/calendar. True when both were written.
[[nodiscard]] bool registerIcsFileAssociation();
[[nodiscard]] bool registerIcsFileAssociation(const QString &programPath);
