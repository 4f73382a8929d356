#pragma once

#include "DocCommand.h"

#include "geometry/Selection.h"

// Replaces the selection. The template's content is untouched, so the step
// leaves the modified flag as it is. Both selections are shared values: an
// undo or redo draws the outline it had without working it out again.
class CSelectionCommand : public CDocCommand
{
public:
    CSelectionCommand(CTemplateContent& content, const QString& text, CSelection before, CSelection after,
                      QUndoCommand* parent = nullptr);

    void redo() override;
    void undo() override;

private:
    CSelection m_before;
    CSelection m_after;
};
