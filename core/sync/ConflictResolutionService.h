#pragma once

// Events that were edited here and changed at their source before the edit was pushed.
// Neither side is overwritten; the pair is kept in memory for the rest of the session. Nothing
// of it is stored and no window shows it; only the tests read it back.

#include "model/Records.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>

class AppState;

namespace Sync {

struct Conflict
{
    QString id;
    Event local;
    Event remote;
    QDateTime detectedAt;
};

class ConflictResolutionService : public QObject
{
    Q_OBJECT
public:
    explicit ConflictResolutionService(AppState *appState, QObject *parent = nullptr);

    // Keeps the first conflict per local event id; later server versions of it are ignored.
    void recordConflict(const Event &local, const Event &remote);
    // In order of recording.
    const QList<Conflict> &conflicts() const { return m_conflicts; }

signals:
    void conflictsChanged();

private:
    [[maybe_unused]] AppState
        *m_appState; // the pull that records conflicts reaches the store through it
    QList<Conflict> m_conflicts;
};

} // namespace Sync
