#include "LightLayer.h"

#include "LightFilters.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

// The grid's longer side at most: light needs no more, and the cost stays
// the same for any picture.
constexpr int kGridSize = 1600;
// Sizes in pixels of a picture 1800 wide, scaled with the picture: joints
// and fibres up to twice this radius wide are closed over...
constexpr double kThinRadius = 2.5;
// ...and wider joints (stone's mortar) too where their edges are sharp: a
// step of more than kSharpStep from one cell to the next that makes most
// (kSharpShare) of the change over the cells either side, where a shadow's
// edge (a window bar's), however steep, is spread by its penumbra...
constexpr double kWideRadius = 8.0;
constexpr float kSharpStep = 0.15f;
constexpr float kSharpShare = 0.6f;
// ...a piece's tone is judged against the light round it, first far (past
// its neighbours: a tile or a board is wide), then nearer, once the
// neighbours' tones are out...
constexpr double kPieceSigmas[] = {48.0, 24.0, 12.0};
// ...and the light is smoothed this little, keeping penumbrae and the sun
// patch's edges.
constexpr double kLightSigma = 1.5;
// A piece whose tone lies well past kToneSpread times the pieces' usual
// tone (when measured against the far light) is lit or shaded as a whole
// (a tile wholly in the sun patch or a table's shadow), not of another
// tone: its tone is let go the further it lies past that.
constexpr float kToneSpread = 3.0f;
// A cell the closing moves by more than this (log) lies on a joint.
constexpr float kJointStep = 0.12f;
// Two pieces of different tone meeting without a joint between them (plank
// beside plank) part where the tone changes by more than kToneStep from one
// cell to the next, and most of the change over kToneSpan cells either side
// happens there: light changes that fast only at a shadow's edge, which a
// penumbra spreads over several cells.
constexpr float kToneStep = 0.1f;
constexpr float kToneShare = 0.6f;
constexpr int kToneSpan = 2;
// What is left of a pattern in the light is weak and fine: detail finer
// than kDetailSigma whose size is not well past kDetailNoise times the
// area's usual detail is let go, shadows' edges and bars kept.
constexpr double kDetailSigma = 8.0;
constexpr float kDetailNoise = 5.0f;
// Joints covering more than this share of the area are no joints.
constexpr double kMostJoints = 0.4;
// A cell whose share of red and of blue lies this far from the area's own
// is something else lying or standing on it, unless that is so for more
// than this share of the area.
constexpr float kOtherColour = 0.07f;
constexpr double kMostOther = 0.35;
// Pieces smaller than this many cells (times the scale squared) are
// specks, not tiles: their tone is left alone.
constexpr double kPieceCells = 30.0;

// Labels the 4-connected parts of the cells where open is set: -1 elsewhere.
std::vector<int> Pieces(const std::vector<char>& open, int w, int h, int& count)
{
    std::vector<int> label(open.size(), -1), stack;
    count = 0;
    for (std::size_t start = 0; start < open.size(); ++start) {
        if (!open[start] || label[start] >= 0)
            continue;
        label[start] = count;
        stack.assign(1, int(start));
        while (!stack.empty()) {
            const int i = stack.back();
            stack.pop_back();
            const int x = i % w, y = i / w;
            const int next[4][2] = {{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}};
            for (const auto& n : next) {
                if (n[0] < 0 || n[1] < 0 || n[0] >= w || n[1] >= h)
                    continue;
                const std::size_t j = std::size_t(n[1]) * std::size_t(w) + std::size_t(n[0]);
                if (open[j] && label[j] < 0) {
                    label[j] = count;
                    stack.push_back(int(j));
                }
            }
        }
        ++count;
    }
    return label;
}

