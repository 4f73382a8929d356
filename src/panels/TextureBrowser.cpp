#include "panels/TextureBrowser.h"

#include "document/ImageCodec.h"
#include "panels/ThumbnailArt.h"

#include <QImageReader>
#include <QPainter>

#include <algorithm>

namespace {

QSize DeviceSize(const QPainter& painter)
{
    return QSize(painter.device()->width(), painter.device()->height());
}

// The canvas in the units its painter draws in.
QSize CellSize(const QPainter& painter)
{
    return (QSizeF(DeviceSize(painter)) / painter.device()->devicePixelRatioF()).toSize();
}

} // namespace

CTextureBrowser::CTextureBrowser(QWidget* parent)
    : CThumbnailList(parent)
{
}

std::unique_ptr<QImage> CTextureBrowser::LoadFocusedImage(QString* error) const
{
    const QString path = FocusedPath();
    if (path.isEmpty())
        return nullptr;
    std::unique_ptr<QImage> image = LoadImageFile(path, error);
    return image ? std::move(image) : std::make_unique<QImage>();
}

CPreparedSwatch CTextureBrowser::PrepareSwatch(const QString& path, QSize cell)
{
    QImageReader reader(path);
    reader.setAutoTransform(false);
    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() > kMaxImagePixels)
        return {};
    const QRect box = PictureBox(cell);
    // Never an empty clip: that would mean "no clip" and decode everything.
    const QRect shown(0, 0, std::max(1, std::min(size.width(), box.width())),
                      std::max(1, std::min(size.height(), box.height())));
    if (size.isValid() && reader.transformation() == QImageIOHandler::TransformationNone) {
        // JPEG then decodes only the rows down to the bottom of the box.
        reader.setClipRect(shown);
        QImage picture;
        if (reader.read(&picture) && !picture.isNull())
            return {picture, size};
        return {};
    }
    // A turned camera picture or a format that keeps its size to itself:
    // decoded whole and upright, as the texture would be laid.
    const std::unique_ptr<QImage> whole = LoadImageFile(path, nullptr);
    if (!whole)
        return {};
    return {whole->copy(0, 0, std::min(whole->width(), std::max(1, box.width())),
                        std::min(whole->height(), std::max(1, box.height()))),
            whole->size()};
}

CSwatchJob CTextureBrowser::SwatchJob(const QString& path, QSize cell) const
{
    return [path, cell] { return PrepareSwatch(path, cell); };
}

bool CTextureBrowser::DrawCell(QPainter& normal, QPainter& selected, const QString& path)
{
    return DrawPreparedCell(normal, selected, path, PrepareSwatch(path, DeviceSize(normal)));
}

bool CTextureBrowser::DrawPreparedCell(QPainter& normal, QPainter& selected, const QString& path,
                                       const CPreparedSwatch& prepared)
{
    if (prepared.picture.isNull())
        return false;
    const QString caption = Caption(path);
    DrawSwatch(normal, prepared.picture, caption, QPalette::Window, QPalette::WindowText);
    DrawSwatch(selected, prepared.picture, caption, QPalette::Highlight, QPalette::HighlightedText);
    return true;
}

void CTextureBrowser::DrawSwatch(QPainter& painter, const QImage& picture, const QString& caption,
                                 QPalette::ColorRole fill, QPalette::ColorRole text) const
{
    const QSize cell = CellSize(painter);
    const QRect box = PictureBox(cell);
    painter.fillRect(QRect(QPoint(0, 0), cell), palette().color(fill));
    // A picture smaller than the box is centred; a larger one shows its
    // top-left part, one image pixel per screen pixel (so at 200 % a swatch
    // shows as much of the texture, as sharp, in half the size).
    const qreal scale = painter.device()->devicePixelRatioF();
    const int pixelsWide = int(box.width() * scale), pixelsHigh = int(box.height() * scale);
    const int dx = std::max(0, (pixelsWide - picture.width()) / 2);
    const int dy = std::max(0, (pixelsHigh - picture.height()) / 2);
    if (!box.isEmpty()) {
        QImage shown = picture;
        shown.setDevicePixelRatio(scale);
        painter.save();
        painter.setClipRect(box, Qt::IntersectClip);
        painter.drawImage(QPointF(box.left() + dx / scale, box.top() + dy / scale), shown);
        painter.restore();
    }
    ThumbnailArt::DrawCaption(painter, ThumbnailArt::CaptionRect(cell), caption, palette().color(text));
}
