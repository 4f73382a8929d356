#include "LightFilters.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <thread>

namespace {

void Sliced(int count, const std::function<void(int, int)>& work)
{
    CLightFilters::Sliced(count, work);
}

// One running box of radius along each row, edge values repeated.
void BoxRows(std::vector<float>& v, int w, int h, int radius)
{
    const float scale = 1.0f / float(2 * radius + 1);
    Sliced(h, [&](int first, int last) {
        std::vector<float> line(std::size_t(w + 2 * radius + 1));
        for (int y = first; y < last; ++y) {
            float* p = v.data() + std::size_t(y) * std::size_t(w);
            // The row with its ends repeated, so the sum runs without checks.
            std::fill_n(line.begin(), radius, p[0]);
            std::copy_n(p, w, line.begin() + radius);
            std::fill(line.begin() + radius + w, line.end(), p[w - 1]);
            float sum = 0.0f;
            for (int i = 0; i < 2 * radius + 1; ++i)
                sum += line[std::size_t(i)];
            for (int x = 0; x < w; ++x) {
                p[x] = sum * scale;
                sum += line[std::size_t(x + 2 * radius + 1)] - line[std::size_t(x)];
            }
        }
    });
}

// The same down each column, a whole row at a time: running sums per
// column keep to the memory's order.
void BoxColumns(std::vector<float>& v, int w, int h, int radius)
{
    const float scale = 1.0f / float(2 * radius + 1);
    const std::vector<float> in = v;
    const auto row = [&](int y) { return in.data() + std::size_t(std::clamp(y, 0, h - 1)) * std::size_t(w); };
    Sliced(w, [&](int first, int last) {
        std::vector<float> sum(std::size_t(last - first), 0.0f);
        for (int k = -radius; k <= radius; ++k)
            for (int x = first; x < last; ++x)
                sum[std::size_t(x - first)] += row(k)[x];
        for (int y = 0; y < h; ++y) {
            float* out = v.data() + std::size_t(y) * std::size_t(w);
            const float* enter = row(y + radius + 1);
            const float* leave = row(y - radius);
            for (int x = first; x < last; ++x) {
                float& s = sum[std::size_t(x - first)];
                out[x] = s * scale;
                s += enter[x] - leave[x];
            }
        }
    });
}

} // namespace

void CLightFilters::Sliced(int count, const std::function<void(int, int)>& work)
{
    const int slices = std::clamp(int(std::thread::hardware_concurrency()), 1, 4);
    if (slices == 1 || count < 64) {
        work(0, count);
        return;
    }
    std::vector<std::thread> helpers;
    for (int s = 1; s < slices; ++s)
        helpers.emplace_back(work, count * s / slices, count * (s + 1) / slices);
    work(0, count / slices);
    for (std::thread& t : helpers)
        t.join();
}

