#pragma once

#include "DocCommand.h"

#include <QImage>

#include <optional>

// Replaces the template's picture; the images are shared with the document,
// not copied.
class CPictureCommand : public CDocCommand
{
public:
    CPictureCommand(CTemplateContent& content, const QString& text, std::optional<QImage> before,
                    std::optional<QImage> after);

    void redo() override;
    void undo() override;

protected:
    void VisitOwnImages(const std::function<void(const QImage&)>& visit) const override;

private:
    std::optional<QImage> m_before;
    std::optional<QImage> m_after;
};
