// Feeds arbitrary bytes to the release-manifest reader and the version parser: neither may
// crash, and what the reader accepts must hold together.
#include "services/update/ReleaseManifest.h"
#include "services/update/Version.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    QString error;
    const LarkUpdate::Manifest manifest = LarkUpdate::parseManifest(bytes, &error);
    if (!manifest.isValid() && error.isEmpty())
        std::abort(); // an unusable manifest always says why
    if (manifest.isValid() && (manifest.schema != 1 || manifest.app.isEmpty()))
        std::abort();
    for (auto it = manifest.artifacts.cbegin(); it != manifest.artifacts.cend(); ++it) {
        const LarkUpdate::Artifact &a = it.value();
        // Only artifacts that passed validation are kept.
        if (a.version.isEmpty() || !a.releasedAt.isValid() || !a.url.isValid() || a.size < 1
            || a.sha256.size() != 64)
            std::abort();
        const LarkUpdate::Version v = LarkUpdate::parseVersion(a.version);
        if (LarkUpdate::versionLess(v, v))
            std::abort();
        LarkUpdate::parseVersion(a.minUpgradableFrom);
    }

    const LarkUpdate::Version v = LarkUpdate::parseVersion(QString::fromUtf8(bytes));
    const LarkUpdate::Version zero;
    if (LarkUpdate::versionLess(v, v)
        || (LarkUpdate::versionLess(v, zero) && v.major >= 0 && v.minor >= 0 && v.patch >= 0))
        std::abort();
    return 0;
}
