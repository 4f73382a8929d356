#pragma once

#include <QImage>

// The "tiles" group of the demo textures: glazed and fired tiles with joints.
class CDemoTileTextures
{
public:
    static QImage WhiteCeramic();
    static QImage Terracotta();
    static QImage MarbleCheckerboard();
    static QImage BlueMosaic();
};
