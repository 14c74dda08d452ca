#pragma once

#include <QJsonArray>
#include <QString>
#include <QStringList>

// The array a JSON text holds; empty for empty text, malformed JSON and anything but an array.
[[nodiscard]] QJsonArray jsonArrayOf(const QString &text);

// The string value of each element of a JSON array held in a text column (a non-string element
// gives the empty text). Empty text, malformed JSON and anything but an array give no elements.
[[nodiscard]] QStringList jsonTextList(const QString &text);

// The texts as a compact JSON array of strings, in list order.
[[nodiscard]] QString jsonTextArray(const QStringList &values);
