#pragma once

#include "DocCommand.h"

// Changes which area is picked, as part of a larger step: deleting the
// picked area lets go of it, and undoing the deletion picks it again.
class CSelectedAreaCommand : public CDocCommand
{
public:
    CSelectedAreaCommand(CTilemontDoc& doc, AreaId before, AreaId after, QUndoCommand* parent);

    void redo() override { SetSelectedArea(m_nAfter); }
    void undo() override { SetSelectedArea(m_nBefore); }

private:
    AreaId m_nBefore;
    AreaId m_nAfter;
};
