#pragma once

#include "DocCommand.h"

#include "geometry/Polygon.h"

// Replaces the selection's polygon. The template's content is untouched, so
// the step leaves the modified flag as it is.
class CSelectionCommand : public CDocCommand
{
public:
    CSelectionCommand(CTemplateContent& content, const QString& text, CPolygon before, CPolygon after,
                      QUndoCommand* parent = nullptr);

    void redo() override;
    void undo() override;

private:
    CPolygon m_before;
    CPolygon m_after;
};
