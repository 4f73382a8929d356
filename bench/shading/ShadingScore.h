#pragma once

#include <QImage>

#include <vector>

// How well a composed floor keeps a room's light, judged against the same
// room rendered with a plain matte grey floor (the true light), on log
// luminance inside the floor, away from its edges and from sun-clipped
// pixels. Filters are Gaussians measured at 1800 x 1200 and scaled with the
// picture; each is taken within the floor alone, so what lies beside it
// weighs in neither the truth nor the export.
class CShadingScore
{
public:
    double broad = 0;     // correlation of the broad light (Gaussian 12 px)
    double band = 0;      // correlation in the shadow band (3 px minus 12 px)
    double contrast = 0;  // the band's slope, export against truth
    double leak = 0;      // correlation of the export's detail with the old floor's pattern
    int pixels = 0;       // judged

    // floor: white where the area is (what the texture was laid into).
    static CShadingScore Measure(const QImage& composed, const QImage& truth, const QImage& photo,
                                 const QImage& floor);

    // Gaussian of sigma over the pixels where weight > 0, each pixel the
    // weighted mean of its neighbours (0 where none is weighted).
    static std::vector<float> Smooth(const std::vector<float>& v, const std::vector<float>& weight, int w, int h,
                                     double sigma);
};
