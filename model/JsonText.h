#pragma once

#include <QString>
#include <QStringList>

// The string value of each element of a JSON array held in a text column (a non-string element
// gives the empty text). Empty text, malformed JSON and anything but an array give no elements.
[[nodiscard]] QStringList jsonTextList(const QString &text);
