#pragma once

#include "document/TemplateFile.h"

#include <QString>
#include <optional>

// The template file a command reads, or nothing once the reason is printed.
std::optional<CTemplateData> LoadTemplateOrSay(const QString& path);

// For a message naming an area that is not there: "its areas are "a",
// "b"" or "it has none".
QString AreaNames(const std::vector<CArea>& areas);

// The same for a command that needs the picture: a template without one is
// refused as having "no picture to <purpose>".
std::optional<CTemplateData> LoadTemplateWithPicture(const QString& path, const QString& purpose);
