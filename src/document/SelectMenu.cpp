#include "document/SelectMenu.h"

#include "document/IDocumentPrompts.h"
#include "geometry/PolygonClip.h"
#include "geometry/PolygonOffset.h"

#include <QCoreApplication>

CPolygon SelectMenu::All(QSize picture)
{
    if (picture.isEmpty())
        return CPolygon();
    const double w = picture.width(), h = picture.height();
    return CPolygon{{CContour{QPointF(0, 0), QPointF(w, 0), QPointF(w, h), QPointF(0, h)}}};
}

CPolygon SelectMenu::Inverted(const CPolygon& selection, QSize picture)
{
    return PolygonClip(ClipOp::Difference, All(picture), selection);
}

CPolygon SelectMenu::Resized(const CPolygon& selection, int pixels, QSize picture)
{
    if (pixels >= 0)
        return PolygonClip(ClipOp::Intersection, All(picture), OffsetPolygon(selection, pixels));
    // Shrunk only where it borders unselected picture: the picture's edge
    // is where the photo stops, not where the surface does, so a floor
    // selected to the bottom edge stays there. What is left out grows
    // into the selection instead.
    const CPolygon outside = Inverted(selection, picture);
    return PolygonClip(ClipOp::Difference, PolygonClip(ClipOp::Intersection, All(picture), selection),
                       OffsetPolygon(outside, -pixels));
}

std::optional<int> SelectMenu::AskPixels(IDocumentPrompts& prompts, bool grow)
{
    const QString caption = grow ? QCoreApplication::translate("SelectMenu", "Grow Selection")
                                 : QCoreApplication::translate("SelectMenu", "Shrink Selection");
    const QString label = grow ? QCoreApplication::translate("SelectMenu", "Grow the selection by (pixels):")
                               : QCoreApplication::translate("SelectMenu", "Shrink the selection by (pixels):");
    const std::optional<QString> answer = prompts.AskName(caption, label, QStringLiteral("1"));
    if (!answer)
        return std::nullopt;
    bool ok = false;
    const int pixels = answer->trimmed().toInt(&ok);
    if (!ok || pixels < 1 || pixels > kMaxPixels) {
        prompts.ShowError(QCoreApplication::translate("SelectMenu", "Give a whole number of pixels from 1 to %1.")
                              .arg(kMaxPixels));
        return std::nullopt;
    }
    return pixels;
}