void CLightFilters::Blur(std::vector<float>& v, double sigma) const
{
    // Three boxes of width b have the variance of a Gaussian of sigma when
    // b^2 = 4 sigma^2 + 1.
    const int radius = int(std::lround((std::sqrt(4 * sigma * sigma + 1) - 1) / 2));
    if (radius < 1)
        return;
    for (int pass = 0; pass < 3; ++pass) {
        BoxRows(v, m_w, m_h, radius);
        BoxColumns(v, m_w, m_h, radius);
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

namespace {

// The running extreme of windows of k values, each window [a, a + k) of
// the padded line in, by blocks of k: the extreme from a to its block's end
// and from the next block's start to a + k - 1 meet in every window, so the
// cost does not grow with k. Here for n lines side by side (lanes values
// apart), each step a whole row of lanes at once.
template <bool Largest>
struct SBlockExtreme
{
    static float Better(float a, float b) { return Largest ? (a > b ? a : b) : (a < b ? a : b); }

    // in holds m rows of lanes; out gets m - k + 1 rows, window a in row a.
    static void Run(const float* in, float* out, int m, int k, std::size_t lanes, std::vector<float>& fromStart,
                    std::vector<float>& fromEnd)
    {
        fromStart.resize(std::size_t(m) * lanes);
        fromEnd.resize(fromStart.size());
        for (int s = 0; s < m; s += k) {
            const int e = std::min(m, s + k);
            std::copy_n(in + std::size_t(s) * lanes, lanes, fromStart.data() + std::size_t(s) * lanes);
            for (int i = s + 1; i < e; ++i) {
                const float* prev = fromStart.data() + std::size_t(i - 1) * lanes;
                const float* v = in + std::size_t(i) * lanes;
                float* to = fromStart.data() + std::size_t(i) * lanes;
                for (std::size_t j = 0; j < lanes; ++j)
                    to[j] = Better(prev[j], v[j]);
            }
            std::copy_n(in + std::size_t(e - 1) * lanes, lanes, fromEnd.data() + std::size_t(e - 1) * lanes);
            for (int i = e - 2; i >= s; --i) {
                const float* next = fromEnd.data() + std::size_t(i + 1) * lanes;
                const float* v = in + std::size_t(i) * lanes;
                float* to = fromEnd.data() + std::size_t(i) * lanes;
                for (std::size_t j = 0; j < lanes; ++j)
                    to[j] = Better(next[j], v[j]);
            }
        }
        for (int a = 0; a + k <= m; ++a) {
            const float* end = fromEnd.data() + std::size_t(a) * lanes;
            const float* start = fromStart.data() + std::size_t(a + k - 1) * lanes;
            float* to = out + std::size_t(a) * lanes;
            for (std::size_t j = 0; j < lanes; ++j)
                to[j] = Better(end[j], start[j]);
        }
    }

    // Along each row, then down each strip of columns: the outside cells
    // hold none, and so does the padding past the grid's edges.
    static void Square(std::vector<float>& held, int w, int h, int radius, float none)
    {
        const int k = 2 * radius + 1;
        CLightFilters::Sliced(h, [&](int first, int last) {
            std::vector<float> line(std::size_t(w + 2 * radius), none), a, b;
            for (int y = first; y < last; ++y) {
                float* row = held.data() + std::size_t(y) * std::size_t(w);
                std::copy_n(row, w, line.begin() + radius);
                Run(line.data(), row, w + 2 * radius, k, 1, a, b);
            }
        });
        // Strips narrow enough for their columns to stay in the cache.
        constexpr int kStrip = 256;
        CLightFilters::Sliced(w, [&](int first, int last) {
            std::vector<float> strip, result, a, b;
            for (int x0 = first; x0 < last; x0 += kStrip) {
                const int lanes = std::min(last, x0 + kStrip) - x0;
                strip.assign(std::size_t(h + 2 * radius) * std::size_t(lanes), none);
                for (int y = 0; y < h; ++y)
                    std::copy_n(held.data() + std::size_t(y) * std::size_t(w) + std::size_t(x0), lanes,
                                strip.data() + std::size_t(y + radius) * std::size_t(lanes));
                result.resize(std::size_t(h) * std::size_t(lanes));
                Run(strip.data(), result.data(), h + 2 * radius, k, std::size_t(lanes), a, b);
                for (int y = 0; y < h; ++y)
                    std::copy_n(result.data() + std::size_t(y) * std::size_t(lanes), lanes,
                                held.data() + std::size_t(y) * std::size_t(w) + std::size_t(x0));
            }
        });
    }
};

} // namespace

std::vector<float> CLightFilters::Extreme(const std::vector<float>& v, const std::vector<char>& inside, int radius,
                                          bool largest) const
{
    const float none = largest ? -std::numeric_limits<float>::infinity() : std::numeric_limits<float>::infinity();
    // Outside cells take no part: they hold the neutral value here.
    std::vector<float> held(v.size()), out = v;
    for (std::size_t i = 0; i < v.size(); ++i)
        held[i] = inside[i] ? v[i] : none;
    if (largest)
        SBlockExtreme<true>::Square(held, m_w, m_h, radius, none);
    else
        SBlockExtreme<false>::Square(held, m_w, m_h, radius, none);
    for (std::size_t i = 0; i < v.size(); ++i)
        if (inside[i])
            out[i] = held[i];
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
