#include "PictureCommand.h"

#include "TemplateContent.h"

CPictureCommand::CPictureCommand(CTemplateContent& content, const QString& text,
                                 std::optional<CStoredImage> before, std::optional<CStoredImage> after)
    : CDocCommand(content, text, true), m_before(std::move(before)), m_after(std::move(after))
{
}

void CPictureCommand::redo()
{
    Content().ReplacePicture(m_after ? std::make_unique<QImage>(m_after->Image()) : nullptr,
                             m_after ? m_after->Jpeg() : QByteArray());
}

void CPictureCommand::undo()
{
    Content().ReplacePicture(m_before ? std::make_unique<QImage>(m_before->Image()) : nullptr,
                             m_before ? m_before->Jpeg() : QByteArray());
}

void CPictureCommand::VisitOwnImages(const std::function<void(const QImage&)>& visit) const
{
    if (m_before)
        visit(m_before->Image());
    if (m_after)
        visit(m_after->Image());
}
