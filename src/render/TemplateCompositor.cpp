#include "TemplateCompositor.h"

#include "AreaDraw.h"
#include "AreaShading.h"
#include "LightLayerStore.h"

#include <QPainter>

QImage ComposeTemplate(const QImage& picture, const std::vector<CArea>& areas,
                       const std::function<bool(int done, int count)>& onArea, const CComposeOptions& options)
{
    QImage canvas(picture.size(), QImage::Format_RGB16);
    if (canvas.isNull())
        return QImage();
    canvas.fill(Qt::black);
    QPainter painter(&canvas);
    // Scaled and rotated textures are sampled smoothly, as on screen.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(QPoint(0, 0), picture);
    const int count = static_cast<int>(areas.size());
    for (int i = 0; i < count; ++i) {
        const CArea& area = areas[static_cast<std::size_t>(i)];
        // Measured on the picture, not the canvas: an area drawn before
        // must not shade the next.
        // (The view has mostly measured it already.)
        const std::shared_ptr<const CAreaShading> shading =
            options.keepShading && area.GetTexture()
                ? CLightLayerStore::Shared().Shading(picture, area.GetOutline(), options.StrengthOf(area))
                : nullptr;
        DrawArea(painter, area, {.shading = shading.get(), .warps = options.warps});
        if (onArea && !onArea(i + 1, count))
            return QImage();
    }
    painter.end();
    return canvas;
}
