#include "SelectionCommand.h"

#include "TemplateContent.h"

CSelectionCommand::CSelectionCommand(CTemplateContent& content, const QString& text, CSelection before,
                                     CSelection after,
                                     QUndoCommand* parent)
    : CDocCommand(content, text, false, parent), m_before(std::move(before)), m_after(std::move(after))
{
}

void CSelectionCommand::redo()
{
    Content().ReplaceSelection(m_after);
}

void CSelectionCommand::undo()
{
    Content().ReplaceSelection(m_before);
}