// The median of v over each piece (0 for pieces under minCells).
std::vector<float> PieceMedians(const std::vector<float>& v, const std::vector<int>& label, int count,
                                std::size_t minCells)
{
    std::vector<std::size_t> start(std::size_t(count) + 1, 0);
    for (int l : label)
        if (l >= 0)
            ++start[std::size_t(l) + 1];
    for (std::size_t i = 1; i < start.size(); ++i)
        start[i] += start[i - 1];
    std::vector<float> sorted(start.back());
    std::vector<std::size_t> fill(start.begin(), start.end() - 1);
    for (std::size_t i = 0; i < label.size(); ++i)
        if (label[i] >= 0)
            sorted[fill[std::size_t(label[i])]++] = v[i];
    std::vector<float> median(std::size_t(count), 0.0f);
    for (std::size_t p = 0; p < std::size_t(count); ++p) {
        const std::size_t n = start[p + 1] - start[p];
        if (n < minCells)
            continue;
        const auto first = sorted.begin() + std::ptrdiff_t(start[p]);
        std::nth_element(first, first + std::ptrdiff_t(n / 2), first + std::ptrdiff_t(n));
        median[p] = first[std::ptrdiff_t(n / 2)];
    }
    return median;
}

// Lets go of the tones that lie far past the pieces' usual (pieces without
// a tone, 0, aside): each kept by 1 / (1 + r^4), r its share of the limit.
void LetGoOfOutlyingTones(std::vector<float>& tone)
{
    std::vector<float> sizes;
    for (float t : tone)
        if (t != 0.0f)
            sizes.push_back(std::fabs(t));
    // Too few pieces to tell what is usual.
    if (sizes.size() < 8)
        return;
    std::nth_element(sizes.begin(), sizes.begin() + std::ptrdiff_t(sizes.size() / 2), sizes.end());
    const float limit = kToneSpread * sizes[sizes.size() / 2];
    if (limit <= 0.0f)
        return;
    for (float& t : tone) {
        const float r = t / limit, r4 = r * r * r * r;
        t /= 1.0f + r4;
    }
}

// Takes out of core what stands or lies on the area inside its outline (a
// rug, a chair's legs, a coat of another colour): cells whose colour, apart
// from brightness, is far from the area's own, and a rim round them. Light
// and shadow change brightness, hardly colour; the light there is carried
// in from round them.
void LeaveOutOccluders(const CLightFilters& filters, const std::vector<float>& red, const std::vector<float>& blue,
                       int rim, std::vector<char>& core)
{
    std::vector<float> reds, blues;
    for (std::size_t i = 0; i < core.size(); ++i)
        if (core[i]) {
            reds.push_back(red[i]);
            blues.push_back(blue[i]);
        }
    if (reds.empty())
        return;
    const auto median = [](std::vector<float>& v) {
        std::nth_element(v.begin(), v.begin() + std::ptrdiff_t(v.size() / 2), v.end());
        return v[v.size() / 2];
    };
    const float usualRed = median(reds), usualBlue = median(blues);
    std::vector<float> other(core.size(), 0.0f);
    std::size_t count = 0;
    for (std::size_t i = 0; i < core.size(); ++i)
        if (core[i] && std::hypot(red[i] - usualRed, blue[i] - usualBlue) > kOtherColour) {
            other[i] = 1.0f;
            ++count;
        }
    // A floor of many colours has no one colour of its own.
    if (double(count) > kMostOther * double(reds.size()))
        return;
    other = filters.Dilate(other, core, rim);
    for (std::size_t i = 0; i < core.size(); ++i)
        if (other[i] > 0.5f)
            core[i] = 0;
}

