#include "TemplatePrint.h"

#include "PrintLayout.h"
#include "render/TemplateCompositor.h"

#include <QPainter>

CTemplatePrint::CTemplatePrint(const CTemplateSnapshot& snapshot, bool keepShading)
{
    if (snapshot.picture && !snapshot.picture->isNull())
        m_composed = ComposeTemplate(*snapshot.picture, snapshot.areas, {}, CComposeOptions{keepShading, snapshot.warps.get()});
}

QRectF CTemplatePrint::Paint(QPainter& painter, const QRectF& printable) const
{
    if (IsNull())
        return {};
    const QRectF target = CPrintLayout::Fit(QSizeF(m_composed.size()), printable);
    if (target.isEmpty())
        return {};
    painter.save();
    // A printer's resolution scales the picture up or down many times; a
    // smooth scale keeps tiles and edges from turning into stair steps.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(target, m_composed);
    painter.restore();
    return target;
}
