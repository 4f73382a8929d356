#include "render/SkewedTexture.h"

#include "render/WarpToQuad.h"

#include <QBrush>
#include <QPainter>

#include <algorithm>
#include <cstdint>

QTransform TextureTransform(double rotationDeg, int shiftX, int shiftY, double scale)
{
    const float rotation = static_cast<float>(rotationDeg);
    const float dx = static_cast<float>(shiftX);
    const float dy = static_cast<float>(shiftY);
    const float factor = static_cast<float>(scale);
    // Qt composes right to left: p -> R(T(S(p))).
    return QTransform().rotate(rotation).translate(dx, dy).scale(factor, factor);
}

CHomography TexturePlacement(double rotationDeg, int shiftX, int shiftY, double scale)
{
    const QTransform t = TextureTransform(rotationDeg, shiftX, shiftY, scale);
    return CHomography::Affine(t.m11(), t.m12(), t.m21(), t.m22(), t.dx(), t.dy());
}

QBrush TextureBrush(const QImage& texture, const QTransform& placement)
{
    // Qt would lay a texture it cannot place in unscaled from the device's
    // corner, so that it neither scales nor moves with the picture.
    if (!placement.isInvertible())
        return QBrush(texture.scaled(1, 1, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).pixelColor(0, 0));
    QBrush brush(texture);
    brush.setTransform(placement);
    return brush;
}

QImage RenderSkewedTexture(const QImage& texture, double rotation, int shiftX, int shiftY,
                           double scale, QSize canvasSize,
                           const std::array<QPoint, 4>& skewCorners, const WarpOptions& warpOptions)
{
    if (texture.isNull())
        return QImage();

    const std::int64_t w = std::max(0, canvasSize.width());
    const std::int64_t h = std::max(0, canvasSize.height());
    if (w * h > kWarpMaxPixels)
        return QImage();

    QImage flat;
    if (w > 0 && h > 0) {
        QImage canvas(static_cast<int>(w), static_cast<int>(h), QImage::Format_RGB16);
        if (canvas.isNull())
            return QImage();
        // Transparent texels settle on white.
        canvas.fill(Qt::white);
        {
            QPainter painter(&canvas);
            painter.setRenderHint(QPainter::Antialiasing, false);
            painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
            painter.fillRect(QRect(0, 0, static_cast<int>(w), static_cast<int>(h)),
                             TextureBrush(texture, TextureTransform(rotation, shiftX, shiftY, scale)));
        }
        flat = canvas.convertToFormat(QImage::Format_RGB32);
        if (flat.isNull())
            return QImage();
    }

    const auto& [topLeft, topRight, bottomLeft, bottomRight] = skewCorners;
    const QImage warped = WarpToQuad(flat, {bottomRight, topRight, topLeft, bottomLeft}, warpOptions);
    if (warped.isNull())
        return QImage();
    // The warp works turned by 180 degrees; turn it back.
    return warped.mirrored(true, true);
}
