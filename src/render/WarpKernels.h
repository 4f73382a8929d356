#pragma once

#include <cstdint>

// The two inner loops of WarpToQuad, over one chunk of a grid row. Each
// exists as a portable version and as an x86 vector version; the versions
// give identical results (the same IEEE float operations in the same order,
// the same exact integer mean), so the choice only affects speed.
struct WarpKernels
{
    // Where each sample of a chunk lands: for k < count,
    //   x = s * a[k] + kx + b[k],  y = ky + t[k] * c + d
    // evaluated left to right in floats and truncated toward zero. keys[k]
    // is x * H + y (the cell index in the column-major output), or -1 when x
    // lies outside [bandX0, bandX0 + bandWidth) or y outside [0, H).
    void (*computeKeys)(const float* a, const float* b, const float* t, int count, float s,
                        float kx, float ky, float c, float d, int bandX0, int bandWidth, int H,
                        std::int32_t* keys);

    // Folds texel srcColumn[row[k]] into cells[keys[k]] for k < count, in
    // order, skipping keys < 0 (RunningMean::AddSample semantics).
    void (*fold)(const std::int32_t* keys, const std::int32_t* row, int count,
                 const std::uint32_t* srcColumn, std::uint32_t* cells);
};

// The fastest kernels this processor runs, or the portable ones.
WarpKernels SelectWarpKernels(bool portable);
