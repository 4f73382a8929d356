#pragma once

#include <QImage>
#include <QSize>

#include <functional>

// What a worker thread hands back for one cell: everything that costs file
// access or decoding, so the UI thread only has to compose two small pixmaps.
struct CPreparedSwatch
{
    // The part of the image the cell shows, at natural size; null when the
    // file is no image.
    QImage picture;
    // The whole image's size as its header gives it; invalid when unreadable.
    QSize imageSize;
};

// Runs on a worker thread: must not touch the widget that made it.
using CSwatchJob = std::function<CPreparedSwatch()>;
