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

} // namespace LarkTest
