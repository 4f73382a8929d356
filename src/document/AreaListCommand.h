#pragma once

#include "DocCommand.h"

// Puts an area into the list at a position, or takes it out; undoing does
// the other. The area keeps its identity both ways.
class CAreaListCommand : public CDocCommand
{
public:
    enum class Action { Insert, Remove };

    CAreaListCommand(CTemplateContent& content, const QString& text, Action action, int index, CArea area,
                     QUndoCommand* parent = nullptr);

    void redo() override;
    void undo() override;

protected:
    void VisitOwnImages(const std::function<void(const QImage&)>& visit) const override;

private:
    void Insert();
    void Remove();

    Action m_action;
    int m_nIndex;
    // The area while it is out of the list.
    CArea m_area;
};
