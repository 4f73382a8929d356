#pragma once

#include "Area.h"

#include <QPointF>
#include <QString>
#include <QStringList>
#include <optional>

class CTilemontDoc;
class QMimeData;
class IDocumentPrompts;

// What files dragged onto the editor mean: templates open, a picture becomes
// a texture or the template's picture, anything else is refused before the
// drop so the user sees the no-drop cursor instead of an error afterwards.
class CFileDrop
{
public:
    enum class Kind { Template, Image, Other };

    // The local files a drag carries; links to elsewhere are not files.
    static QStringList LocalFiles(const QMimeData* data);
    // By the name alone: a drag has to be answered before any file is read.
    static Kind Classify(const QString& path);
    // The templates among paths, in their order.
    static QStringList Templates(const QStringList& paths);
    // The one picture a drop onto a template window lays in, or nothing when
    // paths is not exactly one picture.
    static std::optional<QString> SingleImage(const QStringList& paths);

    // The topmost area whose outline holds the picture point, else 0.
    static AreaId AreaAt(const CTilemontDoc& doc, QPointF picturePoint);

    // The picture in path dropped at picturePoint: on an area it becomes
    // that area's texture; elsewhere, or on a template without a picture,
    // the user is asked whether it becomes the template's picture. Each is
    // one step. A file that cannot be decoded is reported and changes
    // nothing. True when the template changed.
    // realWidthCm: the file's remembered real width, which keeps a measured
    // area at real scale as a swatch pick does.
    static bool DropImage(CTilemontDoc& doc, IDocumentPrompts& prompts, const QString& path, QPointF picturePoint,
                          std::optional<double> realWidthCm = std::nullopt);
};
