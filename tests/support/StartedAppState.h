#pragma once

#include "core/AppState.h"
#include "core/sync/SyncServices.h"
#include "support/MemoryTokenStore.h"

#include <QTemporaryDir>

#include <memory>

namespace LarkTest {

// An AppState over a fresh database in a temporary folder, secrets kept in memory, the cloud
// addresses unset so that nothing is sent, with the sync coordinator the application would hand
// it. Check ok() before use.
class StartedAppState
{
public:
    StartedAppState()
    {
        m_ok
            = m_dir.isValid() && m_state->initialize(m_dir.filePath(QStringLiteral("calendar.db")));
        if (m_ok)
            Sync::attachSyncServices(*m_state, m_state.get());
    }
    ~StartedAppState() { m_state.reset(); }

    bool ok() const { return m_ok; }
    AppState *get() const { return m_state.get(); }
    AppState *operator->() const { return m_state.get(); }
    QString dir() const { return m_dir.path(); }

private:
    ScopedMemoryTokenStore m_secrets;
    QTemporaryDir m_dir;
    std::unique_ptr<AppState> m_state = std::make_unique<AppState>();
    bool m_ok = false;
};

} // namespace LarkTest
