#pragma once

#include "DocCommand.h"

// Changes which area is picked, as part of a larger step: deleting the
// picked area lets go of it, and undoing the deletion picks it again.
class CSelectedAreaCommand : public CDocCommand
{
public:
    CSelectedAreaCommand(CTemplateContent& content, AreaId before, AreaId after, QUndoCommand* parent);

    void redo() override;
    void undo() override;

private:
    AreaId m_nBefore;
    AreaId m_nAfter;
};
