#pragma once

#include <QRgb>
#include <cstdint>

// Every demo texture is this many pixels square and tiles without a seam.
inline constexpr int kDemoTextureSize = 256;

// Smooth value noise from hashed lattice points. The wrapping variants close
// the lattice over the texture so that what is built from them tiles.
class CDemoNoise
{
public:
    // A hash of one lattice point, in [0, 1).
    static double Lattice(std::int64_t i, std::int64_t j, std::uint32_t seed);

    // Noise in [0, 1) at (u, v) in lattice units on an endless lattice.
    static double Smooth(double u, double v, std::uint32_t seed);

    // Noise in [0, 1) at pixel (x, y) of a texture, from a lattice of
    // cellsX x cellsY cells spanning the texture and wrapping at its edges.
    static double Wrapped(double x, double y, int cellsX, int cellsY, std::uint32_t seed);

    // Octaves of Wrapped, each with twice the cells and half the weight of
    // the one before; in [0, 1).
    static double Fractal(double x, double y, int cells, int octaves, std::uint32_t seed);
};

// Colour arithmetic for the procedural drawings; t and factor are clamped
// so callers may pass noise sums without care.
QRgb MixRgb(QRgb a, QRgb b, double t);
QRgb ScaleRgb(QRgb c, double factor);
