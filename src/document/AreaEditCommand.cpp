#include "AreaEditCommand.h"

#include "TemplateContent.h"

CAreaEditCommand::CAreaEditCommand(CTemplateContent& content, const QString& text, CArea before, CArea after,
                                   const CPolygon& selection, Options options)
    : CDocCommand(content, text, true), m_before(std::move(before)), m_after(std::move(after)),
      m_selectionBefore(selection), m_options(options)
{
}

void CAreaEditCommand::redo()
{
    Content().ReplaceArea(m_after);
    if (m_options.selectionFollows)
        Content().ReplaceSelection(m_after.GetOutline());
}

void CAreaEditCommand::undo()
{
    Content().ReplaceArea(m_before);
    if (m_options.selectionFollows)
        Content().ReplaceSelection(m_selectionBefore);
}

bool CAreaEditCommand::mergeWith(const QUndoCommand* other)
{
    const auto* next = dynamic_cast<const CAreaEditCommand*>(other);
    if (!next || !next->m_options.joinsRun || next->m_after.GetId() != m_after.GetId() ||
        next->m_options.selectionFollows != m_options.selectionFollows)
        return false;
    m_after = next->m_after;
    // An edit run that ends where it began leaves nothing to undo.
    setObsolete(!m_options.selectionFollows && m_after == m_before);
    return true;
}

void CAreaEditCommand::VisitOwnImages(const std::function<void(const QImage&)>& visit) const
{
    VisitArea(m_before, visit);
    VisitArea(m_after, visit);
}
