#pragma once

// Release versions as major.minor.patch, the only form the release feed uses.

#include <QString>

namespace LarkUpdate {

struct Version
{
    int major = 0;
    int minor = 0;
    int patch = 0;
};

// "1.2.3"; "1.2" and "1..2" read as 1.2.0. Anything with more than three numbers, or with a part
// that is not a base-10 number ("1.x", "v1.2", "1.2.3-beta"), reads as 0.0.0.
Version parseVersion(const QString &text);

// True when a is older than b.
bool versionLess(const Version &a, const Version &b);

} // namespace LarkUpdate
