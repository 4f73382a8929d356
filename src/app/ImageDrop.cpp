#include "app/ImageDrop.h"

#include "app/FileDrop.h"
#include "document/TilemontDoc.h"

bool CImageDrop::Accepts(const QMimeData* data) const
{
    return CFileDrop::SingleImage(CFileDrop::LocalFiles(data)).has_value();
}

void CImageDrop::Drop(const QMimeData* data, QPointF picturePoint)
{
    const std::optional<QString> image = CFileDrop::SingleImage(CFileDrop::LocalFiles(data));
    if (!image)
        return;
    // After the drop has been answered: a question asked inside it would
    // hold the program the file came from until the user replies. Gone with
    // the view, the handler takes the pending drop with it.
    QMetaObject::invokeMethod(
        this,
        [this, path = *image, picturePoint] {
            m_doc.DropImage(path, picturePoint, m_widthOf ? m_widthOf(path) : std::nullopt);
        },
        Qt::QueuedConnection);
}
