#pragma once

#include <QByteArray>
#include <QImage>
#include <QPointF>
#include <QRgb>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

// How the pieces of a product lie in a row of rows.
enum class ELayout : std::uint32_t
{
    Straight = 0,
    OffsetHalf = 1,
    OffsetThird = 2,
    RandomOffset = 3,
    Herringbone = 4,
    Chevron = 5,
    Basket = 6,
    Diagonal = 7,
};
inline constexpr std::uint32_t kLayoutCount = 8;

// Where the first whole piece starts on the surface.
enum class EPatternOrigin : std::uint32_t
{
    Corner = 0,   // the top-left of the area's bounds on its surface
    Centre = 1,   // the middle of those bounds
    Point = 2,    // a picture point the user chose
    Balanced = 3, // wherever the cut pieces at the edges come out widest
};

// The command-line and file names of the layouts, "straight" ..
// "diagonal", and back; nothing for a name that is none.
QString LayoutName(ELayout layout);
std::optional<ELayout> LayoutFromName(const QString& name);

// One photograph of one whole piece, without grout; the file's bytes are
// what a template keeps, the pixels what is drawn.
struct CPieceImage
{
    QImage image;
    QByteArray bytes;
    bool operator==(const CPieceImage& other) const { return bytes == other.bytes; }
};

// A product laid piece by piece into an area: the pieces' images and real
// size, the layout, the joints between them and how the pieces vary. The
// texture the area draws is made from it, so everything that draws a
// texture draws the pattern too.
struct CLayingPattern
{
    std::vector<CPieceImage> variants;
    double widthCm = 0.0;  // the piece's real width (its image's x)
    double heightCm = 0.0; // and height (its image's y)
    ELayout layout = ELayout::Straight;
    double angleDeg = 0.0; // the whole pattern turned on the surface
    double jointMm = 0.0;
    QRgb jointColour = qRgb(200, 196, 188);
    std::uint32_t seed = 1;
    bool turn180 = true; // pieces may lie turned by half a turn
    bool turn90 = false; // square pieces may also lie turned by a quarter
    EPatternOrigin origin = EPatternOrigin::Corner;
    QPointF originPoint; // picture pixels, for EPatternOrigin::Point

    bool IsUsable() const { return !variants.empty() && widthCm > 0.0 && heightCm > 0.0 && jointMm >= 0.0; }
    bool operator==(const CLayingPattern&) const = default;
};

// A piece's photograph from a file: the file's bytes are kept when it is a
// JPEG or PNG, any other picture is kept as PNG. Nothing, with the reason,
// when the file cannot be read as a picture.
std::optional<CPieceImage> LoadPieceImage(const QString& path, QString* error = nullptr);

// A piece made from pixels alone, kept as PNG.
CPieceImage PieceFromImage(const QImage& image);
