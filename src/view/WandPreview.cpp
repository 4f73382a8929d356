#include "view/WandPreview.h"

#include "analysis/MaskOutline.h"

#include <algorithm>
#include <cmath>

void CWandPreview::SetPicture(const QImage* picture)
{
    if (!picture || picture->isNull()) {
        m_wand.reset();
        m_reduced.reset();
        m_pictureKey = 0;
        return;
    }
    if (m_wand && picture->cacheKey() == m_pictureKey)
        return;
    m_pictureKey = picture->cacheKey();
    m_wand = std::make_unique<CMagicWand>(*picture);
    const qint64 pixels = qint64(picture->width()) * picture->height();
    m_reduction = std::max(1, int(std::ceil(std::sqrt(double(pixels) / double(kPreviewPixels)))));
    // Every kept pixel is one of the picture's own, not a blend: the
    // preview then takes in the colours the release will.
    m_reduced = m_reduction == 1 ? std::make_unique<CMagicWand>(*picture)
                                 : std::make_unique<CMagicWand>(picture->scaled(
                                       std::max(1, picture->width() / m_reduction),
                                       std::max(1, picture->height() / m_reduction), Qt::IgnoreAspectRatio,
                                       Qt::FastTransformation));
}

CPolygon CWandPreview::Outline(QPoint seed, const SWandOptions& options) const
{
    if (!m_wand)
        return CPolygon();
    return MaskOutline(m_wand->Select(seed, options));
}

QImage CWandPreview::Overlay(QPoint seed, const SWandOptions& options) const
{
    if (!m_reduced)
        return QImage();
    SWandOptions reduced = options;
    reduced.minSpeck = options.minSpeck / (m_reduction * m_reduction);
    const QPoint at(std::min(seed.x() / m_reduction, m_reduced->Width() - 1),
                    std::min(seed.y() / m_reduction, m_reduced->Height() - 1));
    const CRegionMask mask = m_reduced->Select(at, reduced);
    QImage tint(mask.width, mask.height, QImage::Format_ARGB32_Premultiplied);
    if (tint.isNull())
        return tint;
    // A translucent blue, premultiplied: readable over any photograph.
    constexpr QRgb kTint = 0x70183c70;
    for (int y = 0; y < mask.height; ++y) {
        auto* out = reinterpret_cast<QRgb*>(tint.scanLine(y));
        const std::uint8_t* in = mask.Row(y);
        for (int x = 0; x < mask.width; ++x)
            out[x] = in[x] ? kTint : 0;
    }
    return tint;
}
