#include "model/JsonText.h"

#include <QJsonArray>
#include <QJsonDocument>

QJsonArray jsonArrayOf(const QString &text)
{
    if (text.isEmpty())
        return {};
    const QJsonDocument doc = QJsonDocument::fromJson(text.toUtf8());
    return doc.isArray() ? doc.array() : QJsonArray();
}

QStringList jsonTextList(const QString &text)
{
    QStringList out;
    const QJsonArray array = jsonArrayOf(text);
    out.reserve(array.size());
    for (const QJsonValue &v : array)
        out.append(v.toString());
    return out;
}

QString jsonTextArray(const QStringList &values)
{
    return QString::fromUtf8(
        QJsonDocument(QJsonArray::fromStringList(values)).toJson(QJsonDocument::Compact));
}
