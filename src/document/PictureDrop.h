#pragma once

#include "Area.h"

#include <QPointF>
#include <QString>
#include <optional>

class CTilemontDoc;
class IDocumentPrompts;

// A picture file let go on the template at a picture point: on an area it
// becomes that area's texture; elsewhere, or on a template without a
// picture, the user is asked whether it becomes the template's picture.
class CPictureDrop
{
public:
    // The topmost area whose outline holds the picture point, else 0.
    static AreaId AreaAt(const CTilemontDoc& doc, QPointF picturePoint);

    // Each outcome is one step. A file that cannot be decoded is reported
    // and changes nothing. True when the template changed.
    // realWidthCm: the file's remembered real width, which keeps a measured
    // area at real scale as a swatch pick does.
    static bool Lay(CTilemontDoc& doc, IDocumentPrompts& prompts, const QString& path, QPointF picturePoint,
                    std::optional<double> realWidthCm = std::nullopt);
};
