#pragma once

#include <QImage>
#include <functional>

// Lays rectangular tiles with grout joints over a demo texture, pixel by
// pixel. The joints fall on the texture's edges, so the result tiles.
class CDemoTileGrid
{
public:
    // Where one pixel centre lies: the tile's column and row, the position
    // inside the tile and the position in the texture.
    struct Pixel
    {
        int col;
        int row;
        double lx;
        double ly;
        double x;
        double y;
    };
    using TileColour = std::function<QRgb(const Pixel&)>;

    // Tiles of cellW x cellH pixels (each dividing the texture size); every
    // odd row is shifted right by stagger pixels. grout is the joint width.
    static QImage Paint(int cellW, int cellH, int stagger, double grout, QRgb groutColour,
                        const TileColour& tile);
};
