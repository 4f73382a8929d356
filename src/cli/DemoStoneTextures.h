#pragma once

#include <QImage>

// The "stone" group of the demo textures: slabs and cut stone.
class CDemoStoneTextures
{
public:
    static QImage Slate();
    static QImage GraniteSpeckle();
    static QImage Travertine();
};
