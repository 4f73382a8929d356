#include "SelectedAreaCommand.h"

#include "TemplateContent.h"

CSelectedAreaCommand::CSelectedAreaCommand(CTemplateContent& content, AreaId before, AreaId after, QUndoCommand* parent)
    : CDocCommand(content, QString(), false, parent), m_nBefore(before), m_nAfter(after)
{
}

void CSelectedAreaCommand::redo()
{
    Content().SetSelectedAreaId(m_nAfter);
}

void CSelectedAreaCommand::undo()
{
    Content().SetSelectedAreaId(m_nBefore);
}
