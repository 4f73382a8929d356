#pragma once

#include <QByteArray>
#include <cstdint>
#include <vector>

class CArchiveReader;
class CArchiveWriter;
class CArea;

// The block after the extension block that holds the areas' laying
// patterns: written only when some area has one, so every other template
// keeps its bytes, and skipped by readers that stop after the extension.
//
// Layout (little-endian): the tag "TLMP", u32 version, u32 payload length,
// the payload, u32 CRC-32 of the payload. Version 1 payload: u32 area count
// (the file's), then per area u32 1 with a pattern or 0 without; a pattern
// is u32 layout, f64 piece width cm, f64 height cm, f64 angle degrees, f64
// joint mm, u32 joint colour 0xAARRGGBB, u32 seed, u32 flags (bit 0 half
// turns, bit 1 quarter turns), u32 origin kind, f64 origin x, y (picture
// pixels), u32 variant count and per variant u32 length and the image file.
class CPatternBlock
{
public:
    enum class Outcome
    {
        Absent,
        Applied,
        Unusable,
    };

    static constexpr std::uint32_t kVersion = 1;

    static bool IsNeeded(const std::vector<CArea>& areas);
    static void Write(CArchiveWriter& ar, const std::vector<CArea>& areas);
    // Sets the areas' patterns only when the whole block is sound; never
    // throws.
    static Outcome Read(CArchiveReader& ar, std::vector<CArea>& areas);
};
