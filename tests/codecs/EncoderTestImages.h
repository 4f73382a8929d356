#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <array>
#include <cstdlib>

// Images whose layout shows where every part went after an encoder is done.
namespace EncoderTestImages {

// Quadrant colours in the order top-left, top-right, bottom-left, bottom-right.
using Quadrants = std::array<QRgb, 4>;

inline QImage QuadrantImage(int w, int h, const Quadrants& colours,
                            QImage::Format format = QImage::Format_RGB32)
{
    QImage image(w, h, format);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, colours[(y < h / 2 ? 0 : 2) + (x < w / 2 ? 0 : 1)]);
    }
    return image;
}

// The expected colour at (x, y) of a QuadrantImage of size w x h.
inline QRgb QuadrantAt(int x, int y, int w, int h, const Quadrants& colours)
{
    return colours[(y < h / 2 ? 0 : 2) + (x < w / 2 ? 0 : 1)];
}

// Pseudo-random colours: hard to compress, so quality settings show.
inline QImage NoiseImage(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    unsigned state = 12345;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            state = state * 1103515245u + 12345u;
            const int base = (x * 255) / w;
            const int jitter = static_cast<int>((state >> 16) % 64) - 32;
            image.setPixel(x, y, qRgb(qBound(0, base + jitter, 255), qBound(0, (y * 255) / h + jitter, 255),
                                      qBound(0, 128 - jitter, 255)));
        }
    }
    return image;
}

inline int ColourDistance(QRgb a, QRgb b)
{
    return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
}

} // namespace EncoderTestImages
