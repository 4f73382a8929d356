#pragma once

#include <functional>
#include <vector>

// Filters on a float grid for measuring light under an area, each aware of
// which cells belong to the area (weight above 0): what lies outside, a
// wall or a piece of furniture, never bleeds in.
class CLightFilters
{
public:
    CLightFilters(int width, int height) : m_w(width), m_h(height) {}

    int Width() const { return m_w; }
    int Height() const { return m_h; }

    // Close to a Gaussian of sigma, as the weighted mean of each cell's
    // neighbours: v smoothed over the weighted cells alone. Cells with no
    // weighted neighbour get fallback.
    std::vector<float> Smooth(const std::vector<float>& v, const std::vector<float>& weight, double sigma,
                              float fallback = 0.0f) const;
    // Three running boxes each way, in place, edges repeated.
    void Blur(std::vector<float>& v, double sigma) const;

    // Square maximum (dilate) or minimum (erode) of radius over the inside
    // cells; outside cells keep their value and are never taken.
    std::vector<float> Dilate(const std::vector<float>& v, const std::vector<char>& inside, int radius) const;
    std::vector<float> Erode(const std::vector<float>& v, const std::vector<char>& inside, int radius) const;

    // Fills every cell from the nearest inside cells, coarse to fine, so a
    // map drawn a little past the outline (or across a hole) continues
    // smoothly.
    void Fill(std::vector<float>& v, const std::vector<char>& inside) const;

    // Runs work(first, last) over [0, count) in a few even slices side by
    // side, for rows or columns that are independent.
    static void Sliced(int count, const std::function<void(int, int)>& work);

private:
    std::vector<float> Extreme(const std::vector<float>& v, const std::vector<char>& inside, int radius,
                               bool largest) const;
    int m_w, m_h;
};
