#include "SelectionCommand.h"

CSelectionCommand::CSelectionCommand(CTilemontDoc& doc, const QString& text, CPolygon before, CPolygon after,
                                     QUndoCommand* parent)
    : CDocCommand(doc, text, false, parent), m_before(std::move(before)), m_after(std::move(after))
{
}

void CSelectionCommand::redo()
{
    SetSelectionPolygon(m_after);
}

void CSelectionCommand::undo()
{
    SetSelectionPolygon(m_before);
}
