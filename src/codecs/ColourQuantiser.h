#pragma once

#include <QImage>

// Reduces opaque images to small palettes for the GIF and TIFF writers.
class CColourQuantiser
{
public:
    // An 8-bit indexed image with at most maxColours (2..256) table entries.
    // An image that already has no more colours than that keeps them exactly;
    // otherwise a median-cut palette is chosen and the pixels are mapped with
    // Floyd-Steinberg error diffusion. Alpha is ignored.
    static QImage Quantise(const QImage& image, int maxColours);

    // An 8-bit indexed image whose table is {white, black}, so that index 1
    // means black. Grey levels are error-diffused, not thresholded, so mid
    // tones survive as a dot pattern.
    static QImage DitherToBlackAndWhite(const QImage& image);
};
