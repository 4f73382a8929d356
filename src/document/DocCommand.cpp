#include "DocCommand.h"

#include <QImage>

CDocCommand::CDocCommand(CTemplateContent& content, const QString& text, bool changesContent,
                         QUndoCommand* parent)
    : QUndoCommand(text, parent), m_content(content), m_bChangesContent(changesContent)
{
}

bool CDocCommand::ChangesContent() const
{
    if (m_bChangesContent)
        return true;
    for (int i = 0; i < childCount(); ++i)
        if (const auto* step = dynamic_cast<const CDocCommand*>(child(i)); step && step->ChangesContent())
            return true;
    return false;
}

void CDocCommand::VisitImages(const std::function<void(const QImage&)>& visit) const
{
    VisitOwnImages(visit);
    for (int i = 0; i < childCount(); ++i)
        if (const auto* step = dynamic_cast<const CDocCommand*>(child(i)))
            step->VisitImages(visit);
}

void CDocCommand::VisitArea(const CArea& area, const std::function<void(const QImage&)>& visit)
{
    if (const QImage* texture = area.GetTexture())
        visit(*texture);
    if (const auto skewed = area.GetStoredWarp())
        visit(*skewed);
}
