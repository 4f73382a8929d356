#include "DocCommand.h"

#include "TilemontDoc.h"

#include <QImage>

CDocCommand::CDocCommand(CTilemontDoc& doc, const QString& text, bool changesContent, QUndoCommand* parent)
    : QUndoCommand(text, parent), m_doc(doc), m_bChangesContent(changesContent)
{
}

bool CDocCommand::ChangesContent() const
{
    if (m_bChangesContent)
        return true;
    for (int i = 0; i < childCount(); ++i)
        if (const auto* step = dynamic_cast<const CDocCommand*>(child(i)); step && step->ChangesContent())
            return true;
    return false;
}

void CDocCommand::VisitImages(const std::function<void(const QImage&)>& visit) const
{
    VisitOwnImages(visit);
    for (int i = 0; i < childCount(); ++i)
        if (const auto* step = dynamic_cast<const CDocCommand*>(child(i)))
            step->VisitImages(visit);
}

void CDocCommand::InsertArea(int index, CArea area) const
{
    m_doc.InsertAreaAt(index, std::move(area));
}

CArea CDocCommand::RemoveArea(int index) const
{
    return m_doc.RemoveAreaAt(index);
}

void CDocCommand::ReplaceArea(CArea area) const
{
    m_doc.ReplaceArea(std::move(area));
}

void CDocCommand::SetPicture(const std::optional<QImage>& picture) const
{
    m_doc.ReplacePicture(picture ? std::make_unique<QImage>(*picture) : nullptr);
}

void CDocCommand::SetSelectionPolygon(const CPolygon& polygon) const
{
    m_doc.ReplaceSelection(polygon);
}

void CDocCommand::SetSelectedArea(AreaId id) const
{
    m_doc.SetSelectedAreaId(id);
}

void CDocCommand::VisitArea(const CArea& area, const std::function<void(const QImage&)>& visit)
{
    if (const QImage* texture = area.GetTexture())
        visit(*texture);
    if (const auto skewed = area.GetSkewedTexture())
        visit(*skewed);
}
