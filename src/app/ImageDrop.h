#pragma once

#include "view/DropHandler.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class CTilemontDoc;

// A template window's drops: one picture file becomes the texture of the
// area it lands on, or else perhaps the template's picture. Templates and
// everything else are left to the main window.
class CImageDrop : public QObject, public IDropHandler
{
public:
    // A picture file's remembered real width (the texture catalogue's
    // record), which keeps a measured area at real scale.
    using WidthLookup = std::function<std::optional<double>(const QString& path)>;

    CImageDrop(CTilemontDoc& doc, WidthLookup widthOf) : m_doc(doc), m_widthOf(std::move(widthOf)) {}

    bool Accepts(const QMimeData* data) const override;
    void Drop(const QMimeData* data, QPointF picturePoint) override;

private:
    CTilemontDoc& m_doc;
    WidthLookup m_widthOf;
};
