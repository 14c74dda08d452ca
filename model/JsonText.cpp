#include "model/JsonText.h"

#include <QJsonArray>
#include <QJsonDocument>

QStringList jsonTextList(const QString &text)
{
    QStringList out;
    if (text.isEmpty())
        return out;
    const QJsonDocument doc = QJsonDocument::fromJson(text.toUtf8());
    if (!doc.isArray())
        return out;
    const QJsonArray array = doc.array();
    out.reserve(array.size());
    for (const QJsonValue &v : array)
        out.append(v.toString());
    return out;
}
