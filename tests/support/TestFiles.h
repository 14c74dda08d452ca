#pragma once

#include <QByteArray>
#include <QString>

namespace LarkTest {

// The whole file; empty when it cannot be read.
QByteArray readFile(const QString &path);
// Writes the file, creating its folders; false when it could not.
[[nodiscard]] bool writeFile(const QString &path, const QByteArray &bytes);
// The permission bits of the file itself (a link is not followed); -1 when it is not there.
int fileMode(const QString &path);
// A path to hand to the import that is no plain calendar file: "pipe" (a FIFO made in the
// folder), "large" (a sparse file just over the import limit, made in the folder), or any other
// kind taken as the path itself (e.g. "/dev/zero"). Empty when it could not be made.
QString unusualIcsFile(const QString &kind, const QString &folder);

} // namespace LarkTest
