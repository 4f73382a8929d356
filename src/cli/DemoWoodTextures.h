#pragma once

#include <QImage>

// The "wood" group of the demo textures: boards laid in rows or in a
// herringbone.
class CDemoWoodTextures
{
public:
    static QImage OakPlanks();
    static QImage Walnut();
    static QImage Herringbone();
};
