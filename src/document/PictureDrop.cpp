#include "PictureDrop.h"

#include "IDocumentPrompts.h"
#include "PictureChoice.h"
#include "TilemontDoc.h"
#include "geometry/Polygon.h"

#include <QDir>
#include <QPainterPath>

AreaId CPictureDrop::AreaAt(const CTilemontDoc& doc, QPointF picturePoint)
{
    const std::vector<CArea>& areas = doc.GetAreas();
    // Later areas are drawn over earlier ones: the one the user sees wins.
    for (auto it = areas.rbegin(); it != areas.rend(); ++it) {
        QPainterPath outline;
        PolygonToPath(it->GetOutline(), outline);
        outline.setFillRule(Qt::OddEvenFill);
        if (outline.contains(picturePoint))
            return doc.IdOf(&*it);
    }
    return 0;
}

bool CPictureDrop::Lay(CTilemontDoc& doc, IDocumentPrompts& prompts, const QString& path, QPointF picturePoint,
                       std::optional<double> realWidthCm)
{
    const QString shown = QDir::toNativeSeparators(path);
    // Decoded before anything else is asked: a file that cannot be used is
    // not worth a question.
    std::optional<CStoredImage> image = CPictureChoice::Load(prompts, path);
    if (!image)
        return false;
    if (const AreaId area = doc.GetPicture() ? AreaAt(doc, picturePoint) : 0)
        return doc.LayTexture(area, *image, realWidthCm);
    return doc.OfferPicture(std::move(*image), shown);
}
