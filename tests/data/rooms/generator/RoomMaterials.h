#pragma once

#include <array>
#include <cstdint>

// Colours in [0, 1], linear enough for a test photograph.
using RoomRgb = std::array<double, 3>;

// A deterministic value in [0, 1) for an integer cell.
double RoomHash(std::int64_t i, std::int64_t j, std::uint32_t salt);

// The floor coverings of the test rooms, as functions of floor metres
// (u, v): what a pinhole camera sees before light and shade.
struct SFloorMaterial
{
    // Stone: cells of random polygons; Flagstones: the same with wandering
    // joints (no straight line runs far); Slabs: rectangles in running bond.
    enum class EKind { Tiles, Planks, Stone, Carpet, Flagstones, Slabs } kind = EKind::Tiles;
    RoomRgb base{0.8, 0.8, 0.8};
    RoomRgb joint{0.5, 0.5, 0.5};  // grout, gaps between planks, mortar
    double size = 0.3;             // tile side, plank width, stone cell
    double length = 1.2;           // planks and slabs
    double jointWidth = 0.006;
    double variation = 0.08;       // piece-to-piece tone
    double angle = 0.0;            // degrees the pattern is turned on the floor
    double lengthJitter = 0.0;     // planks: boards' lengths vary by up to this share
    double wobble = 0.0;           // flagstones: how far joints wander, metres
    int seed = 0;                  // another piece of the same floor: moves the pattern

    RoomRgb At(double x, double z) const;
};
