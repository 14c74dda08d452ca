#include "support/TestSupport.h"

#include <QFile>

namespace LarkTest {

QString dataPath(const QString &relative)
{
    QString root = qEnvironmentVariable("LARK_TEST_DATA");
    if (root.isEmpty())
        root = QStringLiteral(LARK_TEST_DATA_DIR);
    return root + QLatin1Char('/') + relative;
}

QByteArray readData(const QString &relative)
{
    QFile f(dataPath(relative));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

} // namespace LarkTest
