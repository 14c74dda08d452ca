#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QFile>
#include <QTimeZone>
#include <QTranslator>

namespace LarkTest {

QDateTime expressed(const QDateTime &instant, const QString &form)
{
    if (form == QLatin1String("Z"))
        return instant.toUTC();
    if (form == QLatin1String("local"))
        return instant.toLocalTime();
    if (form.startsWith(QLatin1String("offset ")))
        return instant.toOffsetFromUtc(form.mid(7).toInt() * 3600);
    return instant.toTimeZone(QTimeZone(form.toUtf8()));
}


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

bool installEnglish(QObject *owner)
{
    auto *english = new QTranslator(owner);
    return english->load(QStringLiteral(":/i18n/calendar_en.qm"))
        && QCoreApplication::installTranslator(english);
}

} // namespace LarkTest
