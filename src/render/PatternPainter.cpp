#include "PatternPainter.h"

#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <thread>

namespace {

struct CVariant
{
    QImage image;
    QTransform toFrame; // image pixels to the piece frame (cm)
};

std::vector<CVariant> PrepareVariants(const CLayingPattern& p, double pxPerCm)
{
    std::vector<CVariant> out;
    const int w = std::max(1, static_cast<int>(std::lround(p.widthCm * pxPerCm)));
    const int h = std::max(1, static_cast<int>(std::lround(p.heightCm * pxPerCm)));
    for (const CPieceImage& piece : p.variants) {
        QImage image = piece.image.convertToFormat(QImage::Format_RGB32);
        if (image.isNull())
            image = QImage(1, 1, QImage::Format_RGB32), image.fill(p.jointColour);
        // Only ever averaged down: enlarging is left to the painter's
        // bilinear sampling, which needs no copy.
        if (image.width() > w || image.height() > h)
            image = image.scaled(std::min(w, image.width()), std::min(h, image.height()), Qt::IgnoreAspectRatio,
                                 Qt::SmoothTransformation);
        CVariant v;
        v.toFrame = QTransform::fromScale(p.widthCm / image.width(), p.heightCm / image.height());
        v.image = std::move(image);
        out.push_back(std::move(v));
    }
    return out;
}

void PaintStrip(QImage& strip, int top, const std::vector<CVariant>& variants, const std::vector<CLaidPiece>& pieces,
                const QTransform& surfaceToTexture, QRgb joint)
{
    strip.fill(joint);
    QPainter painter(&strip);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setPen(Qt::NoPen);
    const QTransform toStrip = surfaceToTexture * QTransform::fromTranslate(0, -top);
    const QRectF area(0, 0, strip.width(), strip.height());
    for (const CLaidPiece& piece : pieces) {
        QPolygonF shape;
        shape.reserve(static_cast<qsizetype>(piece.shape.size()));
        for (const QPointF& v : piece.shape)
            shape << toStrip.map(v);
        if (!shape.boundingRect().intersects(area))
            continue;
        const CVariant& variant = variants[static_cast<std::size_t>(piece.variant) % variants.size()];
        QBrush brush(variant.image);
        brush.setTransform(variant.toFrame * piece.imageToSurface * toStrip);
        painter.setBrush(brush);
        painter.drawPolygon(shape);
    }
}

} // namespace

QImage CPatternPainter::Paint(const CLayingPattern& pattern, const std::vector<CLaidPiece>& pieces, QSize size,
                              const QTransform& surfaceToTexture, double pxPerCm)
{
    QImage texture(size, QImage::Format_RGB32);
    if (texture.isNull())
        return texture;
    const QRgb joint = pattern.jointColour | 0xFF000000u;
    if (pattern.variants.empty() || pieces.empty()) {
        texture.fill(joint);
        return texture;
    }
    const std::vector<CVariant> variants = PrepareVariants(pattern, pxPerCm);
    // Strips share the texture's memory; each painter sees only its own
    // rows, and the coverage of an edge does not depend on the strip.
    const int threads = std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, 8);
    const int strips = size.height() >= 256 ? threads : 1;
    const int rows = (size.height() + strips - 1) / strips;
    uchar* const bits = texture.bits();
    std::vector<std::thread> workers;
    for (int s = 0; s < strips; ++s) {
        const int top = s * rows, height = std::min(rows, size.height() - top);
        if (height <= 0)
            break;
        auto run = [&, top, height] {
            QImage strip(bits + static_cast<qsizetype>(top) * texture.bytesPerLine(), texture.width(), height, texture.bytesPerLine(),
                         QImage::Format_RGB32);
            PaintStrip(strip, top, variants, pieces, surfaceToTexture, joint);
        };
        if (s + 1 == strips)
            run();
        else
            workers.emplace_back(run);
    }
    for (std::thread& t : workers)
        t.join();
    return texture;
}
