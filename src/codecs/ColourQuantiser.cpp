#include "ColourQuantiser.h"

#include <QHash>
#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace {

// Histogram cells hold 5 bits per channel; the palette colour of a box is
// the mean of the true colours that fell into it, so no precision is lost
// in the result.
struct Cell
{
    std::array<int, 3> key{};  // 0..31 per channel
    std::uint64_t count = 0;
    std::array<std::uint64_t, 3> sum{};
};

struct Box
{
    std::size_t begin = 0;
    std::size_t end = 0;
    std::uint64_t population = 0;
    int widestChannel = 0;
    int range = 0;
};

void Measure(const std::vector<Cell>& cells, Box* box)
{
    std::array<int, 3> lo{31, 31, 31};
    std::array<int, 3> hi{0, 0, 0};
    box->population = 0;
    for (std::size_t i = box->begin; i < box->end; ++i) {
        box->population += cells[i].count;
        for (int c = 0; c < 3; ++c) {
            lo[c] = std::min(lo[c], cells[i].key[c]);
            hi[c] = std::max(hi[c], cells[i].key[c]);
        }
    }
    box->range = -1;
    for (int c = 0; c < 3; ++c) {
        if (hi[c] - lo[c] > box->range) {
            box->range = hi[c] - lo[c];
            box->widestChannel = c;
        }
    }
}

std::vector<QRgb> MedianCut(const QImage& rgb, int maxColours)
{
    std::vector<Cell> grid(32 * 32 * 32);
    for (int y = 0; y < rgb.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) {
            const int r = qRed(line[x]), g = qGreen(line[x]), b = qBlue(line[x]);
            Cell& cell = grid[((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3)];
            cell.key = {r >> 3, g >> 3, b >> 3};
            ++cell.count;
            cell.sum[0] += r;
            cell.sum[1] += g;
            cell.sum[2] += b;
        }
    }
    std::vector<Cell> cells;
    for (const Cell& cell : grid) {
        if (cell.count)
            cells.push_back(cell);
    }

    std::vector<Box> boxes{Box{0, cells.size()}};
    Measure(cells, &boxes[0]);
    while (static_cast<int>(boxes.size()) < maxColours) {
        // Split where many pixels span a wide range: big flat areas and
        // strong gradients both earn colours.
        Box* target = nullptr;
        double bestScore = 0;
        for (Box& box : boxes) {
            const double score = static_cast<double>(box.population) * box.range;
            if (box.end - box.begin > 1 && score > bestScore) {
                bestScore = score;
                target = &box;
            }
        }
        if (!target)
            break;
        const int c = target->widestChannel;
        std::sort(cells.begin() + target->begin, cells.begin() + target->end,
                  [c](const Cell& a, const Cell& b) { return a.key[c] < b.key[c]; });
        std::uint64_t seen = 0;
        std::size_t split = target->begin + 1;
        for (std::size_t i = target->begin; i < target->end - 1; ++i) {
            seen += cells[i].count;
            split = i + 1;
            if (seen * 2 >= target->population)
                break;
        }
        Box upper{split, target->end};
        target->end = split;
        Measure(cells, target);
        Measure(cells, &upper);
        boxes.push_back(upper);
    }

    std::vector<QRgb> palette;
    for (const Box& box : boxes) {
        std::array<std::uint64_t, 3> sum{};
        for (std::size_t i = box.begin; i < box.end; ++i) {
            for (int c = 0; c < 3; ++c)
                sum[c] += cells[i].sum[c];
        }
        const std::uint64_t n = std::max<std::uint64_t>(box.population, 1);
        palette.push_back(qRgb(int((sum[0] + n / 2) / n), int((sum[1] + n / 2) / n),
                               int((sum[2] + n / 2) / n)));
    }
    return palette;
}

// Nearest palette entry, cached per cell of 6 bits per channel: the error
// diffusion absorbs the small difference to the exact nearest colour.
class NearestColour
{
public:
    explicit NearestColour(const std::vector<QRgb>& palette)
        : m_palette(palette), m_cache(1 << 18, -1)
    {
    }

