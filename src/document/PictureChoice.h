#pragma once

#include "StoredImage.h"

#include <QString>
#include <optional>

class IDocumentPrompts;

// A picture or texture file the user chose (Select picture, a swatch, a
// drop), read as the template will keep it. Whatever stands in the way is
// put to the user here, so that every way of choosing says the same.
class CPictureChoice
{
public:
    // The file's image, or nothing when it cannot be read (the error is
    // shown) or is damaged and the user would rather not use it.
    static std::optional<CStoredImage> Load(IDocumentPrompts& prompts, const QString& path);
};
