#pragma once

#include "document/AreaNames.h"
#include "document/TemplateFile.h"

#include <QString>
#include <optional>

// The template file a command reads, or nothing once the reason is printed.
std::optional<CTemplateData> LoadTemplateOrSay(const QString& path);

// The same for a command that needs the picture: a template without one is
// refused as having "no picture to <purpose>".
std::optional<CTemplateData> LoadTemplateWithPicture(const QString& path, const QString& purpose);
