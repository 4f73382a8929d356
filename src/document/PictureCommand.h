#pragma once

#include "DocCommand.h"

#include "StoredImage.h"

#include <QImage>

#include <optional>

// Replaces the template's picture; the images are shared with the document,
// not copied.
class CPictureCommand : public CDocCommand
{
public:
    CPictureCommand(CTemplateContent& content, const QString& text, std::optional<CStoredImage> before,
                    std::optional<CStoredImage> after);

    void redo() override;
    void undo() override;

protected:
    void VisitOwnImages(const std::function<void(const QImage&)>& visit) const override;

private:
    // With the bytes each picture is saved as, so that an undone change of
    // picture saves the old one as it was read.
    std::optional<CStoredImage> m_before;
    std::optional<CStoredImage> m_after;
};
