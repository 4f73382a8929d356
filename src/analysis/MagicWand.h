#pragma once

#include "analysis/RegionMask.h"
#include "analysis/WandColours.h"

#include <QImage>
#include <QPoint>

#include <memory>

// What the wand is asked: how different a colour may be and still count as
// the clicked one, whether the region must hang together, and how small an
// island or hole is dropped as a speck.
struct SWandOptions
{
    // 0 takes only the clicked colour exactly, 255 every pixel; in between,
    // colours within a perceptual difference of tolerance / 2 (see
    // CWandColours).
    int tolerance = 32;
    // Off: every pixel of a similar colour in the whole picture.
    bool contiguous = true;
    // Islands and holes of fewer pixels are dropped (the clicked island is
    // always kept); 0 or 1 keeps everything.
    int minSpeck = 16;
};

// The magic wand over one picture. The perceptual colours are worked out at
// the first selection that needs them and kept for the next ones, so only
// the first click on a picture pays for the conversion.
class CMagicWand
{
public:
    static constexpr int kMaxTolerance = 255;

    explicit CMagicWand(QImage picture);

    int Width() const { return m_picture.width(); }
    int Height() const { return m_picture.height(); }

    // The region around seed: 8-connected when contiguous. An empty (0 x 0)
    // mask when seed lies outside the picture.
    CRegionMask Select(QPoint seed, const SWandOptions& options) const;

    // Works out the perceptual colours now (otherwise at the first
    // selection that needs them).
    void Prepare() const;

private:
    void Match(QPoint seed, int tolerance, CRegionMask& mask) const;

    QImage m_picture;
    mutable std::shared_ptr<const CWandColours> m_colours;
};
