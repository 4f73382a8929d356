#include "PictureChoice.h"

#include "IDocumentPrompts.h"
#include "ImageCodec.h"
#include "Messages.h"

#include <QDir>

std::optional<CStoredImage> CPictureChoice::Load(IDocumentPrompts& prompts, const QString& path)
{
    const QString shown = QDir::toNativeSeparators(path);
    QString error;
    bool damaged = false;
    std::optional<CStoredImage> image = LoadStoredImage(path, &error, &damaged);
    if (!image || image->IsNull()) {
        prompts.ShowError(!error.isEmpty() ? error : Messages::kNotAPicture.arg(shown));
        return std::nullopt;
    }
    // A cut-short file decodes to a picture that is mostly grey; the user
    // may still want the part there is, but must not get it unawares.
    if (damaged && prompts.Ask(Messages::kUseDamagedPicture.arg(shown), false) != IDocumentPrompts::Answer::Yes)
        return std::nullopt;
    return image;
}
