#include "support/CloudDevice.h"

#include "core/sync/SyncServices.h"

#include "support/MemoryTokenStore.h"

namespace LarkTest {

namespace {

// Expires in 2033: good for any run of these tests before then.
const QString validToken = QStringLiteral("eyJhbGciOiJub25lIn0.eyJleHAiOjIwMDAwMDAwMDB9.c2ln");

} // namespace

CloudDevice::CloudDevice(const QUrl &syncApiBase)
    : m_base(syncApiBase)
{ }

CloudDevice::~CloudDevice()
{
    close();
}

bool CloudDevice::open()
{
    close();
    if (!m_dir.isValid())
        return false;
    m_tokens = std::make_unique<LarkAccount::TokenManager>(std::make_unique<MemoryTokenStore>(
        QStringLiteral("cloud-device"), std::make_shared<MemoryCredentials>()));
    m_tokens->setTokens(validToken, QStringLiteral("refresh"));
    m_api = std::make_unique<LarkAccount::ApiClient>(m_tokens.get());
    m_api->setBaseUrl(m_base);
    m_state = std::make_unique<AppState>();
    if (!m_state->initialize(m_dir.filePath(QStringLiteral("calendar.db")))) {
        close();
        return false;
    }
    Sync::attachSyncServices(*m_state, m_state.get());
    return true;
}

void CloudDevice::close()
{
    m_state.reset();
    m_api.reset();
    m_tokens.reset();
}

} // namespace LarkTest
