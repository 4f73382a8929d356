#include "view/AreaEditSession.h"

#include "document/TilemontDoc.h"
#include "render/AreaWarpUpdates.h"
#include "view/TilemontView.h"

CTilemontDoc& CAreaEditSession::EditedDocument() const
{
    return m_view.GetDocument();
}

QWidget* CAreaEditSession::Window()
{
    return &m_view;
}

void CAreaEditSession::PickArea(AreaId id)
{
    m_view.SetEditedArea(EditedDocument().FindArea(id));
}

void CAreaEditSession::SetSkewMode(bool on, AreaId id)
{
    m_view.SetSkewMode(on, EditedDocument().FindArea(id));
}

void CAreaEditSession::SetInitialRectMode(bool on, AreaId id)
{
    m_view.SetInitialRectMode(on, EditedDocument().FindArea(id));
}

void CAreaEditSession::SetSkewEditing(AreaId id, bool edit, bool preview)
{
    const CSkewEditing now{edit, preview};
    const CSkewEditing was = SkewEditing(id);
    if (now == was)
        return;
    if (now == CSkewEditing())
        m_editing.erase(id);
    else
        m_editing[id] = now;
    CTilemontDoc& doc = EditedDocument();
    const CArea* area = doc.FindArea(id);
    if (!area)
        return;
    // Leaving the corners keeps the exact warp of where they were left,
    // applied or not, and a preview switched on shows the exact one: the
    // file saved next stores what was last shown.
    if (area->GetTexture() && ((was.edit && !edit) || (edit && preview && !was.preview)))
        KeepExactWarp(doc.Warps(), *area);
    m_view.RecomposePicture(area->GetDrawBounds());
}

CSkewEditing CAreaEditSession::SkewEditing(AreaId id) const
{
    const auto it = m_editing.find(id);
    return it == m_editing.end() ? CSkewEditing() : it->second;
}

void CAreaEditSession::RefreshSkewHandles()
{
    m_view.RefreshSkewHandles();
}

void CAreaEditSession::RefreshInitialRectHandles()
{
    m_view.RefreshInitialRectHandles();
}

void CAreaEditSession::RepaintAll()
{
    m_view.InvalidateWholeClient();
}
