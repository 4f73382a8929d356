#include "catalogue/RenderCost.h"

#include "document/Area.h"

#include <QImageReader>
#include <QMap>

namespace {

qint64 Pixels(QSize size)
{
    return size.isValid() ? qint64(size.width()) * size.height() : 0;
}

// Per output pixel: PNG's deflate and GIF's colour quantising take far
// longer than writing BMP or JPEG.
qint64 EncodeWeight(const QString& extension)
{
    static const QMap<QString, qint64> weights{
        {"bmp", 5}, {"jpg", 7}, {"tiff", 12}, {"gif", 50}, {"png", 120}};
    return weights.value(extension.toLower(), 50);
}

constexpr qint64 kPictureWeight = 4;
constexpr qint64 kWarpWeight = 80;
constexpr qint64 kTileWeight = 10;
constexpr qint64 kDecodeWeight = 30;
constexpr qint64 kSkipped = 1000;

} // namespace

namespace RenderCost {

QSize TextureSize(const QString& path)
{
    QImageReader reader(path);
    return reader.canRead() ? reader.size() : QSize();
}

qint64 RoomCost(const CArea& area, QSize picture, QSize output, const QString& extension)
{
    // A skewed area's texture is warped afresh onto the box of its corners
    // for every texture; a plain one is tiled over its outline.
    const qint64 laying = area.IsSkewApplied() && area.HasSkewCorners()
                              ? kWarpWeight * Pixels(area.GetSkewedTextureRect().size())
                              : kTileWeight * Pixels(area.GetOutlineBounds().size());
    return kPictureWeight * Pixels(picture) + laying + EncodeWeight(extension) * Pixels(output);
}

qint64 Estimate(qint64 roomCost, QSize texture)
{
    if (!texture.isValid() || texture.isEmpty())
        return kSkipped;
    return roomCost + kDecodeWeight * Pixels(texture);
}

} // namespace RenderCost
