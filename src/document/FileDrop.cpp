#include "FileDrop.h"

#include "IDocumentPrompts.h"
#include "ImageCodec.h"
#include "Messages.h"
#include "PictureChoice.h"
#include "TilemontDoc.h"
#include "geometry/Polygon.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QMimeData>
#include <QUrl>
#include <QPainterPath>

QStringList CFileDrop::LocalFiles(const QMimeData* data)
{
    QStringList files;
    if (!data)
        return files;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile())
            files << url.toLocalFile();
    return files;
}

CFileDrop::Kind CFileDrop::Classify(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("tlm"))
        return Kind::Template;
    if (suffix.isEmpty())
        return Kind::Other;
    // Whatever the installed decoders can read; the content is checked only
    // when the file is dropped.
    static const QList<QByteArray> formats = QImageReader::supportedImageFormats();
    return formats.contains(suffix.toLatin1()) ? Kind::Image : Kind::Other;
}

QStringList CFileDrop::Templates(const QStringList& paths)
{
    QStringList templates;
    for (const QString& path : paths)
        if (Classify(path) == Kind::Template)
            templates << path;
    return templates;
}

std::optional<QString> CFileDrop::SingleImage(const QStringList& paths)
{
    if (paths.size() != 1 || Classify(paths.front()) != Kind::Image)
        return std::nullopt;
    return paths.front();
}

AreaId CFileDrop::AreaAt(const CTilemontDoc& doc, QPointF picturePoint)
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

bool CFileDrop::DropImage(CTilemontDoc& doc, IDocumentPrompts& prompts, const QString& path, QPointF picturePoint,
                          std::optional<double> realWidthCm)
{
    const QString shown = QDir::toNativeSeparators(path);
    // Decoded before anything else is asked: a file that cannot be used is
    // not worth a question.
    std::optional<CStoredImage> image = CPictureChoice::Load(prompts, path);
    if (!image)
        return false;
    const AreaId area = doc.GetPicture() ? AreaAt(doc, picturePoint) : 0;
    if (!area && prompts.Ask(Messages::kUseAsPicture.arg(shown), false) != IDocumentPrompts::Answer::Yes)
        return false;
    if (area)
        return doc.LayTexture(area, *image, realWidthCm);
    doc.SetPicture(std::move(*image));
    doc.UpdateAllViews();
    return true;
}
