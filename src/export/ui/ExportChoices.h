#pragma once

#include <cstdint>

// What the Export dialog remembers from one export to the next while the
// program runs: the format, each options page's settings and the "keep
// aspect" box. Not the size, which follows the template's picture, nor the
// file name, which follows the export counter.
struct CExportChoices
{
    // The format list's item id; 0 until a first export chose one.
    int formatId = 0;
    bool keepAspect = true;
    int jpegQuality = 100;
    // -1 leaves a list at the encoder's default.
    std::int32_t jpegTransformation = -1;
    std::int32_t tiffCompression = -1;
    std::int32_t tiffColorDepth = -1;
};
