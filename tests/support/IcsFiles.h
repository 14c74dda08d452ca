#pragma once

#include <QString>

namespace LarkTest {

// A path to hand to the import that is no plain calendar file: "pipe" (a FIFO made in the
// folder), "large" (a sparse file just over the import limit, made in the folder), or any other
// kind taken as the path itself (e.g. "/dev/zero"). Empty when it could not be made.
QString unusualIcsFile(const QString &kind, const QString &folder);

} // namespace LarkTest
