#include "SelectedAreaCommand.h"

CSelectedAreaCommand::CSelectedAreaCommand(CTilemontDoc& doc, AreaId before, AreaId after, QUndoCommand* parent)
    : CDocCommand(doc, QString(), false, parent), m_nBefore(before), m_nAfter(after)
{
}