// Marks in joint the cells where the tone steps from one piece to the next
// (in the closed light c, within core).
void MarkToneSteps(const std::vector<float>& c, const std::vector<char>& core, int w, int h, std::vector<float>& joint)
{
    const auto at = [&](int x, int y) { return std::size_t(y) * std::size_t(w) + std::size_t(x); };
    const auto step = [](float d, float across) {
        return std::fabs(d) > kToneStep && std::fabs(d) > kToneShare * std::fabs(across);
    };
    constexpr int s = kToneSpan;
    for (int y = s; y + s + 1 < h; ++y)
        for (int x = s; x + s + 1 < w; ++x) {
            if (!core[at(x - s, y)] || !core[at(x + s + 1, y)] || !core[at(x, y - s)] || !core[at(x, y + s + 1)])
                continue;
            const float here = c[at(x, y)];
            if (step(c[at(x + 1, y)] - here, c[at(x + s + 1, y)] - c[at(x - s, y)]) ||
                step(c[at(x, y + 1)] - here, c[at(x, y + s + 1)] - c[at(x, y - s)]))
                joint[at(x, y)] = 1.0f;
        }
}

// The cells where the light steps sharply to the next cell across or down
// (at the area's edge, where the cells either side are not all known, any
// step past kSharpStep).
std::vector<float> MarkSharpSteps(const std::vector<float>& l, const std::vector<char>& core, int w, int h)
{
    std::vector<float> sharp(l.size(), 0.0f);
    // From cell i to the next one d further on.
    const auto steep = [&](std::size_t i, std::size_t d, bool before, bool after) {
        if (!core[i + d])
            return false;
        const float step = std::fabs(l[i + d] - l[i]);
        if (step <= kSharpStep)
            return false;
        if (!before || !after || !core[i - d] || !core[i + 2 * d])
            return true;
        return step > kSharpShare * std::fabs(l[i + 2 * d] - l[i - d]);
    };
    for (int y = 0; y + 1 < h; ++y)
        for (int x = 0; x + 1 < w; ++x) {
            const std::size_t i = std::size_t(y) * std::size_t(w) + std::size_t(x);
            if (core[i] && (steep(i, 1, x > 0, x + 2 < w) || steep(i, std::size_t(w), y > 0, y + 2 < h)))
                sharp[i] = 1.0f;
        }
    return sharp;
}

// Lets go of the weak fine detail of light (cells below 0 unknown): detail
// d over the light smoothed by sigma is kept by d^4 / (d^4 + n^4), n the
// noise level from the area's own usual detail.
void DropWeakDetail(const CLightFilters& filters, const std::vector<float>& t, const std::vector<float>& weight,
                    const std::vector<char>& core, double sigma, std::vector<float>& light)
{
    const std::vector<float> base = filters.Smooth(t, weight, sigma, -1.0f);
    std::vector<float> sizes;
    for (std::size_t i = 0; i < light.size(); ++i)
        if (core[i] && light[i] >= 0.0f && base[i] >= 0.0f)
            sizes.push_back(std::fabs(light[i] - base[i]));
    if (sizes.empty())
        return;
    std::nth_element(sizes.begin(), sizes.begin() + std::ptrdiff_t(sizes.size() / 2), sizes.end());
    const float noise = kDetailNoise * sizes[sizes.size() / 2];
    const float n4 = noise * noise * noise * noise;
    if (n4 <= 0.0f)
        return;
    for (std::size_t i = 0; i < light.size(); ++i)
        if (light[i] >= 0.0f && base[i] >= 0.0f) {
            const float d = light[i] - base[i], d4 = d * d * d * d;
            light[i] = base[i] + d * d4 / (d4 + n4);
        }
}

} // namespace

