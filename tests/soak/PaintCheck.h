#pragma once

#include <QString>

class CTilemontView;

// What a view shows after all its partial repaints must be what it shows
// when everything is composed afresh: a change that repaints too little
// leaves stale pixels behind. The marching ants are let off, as their
// phase moves on between the two pictures, and so are the shades and single
// pixels by which composing part of the window samples a scaled picture
// apart from composing all of it.
class CPaintCheck
{
public:
    // Fewer stale pixels than this are let pass.
    static constexpr int kStaleAtLeast = 3;

    // Empty when the window shows what a fresh composition shows; otherwise
    // what differs, with both pictures written next to saveAs.
    static QString StalePixels(CTilemontView& view, const QString& saveAs);
};
