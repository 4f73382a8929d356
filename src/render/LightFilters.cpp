#include "LightFilters.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// One running box of radius along rows (or columns), edge values repeated.
void Box(std::vector<float>& v, int w, int h, int radius, bool rows, std::vector<float>& line)
{
    const int n = rows ? w : h, lines = rows ? h : w;
    const std::size_t step = rows ? 1 : std::size_t(w), lineStep = rows ? std::size_t(w) : 1;
    line.resize(std::size_t(n));
    const float scale = 1.0f / float(2 * radius + 1);
    for (int l = 0; l < lines; ++l) {
        float* p = v.data() + std::size_t(l) * lineStep;
        for (int i = 0; i < n; ++i)
            line[std::size_t(i)] = p[std::size_t(i) * step];
        const auto at = [&](int i) { return line[std::size_t(std::clamp(i, 0, n - 1))]; };
        float sum = 0.0f;
        for (int i = -radius; i <= radius; ++i)
            sum += at(i);
        for (int i = 0; i < n; ++i) {
            p[std::size_t(i) * step] = sum * scale;
            sum += at(i + radius + 1) - at(i - radius);
        }
    }
}

} // namespace

void CLightFilters::Blur(std::vector<float>& v, double sigma) const
{
    // Three boxes of width b have the variance of a Gaussian of sigma when
    // b^2 = 4 sigma^2 + 1.
    const int radius = int(std::lround((std::sqrt(4 * sigma * sigma + 1) - 1) / 2));
    if (radius < 1)
        return;
    std::vector<float> line;
    for (int pass = 0; pass < 3; ++pass) {
        Box(v, m_w, m_h, radius, true, line);
        Box(v, m_w, m_h, radius, false, line);
    }
}

std::vector<float> CLightFilters::Smooth(const std::vector<float>& v, const std::vector<float>& weight, double sigma,
                                         float fallback) const
{
    std::vector<float> top(v.size()), bottom = weight;
    for (std::size_t i = 0; i < v.size(); ++i)
        top[i] = v[i] * weight[i];
    Blur(top, sigma);
    Blur(bottom, sigma);
    for (std::size_t i = 0; i < v.size(); ++i)
        top[i] = bottom[i] > 1e-4f ? top[i] / bottom[i] : fallback;
    return top;
}

std::vector<float> CLightFilters::Extreme(const std::vector<float>& v, const std::vector<char>& inside, int radius,
                                          bool largest) const
{
    const float none = largest ? -std::numeric_limits<float>::infinity() : std::numeric_limits<float>::infinity();
    const auto better = [largest](float a, float b) { return largest ? std::max(a, b) : std::min(a, b); };
    std::vector<float> across(v.size(), none), out = v;
    for (int y = 0; y < m_h; ++y) {
        const std::size_t row = std::size_t(y) * std::size_t(m_w);
        for (int x = 0; x < m_w; ++x) {
            float e = none;
            for (int k = std::max(0, x - radius); k <= std::min(m_w - 1, x + radius); ++k)
                if (inside[row + std::size_t(k)])
                    e = better(e, v[row + std::size_t(k)]);
            across[row + std::size_t(x)] = e;
        }
    }
    for (int y = 0; y < m_h; ++y)
        for (int x = 0; x < m_w; ++x) {
            const std::size_t i = std::size_t(y) * std::size_t(m_w) + std::size_t(x);
            if (!inside[i])
                continue;
            float e = none;
            for (int k = std::max(0, y - radius); k <= std::min(m_h - 1, y + radius); ++k)
                e = better(e, across[std::size_t(k) * std::size_t(m_w) + std::size_t(x)]);
            out[i] = e;
        }
    return out;
}

std::vector<float> CLightFilters::Dilate(const std::vector<float>& v, const std::vector<char>& inside, int radius) const
{
    return Extreme(v, inside, radius, true);
}

std::vector<float> CLightFilters::Erode(const std::vector<float>& v, const std::vector<char>& inside, int radius) const
{
    return Extreme(v, inside, radius, false);
}

void CLightFilters::Fill(std::vector<float>& v, const std::vector<char>& inside) const
{
    // A pyramid of means over the inside cells; each level's empty cells
    // then take their parent's value, from the top down.
    struct Level
    {
        int w, h;
        std::vector<float> sum, count;
    };
    std::vector<Level> levels;
    Level base{m_w, m_h, std::vector<float>(v.size()), std::vector<float>(v.size())};
    for (std::size_t i = 0; i < v.size(); ++i)
        if (inside[i]) {
            base.sum[i] = v[i];
            base.count[i] = 1;
        }
    levels.push_back(std::move(base));
    while (levels.back().w > 1 || levels.back().h > 1) {
        const Level& fine = levels.back();
        Level coarse{(fine.w + 1) / 2, (fine.h + 1) / 2, {}, {}};
        coarse.sum.assign(std::size_t(coarse.w) * std::size_t(coarse.h), 0.0f);
        coarse.count.assign(coarse.sum.size(), 0.0f);
        for (int y = 0; y < fine.h; ++y)
            for (int x = 0; x < fine.w; ++x) {
                const std::size_t f = std::size_t(y) * std::size_t(fine.w) + std::size_t(x);
                const std::size_t c = std::size_t(y / 2) * std::size_t(coarse.w) + std::size_t(x / 2);
                coarse.sum[c] += fine.sum[f];
                coarse.count[c] += fine.count[f];
            }
        levels.push_back(std::move(coarse));
    }
    if (levels.back().count[0] <= 0)
        return;
    // Means, then the empty cells filled from above.
    for (Level& level : levels)
        for (std::size_t i = 0; i < level.sum.size(); ++i)
            if (level.count[i] > 0)
                level.sum[i] /= level.count[i];
    for (std::size_t l = levels.size() - 1; l-- > 0;) {
        Level& fine = levels[l];
        const Level& coarse = levels[l + 1];
        for (int y = 0; y < fine.h; ++y)
            for (int x = 0; x < fine.w; ++x) {
                const std::size_t f = std::size_t(y) * std::size_t(fine.w) + std::size_t(x);
                if (fine.count[f] <= 0) {
                    fine.sum[f] = coarse.sum[std::size_t(y / 2) * std::size_t(coarse.w) + std::size_t(x / 2)];
                    fine.count[f] = 1;
                }
            }
    }
    for (std::size_t i = 0; i < v.size(); ++i)
        if (!inside[i])
            v[i] = levels[0].sum[i];
}
