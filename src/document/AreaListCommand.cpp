#include "AreaListCommand.h"

#include "TemplateContent.h"

CAreaListCommand::CAreaListCommand(CTemplateContent& content, const QString& text, Action action, int index, CArea area,
                                   QUndoCommand* parent)
    : CDocCommand(content, text, true, parent), m_action(action), m_nIndex(index), m_area(std::move(area))
{
}

void CAreaListCommand::Insert()
{
    Content().InsertAreaAt(m_nIndex, m_area);
}

void CAreaListCommand::Remove()
{
    m_area = Content().RemoveAreaAt(m_nIndex);
}

void CAreaListCommand::redo()
{
    m_action == Action::Insert ? Insert() : Remove();
}

void CAreaListCommand::undo()
{
    m_action == Action::Insert ? Remove() : Insert();
}

void CAreaListCommand::VisitOwnImages(const std::function<void(const QImage&)>& visit) const
{
    VisitArea(m_area, visit);
}
