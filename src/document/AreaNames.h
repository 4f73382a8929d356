#pragma once

#include "document/Area.h"

#include <QString>

#include <cstddef>
#include <optional>
#include <vector>

// Areas as the command line and the catalogue name them: by their name.

// The index of the first area named name, if any.
std::optional<std::size_t> AreaIndexNamed(const std::vector<CArea>& areas, const QString& name);

// For a message naming an area that is not there: "its areas are "a",
// "b"" or "it has none".
QString AreaNames(const std::vector<CArea>& areas);
