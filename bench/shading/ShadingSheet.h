#pragma once

#include <QString>

// A contact sheet for a person to judge the light layer on real
// photographs: per photograph (NNN/photo.jpg or .png with NNN/floor.png and
// perhaps NNN/ignore.png) the photo, a new floor laid without Keep Shading,
// and the same with it, side by side. Kept wherever the caller says, never
// in the repository.
class CShadingSheet
{
public:
    static bool Draw(const QString& folder, const QString& sheet);
};
