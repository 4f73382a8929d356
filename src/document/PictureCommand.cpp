#include "PictureCommand.h"

CPictureCommand::CPictureCommand(CTilemontDoc& doc, const QString& text, std::optional<QImage> before,
                                 std::optional<QImage> after)
    : CDocCommand(doc, text, true), m_before(std::move(before)), m_after(std::move(after))
{
}

void CPictureCommand::redo()
{
    SetPicture(m_after);
}

void CPictureCommand::undo()
{
    SetPicture(m_before);
}

void CPictureCommand::VisitOwnImages(const std::function<void(const QImage&)>& visit) const
{
    if (m_before)
        visit(*m_before);
    if (m_after)
        visit(*m_after);
}
