#include "render/LightFilters.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

namespace {

// The square extreme by its definition, cell by cell.
std::vector<float> Naive(const std::vector<float>& v, const std::vector<char>& inside, int w, int h, int r, bool largest)
{
    std::vector<float> out = v;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (!inside[std::size_t(y * w + x)])
                continue;
            float e = largest ? -std::numeric_limits<float>::infinity() : std::numeric_limits<float>::infinity();
            for (int dy = -r; dy <= r; ++dy)
                for (int dx = -r; dx <= r; ++dx) {
                    const int xx = x + dx, yy = y + dy;
                    if (xx < 0 || yy < 0 || xx >= w || yy >= h || !inside[std::size_t(yy * w + xx)])
                        continue;
                    const float c = v[std::size_t(yy * w + xx)];
                    e = largest ? std::max(e, c) : std::min(e, c);
                }
            out[std::size_t(y * w + x)] = e;
        }
    return out;
}

TEST(LightFilters, DilateAndErodeMatchTheirDefinitionOverTheInsideCells)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<float> value(0.0f, 1.0f);
    // Sizes below, at and past a window's length, odd and even.
    for (const auto& [w, h] : {std::pair{1, 1}, std::pair{5, 3}, std::pair{37, 23}, std::pair{70, 65}}) {
        std::vector<float> v(std::size_t(w * h));
        std::vector<char> inside(v.size());
        for (std::size_t i = 0; i < v.size(); ++i) {
            v[i] = value(random);
            inside[i] = value(random) < 0.8f;
        }
        const CLightFilters filters(w, h);
        for (int r : {1, 2, 5, 9})
            for (const bool largest : {true, false}) {
                const std::vector<float> got = largest ? filters.Dilate(v, inside, r) : filters.Erode(v, inside, r);
                EXPECT_EQ(got, Naive(v, inside, w, h, r, largest)) << w << " x " << h << ", radius " << r;
            }
    }
}

TEST(LightFilters, SmoothingAndFillingKeepToTheInsideCells)
{
    // Left half inside at 2, right half outside at 100: the smoothed inside
    // never sees the outside, and filling carries the inside out.
    constexpr int w = 40, h = 20;
    std::vector<float> v(w * h), weight(v.size());
    std::vector<char> inside(v.size());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::size_t i = std::size_t(y * w + x);
            inside[i] = x < 20;
            weight[i] = inside[i] ? 1.0f : 0.0f;
            v[i] = inside[i] ? 2.0f + 0.01f * float(y) : 100.0f;
        }
    const CLightFilters filters(w, h);
    const std::vector<float> smooth = filters.Smooth(v, weight, 3.0);
    for (int y = 0; y < h; ++y)
        EXPECT_NEAR(smooth[std::size_t(y * w + 19)], 2.0f + 0.01f * float(y), 0.05f);
    std::vector<float> filled = v;
    filters.Fill(filled, inside);
    for (std::size_t i = 0; i < v.size(); ++i) {
        EXPECT_GE(filled[i], 2.0f);
        EXPECT_LE(filled[i], 2.2f);
    }
}

} // namespace
