#pragma once

// One device of a cloud-account user in a test: its own store in its own folder and a REST
// client for the sync API, signed in with a token that stays valid. The store is the process's
// one database connection, so only one device is open at a time: open() it, work, close() it,
// and open the next. Its data stays in its folder between openings.

#include "core/AppState.h"
#include "services/account/ApiClient.h"
#include "services/account/TokenManager.h"

#include <QTemporaryDir>
#include <QUrl>

#include <memory>

namespace LarkTest {

class CloudDevice
{
public:
    explicit CloudDevice(const QUrl &syncApiBase);
    ~CloudDevice();
    CloudDevice(const CloudDevice &) = delete;
    CloudDevice &operator=(const CloudDevice &) = delete;

    [[nodiscard]] bool open();
    void close();
    bool isOpen() const { return m_state != nullptr; }

    AppState *state() const { return m_state.get(); }
    AppState *operator->() const { return m_state.get(); }
    LarkAccount::ApiClient *api() const { return m_api.get(); }

private:
    QUrl m_base;
    QTemporaryDir m_dir;
    std::unique_ptr<LarkAccount::TokenManager> m_tokens;
    std::unique_ptr<LarkAccount::ApiClient> m_api;
    std::unique_ptr<AppState> m_state;
};

} // namespace LarkTest
