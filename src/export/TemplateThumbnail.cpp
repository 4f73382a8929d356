#include "export/TemplateThumbnail.h"

#include "document/ImageCodec.h"
#include "export/ExportOutput.h"
#include "render/ScaledArea.h"
#include "render/TemplateCompositor.h"

#include <algorithm>

namespace {

// Composed larger than asked, then brought down as an export is scaled:
// outlines and fine texture then blend over the pixels they cross, as in a
// whole export scaled down, rather than each falling wholly on one pixel or
// the next. About a megapixel (and at least twice the side asked) is a small
// fraction of a large picture's pixels, and composes in milliseconds.
constexpr int kComposedSide = 1024;
constexpr int kLeastSupersample = 2;

int ComposedSide(int side)
{
    return std::max(kComposedSide, side * kLeastSupersample);
}

} // namespace

CTemplateReadOptions ThumbnailReadOptions(int side)
{
    return CTemplateReadOptions{.pictureFitWithin = ComposedSide(side), .decodeStoredWarps = false};
}

QImage ComposeThumbnail(const CTemplateData& data, int side)
{
    if (!data.picture || data.picture->isNull() || side <= 0)
        return QImage();
    const QSize stored = data.pictureSize.isValid() ? data.pictureSize : data.picture->size();
    const QSize wanted = FitWithin(stored, side);
    const QSize drawn = FitWithin(stored, ComposedSide(side));

    QImage composed;
    if (drawn == stored && data.picture->size() == stored) {
        composed = ComposeTemplate(*data.picture, data.areas);
    } else {
        // One factor for everything drawn, taken from the longer side, which
        // FitWithin makes exact; the shorter side is off by under half a
        // pixel.
        const double factor = double(std::max(drawn.width(), drawn.height())) /
                              double(std::max(stored.width(), stored.height()));
        const QImage picture = data.picture->size() == drawn
                                   ? *data.picture
                                   : data.picture->scaled(drawn, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        if (picture.isNull())
            return QImage();
        std::vector<CArea> areas;
        areas.reserve(data.areas.size());
        for (const CArea& area : data.areas)
            areas.push_back(ScaleArea(area, factor));
        composed = ComposeTemplate(picture, areas);
    }
    if (composed.isNull())
        return QImage();
    return ScaleForExport(composed, wanted.width(), wanted.height());
}