CLightLayer CLightLayer::Measure(const QImage& picture, const CPolygon& outline)
{
    QPainterPath path;
    PolygonToPath(outline, path);
    path.setFillRule(Qt::OddEvenFill);
    const QRect bounds = path.boundingRect().toAlignedRect().intersected(picture.rect());
    if (picture.isNull() || bounds.isEmpty())
        return {};

    // The grid: whole blocks of picture pixels averaged.
    const int step = std::max(1, (std::max(bounds.width(), bounds.height()) + kGridSize - 1) / kGridSize);
    const int w = (bounds.width() + step - 1) / step, h = (bounds.height() + step - 1) / step;
    const QImage rgb = picture.format() == QImage::Format_RGB32 || picture.format() == QImage::Format_ARGB32
                           ? picture
                           : picture.convertToFormat(QImage::Format_RGB32);
    // Luma in fixed point (weights summing to 256), each cell the mean of
    // the block of pixels it covers.
    std::vector<float> l(std::size_t(w) * std::size_t(h)), redShare(l.size()), blueShare(l.size());
    CLightFilters::Sliced(h, [&](int first, int last) {
        std::vector<std::uint32_t> sum(static_cast<std::size_t>(w)), red(sum.size()), blue(sum.size()),
            all(sum.size());
        for (int cy = first; cy < last; ++cy) {
            std::fill(sum.begin(), sum.end(), 0u);
            std::fill(red.begin(), red.end(), 0u);
            std::fill(blue.begin(), blue.end(), 0u);
            std::fill(all.begin(), all.end(), 0u);
            const int top = bounds.top() + cy * step, bottom = std::min(bounds.bottom(), top + step - 1);
            for (int py = top; py <= bottom; ++py) {
                const QRgb* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(py)) + bounds.left();
                for (int cx = 0, px = 0; cx < w; ++cx) {
                    const int end = std::min(bounds.width(), px + step);
                    std::uint32_t s = 0, r = 0, b = 0, a = 0;
                    for (; px < end; ++px) {
                        s += 77u * qRed(row[px]) + 150u * qGreen(row[px]) + 29u * qBlue(row[px]);
                        r += qRed(row[px]);
                        b += qBlue(row[px]);
                        a += qRed(row[px]) + qGreen(row[px]) + qBlue(row[px]);
                    }
                    sum[std::size_t(cx)] += s;
                    red[std::size_t(cx)] += r;
                    blue[std::size_t(cx)] += b;
                    all[std::size_t(cx)] += a;
                }
            }
            for (int cx = 0; cx < w; ++cx) {
                const int cells = (bottom - top + 1) * (std::min(bounds.width(), (cx + 1) * step) - cx * step);
                const std::size_t i = std::size_t(cy) * std::size_t(w) + std::size_t(cx);
                l[i] = std::log(1.0f + float(sum[std::size_t(cx)]) / (256.0f * float(cells)));
                // Colour apart from brightness, steady in the dark.
                const float total = float(all[std::size_t(cx)]) + 3.0f * 8.0f * float(cells);
                redShare[i] = (float(red[std::size_t(cx)]) + 8.0f * float(cells)) / total;
                blueShare[i] = (float(blue[std::size_t(cx)]) + 8.0f * float(cells)) / total;
            }
        }
    });

    // The area on the grid. Its core leaves out cells its edge crosses,
    // which mix in what lies beside it.
    QImage mask(w, h, QImage::Format_Grayscale8);
    mask.fill(0);
    {
        QPainter painter(&mask);
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.scale(1.0 / step, 1.0 / step);
        painter.translate(-bounds.topLeft());
        painter.fillPath(path, Qt::white);
    }
    std::vector<char> inside(l.size()), core(l.size());
    bool any = false;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::size_t i = std::size_t(y) * std::size_t(w) + std::size_t(x);
            inside[i] = mask.constScanLine(y)[x] >= 128;
            core[i] = mask.constScanLine(y)[x] >= 250;
            any = any || core[i];
        }
    if (!any)
        core = inside;

    const CLightFilters filters(w, h);
    const double unit = std::max(picture.width(), picture.height()) / 1800.0 / step;
    const int radius = std::max(1, int(std::lround(kThinRadius * unit)));
    LeaveOutOccluders(filters, redShare, blueShare, radius, core);
    const int wide = std::max(radius + 1, int(std::lround(kWideRadius * unit)));
    // Thin dark lines (grout, gaps) closed over, then thin bright ones.
    const auto closeOpen = [&](const std::vector<float>& v, int r) {
        const std::vector<float> closed = filters.Erode(filters.Dilate(v, core, r), core, r);
        return filters.Dilate(filters.Erode(closed, core, r), core, r);
    };
    std::vector<float> c = closeOpen(l, radius);
    {
        std::vector<float> sharp = MarkSharpSteps(l, core, w, h);
        sharp = filters.Dilate(sharp, core, wide);
        const std::vector<float> wider = closeOpen(c, wide);
        for (std::size_t i = 0; i < c.size(); ++i)
            if (sharp[i] > 0.5f)
                c[i] = wider[i];
    }

    // The pieces between joints, each tone measured against the light
    // round it and taken out.
    // Joints widened by a cell, so that pieces whose joint fades to a
    // faint line still come apart.
    std::vector<float> joint(l.size());
    for (std::size_t i = 0; i < l.size(); ++i)
        joint[i] = std::fabs(l[i] - c[i]) > kJointStep ? 1.0f : 0.0f;
    MarkToneSteps(c, core, w, h, joint);
    joint = filters.Dilate(joint, core, 1);
    // Joints that cover much of the area are a fine pattern of their own
    // (a print, a weave), already closed over: no pieces to tell apart.
    std::size_t joints = 0, cores = 0;
    for (std::size_t i = 0; i < l.size(); ++i) {
        cores += core[i] ? 1 : 0;
        joints += core[i] && joint[i] > 0.5f ? 1 : 0;
    }
    if (double(joints) > kMostJoints * double(cores))
        std::fill(joint.begin(), joint.end(), 0.0f);
    std::vector<char> open(l.size());
    std::vector<float> weight(l.size());
    for (std::size_t i = 0; i < l.size(); ++i) {
        open[i] = core[i] && joint[i] < 0.5f;
        weight[i] = open[i] ? 1.0f : 0.0f;
    }
    int pieces = 0;
    const std::vector<int> label = Pieces(open, w, h, pieces);
    const auto minCells = std::size_t(std::max(4.0, kPieceCells * unit * unit));
    std::vector<float> t = c, residual(l.size());
    for (double sigma : kPieceSigmas) {
        const std::vector<float> around = filters.Smooth(t, weight, sigma * unit);
        for (std::size_t i = 0; i < l.size(); ++i)
            residual[i] = c[i] - around[i];
        std::vector<float> tone = PieceMedians(residual, label, pieces, minCells);
        // Only against the far light: nearer, a lit piece's neighbours
        // are lit too and its tone is no longer far from theirs.
        if (sigma == kPieceSigmas[0])
            LetGoOfOutlyingTones(tone);
        for (std::size_t i = 0; i < l.size(); ++i)
            t[i] = label[i] >= 0 ? c[i] - tone[std::size_t(label[i])] : c[i];
    }

    std::vector<float> light = filters.Smooth(t, weight, kLightSigma * unit, -1.0f);
    DropWeakDetail(filters, t, weight, core, kDetailSigma * unit, light);
    std::vector<char> known(l.size());
    std::vector<float> typical;
    for (std::size_t i = 0; i < l.size(); ++i) {
        known[i] = light[i] >= 0.0f;
        if (inside[i] && known[i])
            typical.push_back(light[i]);
    }
    if (typical.empty())
        return {};
    std::nth_element(typical.begin(), typical.begin() + std::ptrdiff_t(typical.size() / 2), typical.end());
    const float usual = typical[typical.size() / 2];
    if (usual <= std::log(1.5f))
        return {};
    filters.Fill(light, known);
    // The filled cells (an occluder's, past the outline) softened, so that
    // the fill's blocks do not show.
    std::vector<float> soft = light;
    filters.Blur(soft, 4.0 * radius);
    for (std::size_t i = 0; i < light.size(); ++i)
        if (!known[i])
            light[i] = soft[i];

    CLightLayer layer;
    layer.m_light.resize(light.size());
    for (std::size_t i = 0; i < light.size(); ++i)
        layer.m_light[i] = light[i] - usual;
    layer.m_w = w;
    layer.m_h = h;
    layer.m_step = step;
    layer.m_origin = bounds.topLeft();
    return layer;
}
