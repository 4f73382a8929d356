#include "PictureCommand.h"

#include "TemplateContent.h"

CPictureCommand::CPictureCommand(CTemplateContent& content, const QString& text, std::optional<QImage> before,
                                 std::optional<QImage> after)
    : CDocCommand(content, text, true), m_before(std::move(before)), m_after(std::move(after))
{
}

void CPictureCommand::redo()
{
    Content().ReplacePicture(m_after ? std::make_unique<QImage>(*m_after) : nullptr);
}

void CPictureCommand::undo()
{
    Content().ReplacePicture(m_before ? std::make_unique<QImage>(*m_before) : nullptr);
}

void CPictureCommand::VisitOwnImages(const std::function<void(const QImage&)>& visit) const
{
    if (m_before)
        visit(*m_before);
    if (m_after)
        visit(*m_after);
}