    int operator()(int r, int g, int b)
    {
        const int key = ((r >> 2) << 12) | ((g >> 2) << 6) | (b >> 2);
        if (m_cache[key] < 0) {
            const int cr = (r & ~3) + 2, cg = (g & ~3) + 2, cb = (b & ~3) + 2;
            int best = 0;
            int bestDistance = INT32_MAX;
            for (std::size_t i = 0; i < m_palette.size(); ++i) {
                const int dr = qRed(m_palette[i]) - cr, dg = qGreen(m_palette[i]) - cg,
                          db = qBlue(m_palette[i]) - cb;
                const int d = dr * dr + dg * dg + db * db;
                if (d < bestDistance) {
                    bestDistance = d;
                    best = static_cast<int>(i);
                }
            }
            m_cache[key] = static_cast<std::int16_t>(best);
        }
        return m_cache[key];
    }

private:
    const std::vector<QRgb>& m_palette;
    std::vector<std::int16_t> m_cache;
};

// Floyd-Steinberg over `channels` values per pixel. Errors are kept in
// sixteenths; `read` fetches a pixel's channels, `choose` picks the output
// index and reports the value it stands for.
template <int channels, typename Read, typename Choose>
void Diffuse(QImage* out, Read read, Choose choose)
{
    const int w = out->width();
    std::vector<int> current((w + 2) * channels, 0);
    std::vector<int> next((w + 2) * channels, 0);
    for (int y = 0; y < out->height(); ++y) {
        uchar* line = out->scanLine(y);
        std::fill(next.begin(), next.end(), 0);
        for (int x = 0; x < w; ++x) {
            std::array<int, channels> want = read(x, y);
            for (int c = 0; c < channels; ++c) {
                want[c] = std::clamp(want[c] + (current[(x + 1) * channels + c] + 8) / 16, 0, 255);
            }
            std::array<int, channels> got{};
            line[x] = static_cast<uchar>(choose(want, &got));
            for (int c = 0; c < channels; ++c) {
                const int e = want[c] - got[c];
                current[(x + 2) * channels + c] += e * 7;
                next[x * channels + c] += e * 3;
                next[(x + 1) * channels + c] += e * 5;
                next[(x + 2) * channels + c] += e;
            }
        }
        std::swap(current, next);
    }
}

// An empty 8-bit indexed image of image's size and resolution.
QImage IndexedLike(const QImage& image)
{
    QImage out(image.size(), QImage::Format_Indexed8);
    if (!out.isNull()) {
        out.setDotsPerMeterX(image.dotsPerMeterX());
        out.setDotsPerMeterY(image.dotsPerMeterY());
    }
    return out;
}

} // namespace

QImage CColourQuantiser::Quantise(const QImage& image, int maxColours)
{
    maxColours = std::clamp(maxColours, 2, 256);
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    QImage out = IndexedLike(image);
    if (out.isNull())
        return out;

    // Few colours: keep them exactly, in order of first appearance.
    QHash<QRgb, int> exact;
    QList<QRgb> table;
    bool fits = true;
    for (int y = 0; y < rgb.height() && fits; ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        uchar* indices = out.scanLine(y);
        for (int x = 0; x < rgb.width(); ++x) {
            const QRgb colour = line[x] | 0xff000000u;
            auto it = exact.constFind(colour);
            if (it == exact.constEnd()) {
                if (table.size() == maxColours) {
                    fits = false;
                    break;
                }
                it = exact.insert(colour, static_cast<int>(table.size()));
                table.append(colour);
            }
            indices[x] = static_cast<uchar>(*it);
        }
    }
    if (fits) {
        out.setColorTable(table);
        return out;
    }

    const std::vector<QRgb> palette = MedianCut(rgb, maxColours);
    NearestColour nearest(palette);
    Diffuse<3>(
        &out,
        [&rgb](int x, int y) {
            const QRgb p = reinterpret_cast<const QRgb*>(rgb.constScanLine(y))[x];
            return std::array<int, 3>{qRed(p), qGreen(p), qBlue(p)};
        },
        [&](const std::array<int, 3>& want, std::array<int, 3>* got) {
            const int i = nearest(want[0], want[1], want[2]);
            *got = {qRed(palette[i]), qGreen(palette[i]), qBlue(palette[i])};
            return i;
        });
    out.setColorTable(QList<QRgb>(palette.begin(), palette.end()));
    return out;
}

QImage CColourQuantiser::DitherToBlackAndWhite(const QImage& image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    QImage out = IndexedLike(image);
    if (out.isNull())
        return out;
    Diffuse<1>(
        &out,
        [&rgb](int x, int y) {
            return std::array<int, 1>{qGray(reinterpret_cast<const QRgb*>(rgb.constScanLine(y))[x])};
        },
        [](const std::array<int, 1>& want, std::array<int, 1>* got) {
            const bool black = want[0] < 128;
            (*got)[0] = black ? 0 : 255;
            return black ? 1 : 0;
        });
    out.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    return out;
}
