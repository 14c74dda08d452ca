#pragma once

#include <QColor>
#include <QImage>

namespace LarkTest {

// How many pixels of an image have exactly this colour.
inline int countPixels(const QImage &image, const QColor &color)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) == color)
                ++count;
        }
    }
    return count;
}

} // namespace LarkTest
