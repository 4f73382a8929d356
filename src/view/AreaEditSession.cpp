#include "view/AreaEditSession.h"

#include "document/TilemontDoc.h"
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
    EditedDocument().SetAreaEditFlags(id, edit, preview);
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
