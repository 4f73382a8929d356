#pragma once

#include "analysis/MagicWand.h"
#include "geometry/Polygon.h"

#include <QImage>
#include <QPoint>

#include <memory>

// The wand over the picture of a document, kept while the picture stays
// the same: the exact region for the release, and a quick one on a reduced
// copy of the picture for the tinted overlay shown while the tolerance is
// dragged.
class CWandPreview
{
public:
    // Makes the wands anew when picture is not the one they were made for;
    // null forgets them.
    void SetPicture(const QImage* picture);
    bool HasPicture() const { return m_wand != nullptr; }

    // The exact region's outline in picture pixels; empty for a seed
    // outside the picture.
    CPolygon Outline(QPoint seed, const SWandOptions& options) const;

    // The region found on the reduced copy as a tint: an image whose every
    // pixel stands for Reduction() x Reduction() picture pixels.
    QImage Overlay(QPoint seed, const SWandOptions& options) const;
    int Reduction() const { return m_reduction; }

    // The overlay's largest size in pixels: small enough for a frame of
    // the drag to take a few milliseconds.
    static constexpr qint64 kPreviewPixels = 1 << 20;

private:
    qint64 m_pictureKey = 0;
    std::unique_ptr<CMagicWand> m_wand;
    std::unique_ptr<CMagicWand> m_reduced;
    int m_reduction = 1;
};
