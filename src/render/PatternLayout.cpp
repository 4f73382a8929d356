#include "PatternLayout.h"

#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

constexpr double kHalfRoot2 = 0.70710678118654752440;
constexpr double kRandomOffsetGapCm = 15.0;

// A well-mixed 64-bit value from the seed and a piece's place: the choices
// of a piece never depend on which others are laid.
std::uint64_t Mix(std::uint64_t x)
{
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

std::uint64_t Hash(std::uint32_t seed, std::int64_t a, std::int64_t b, std::int64_t c)
{
    std::uint64_t h = Mix(seed);
    h = Mix(h ^ static_cast<std::uint64_t>(a));
    h = Mix(h ^ static_cast<std::uint64_t>(b));
    return Mix(h ^ static_cast<std::uint64_t>(c));
}

double Unit(std::uint64_t h)
{
    return static_cast<double>(h >> 11) * (1.0 / 9007199254740992.0);
}

struct CFrame
{
    double w = 0, h = 0, j = 0; // piece and joint, cm
    double a = 0, b = 0;        // pitch along and across
};

CFrame FrameOf(const CLayingPattern& p)
{
    CFrame f;
    f.w = p.widthCm;
    f.h = p.heightCm;
    f.j = std::max(0.0, p.jointMm) / 10.0;
    f.a = f.w + f.j;
    f.b = f.h + f.j;
    return f;
}

// The layout's own turn on top of the pattern's angle: herringbone's
// staircase runs along its rows once turned by -45 degrees, diagonal is
// straight turned by 45.
double OwnTurn(ELayout layout)
{
    switch (layout) {
    case ELayout::Herringbone: return -45.0;
    case ELayout::Diagonal: return 45.0;
    default: return 0.0;
    }
}

QTransform LayoutToSurface(const CLayingPattern& p, QPointF origin)
{
    QTransform t;
    t.translate(origin.x(), origin.y());
    t.rotate(p.angleDeg + OwnTurn(p.layout));
    return t;
}

std::vector<QPointF> Rect(double x0, double y0, double w, double h)
{
    return {{x0, y0}, {x0 + w, y0}, {x0 + w, y0 + h}, {x0, y0 + h}};
}

class CLayer
{
public:
    CLayer(const CLayingPattern& p, const QTransform& toSurface, const QRectF& bounds)
        : m_p(p), m_toSurface(toSurface), m_bounds(bounds)
    {
    }

    // frameToLayout maps the piece frame (0..w, 0..h) into the layout
    // frame; shape is in the piece frame.
    void Add(const std::vector<QPointF>& shape, const QTransform& frameToLayout, std::int64_t k1, std::int64_t k2,
             std::int64_t k3)
    {
        const QTransform toSurface = frameToLayout * m_toSurface;
        CLaidPiece piece;
        piece.shape.reserve(shape.size());
        double x0 = std::numeric_limits<double>::max(), y0 = x0, x1 = -x0, y1 = -x0;
        for (const QPointF& v : shape) {
            const QPointF s = toSurface.map(v);
            piece.shape.push_back(s);
            x0 = std::min(x0, s.x());
            x1 = std::max(x1, s.x());
            y0 = std::min(y0, s.y());
            y1 = std::max(y1, s.y());
        }
        if (x1 < m_bounds.left() || x0 > m_bounds.right() || y1 < m_bounds.top() || y0 > m_bounds.bottom())
            return;
        const std::uint64_t h = Hash(m_p.seed, k1, k2, k3);
        const int variants = std::max<int>(1, static_cast<int>(m_p.variants.size()));
        piece.variant = static_cast<int>(h % static_cast<std::uint64_t>(variants));
        const std::uint64_t turns = h >> 32;
        const double w = m_p.widthCm, ht = m_p.heightCm;
        QTransform turn;
        const bool square = std::abs(w - ht) <= 1e-9 * std::max(w, ht);
        if (square && m_p.turn90) {
            switch (turns % 4) {
            case 1: turn = QTransform(0, 1, -1, 0, ht, 0); break; // (u, v) -> (h - v, u)
            case 2: turn = QTransform(-1, 0, 0, -1, w, ht); break;
            case 3: turn = QTransform(0, -1, 1, 0, 0, w); break; // (u, v) -> (v, w - u)
            default: break;
            }
        } else if (m_p.turn180 && (turns & 1u)) {
            turn = QTransform(-1, 0, 0, -1, w, ht);
        }
        piece.imageToSurface = turn * toSurface;
        m_pieces.push_back(std::move(piece));
    }

    std::vector<CLaidPiece> Take() { return std::move(m_pieces); }

private:
    const CLayingPattern& m_p;
    QTransform m_toSurface;
    QRectF m_bounds;
    std::vector<CLaidPiece> m_pieces;
};

// The bounds of `bounds` (surface) in the layout frame, widened by margin.
QRectF LayoutBounds(const QRectF& bounds, const QTransform& toSurface, double margin)
{
    const QRectF r = toSurface.inverted().mapRect(bounds);
    return r.adjusted(-margin, -margin, margin, margin);
}

int Floor(double v)
{
    return static_cast<int>(std::floor(std::clamp(v, -1e9, 1e9)));
}

int Ceil(double v)
{
    return static_cast<int>(std::ceil(std::clamp(v, -1e9, 1e9)));
}

void LayRows(const CLayingPattern& p, const CFrame& f, const QRectF& lb, CLayer& layer)
{
    const int r0 = Floor(lb.top() / f.b) - 1, r1 = Ceil(lb.bottom() / f.b) + 1;
    const auto piece = Rect(0, 0, f.w, f.h);
    for (int r = r0; r <= r1; ++r) {
        double shift = 0.0;
        if (p.layout == ELayout::OffsetHalf)
            shift = f.a * (std::abs(r) % 2) / 2.0;
        else if (p.layout == ELayout::OffsetThird)
            shift = f.a * (((r % 3) + 3) % 3) / 3.0;
        else if (p.layout == ELayout::RandomOffset)
            shift = CPatternLayout::RandomRowShift(p, r);
        const int c0 = Floor((lb.left() - shift) / f.a) - 1, c1 = Ceil((lb.right() - shift) / f.a) + 1;
        for (int c = c0; c <= c1; ++c)
            layer.Add(piece, QTransform::fromTranslate(c * f.a + shift, r * f.b), c, r, 0);
    }
}

// Horizontal pieces H at (kb + ma, kb - ma) and upright ones V beside
// them at (kb - b + ma, kb - ma): a staircase along (1, 1) repeated along
// (a, -a), which tiles the plane for any length to width.
void LayHerringbone(const CFrame& f, const QPolygonF& corners, CLayer& layer)
{
    const auto piece = Rect(0, 0, f.w, f.h);
    // The staircase runs along the surface's rows, so the bounds' own
    // corners (not a box around them) keep a thin strip of floor thin.
    double sMin = 1e300, sMax = -1e300, dMin = 1e300, dMax = -1e300;
    for (const QPointF& c : corners) {
        sMin = std::min(sMin, c.x() + c.y());
        sMax = std::max(sMax, c.x() + c.y());
        dMin = std::min(dMin, c.x() - c.y());
        dMax = std::max(dMax, c.x() - c.y());
    }
    const int k0 = Floor(sMin / (2 * f.b)) - 2, k1 = Ceil(sMax / (2 * f.b)) + 2;
    const int m0 = Floor(dMin / (2 * f.a)) - 2, m1 = Ceil(dMax / (2 * f.a)) + 2;
    for (int m = m0; m <= m1; ++m) {
        for (int k = k0; k <= k1; ++k) {
            const double x = k * f.b + m * f.a, y = k * f.b - m * f.a;
            layer.Add(piece, QTransform::fromTranslate(x, y), m, k, 0);
            // Upright: the piece's length runs down, its width leftwards
            // from x (a turn, not a mirror).
            layer.Add(piece, QTransform(0, 1, -1, 0, x - f.b + f.h, y), m, k, 1);
        }
    }
}

// Pairs of parallelograms meeting at a vertical axis, each cut from a
// piece with its ends at 45 degrees; rows stack along the axis.
void LayChevron(const CFrame& f, const QRectF& lb, CLayer& layer)
{
    const double c = kHalfRoot2;
    const double X = (f.w - f.h) * c;       // each piece's width across the axis
    const double pairPitch = 2 * X + 2 * f.j;
    const double rowPitch = 2 * c * (f.h + f.j);
    const std::vector<QPointF> left{{f.h, 0}, {f.w, 0}, {f.w - f.h, f.h}, {0, f.h}};
    const std::vector<QPointF> right{{0, 0}, {f.w - f.h, 0}, {f.w, f.h}, {f.h, f.h}};
    const double reach = f.w * c + rowPitch;
    const int p0 = Floor(lb.left() / pairPitch) - 1, p1 = Ceil(lb.right() / pairPitch) + 1;
    const int r0 = Floor((lb.top() - reach) / rowPitch) - 1, r1 = Ceil((lb.bottom() + reach) / rowPitch) + 1;
    for (int p = p0; p <= p1; ++p) {
        const double x = p * pairPitch;
        for (int r = r0; r <= r1; ++r) {
            const double y = r * rowPitch;
            // Left: along (c, -c), across (c, c); its left end starts at x.
            layer.Add(left, QTransform(c, -c, c, c, x - f.h * c, y), p, r, 0);
            // Right: along (c, c), across (-c, c); its end at the axis.
            layer.Add(right, QTransform(c, c, -c, c, x + X + f.j, y - f.w * c), p, r, 1);
        }
    }
}

void LayBasket(const CLayingPattern& p, const CFrame& f, const QRectF& lb, CLayer& layer)
{
    const int n = CPatternLayout::BasketCount(p);
    const double cell = std::max(f.w, n * f.h + (n - 1) * f.j) + f.j;
    const auto piece = Rect(0, 0, f.w, f.h);
    const int i0 = Floor(lb.left() / cell) - 1, i1 = Ceil(lb.right() / cell) + 1;
    const int k0 = Floor(lb.top() / cell) - 1, k1 = Ceil(lb.bottom() / cell) + 1;
    for (int k = k0; k <= k1; ++k) {
        for (int i = i0; i <= i1; ++i) {
            const double x = i * cell, y = k * cell;
            const bool along = ((i + k) % 2 + 2) % 2 == 0;
            for (int t = 0; t < n; ++t) {
                if (along)
                    layer.Add(piece, QTransform::fromTranslate(x, y + t * f.b), i, k, t);
                else
                    layer.Add(piece, QTransform(0, 1, -1, 0, x + t * f.b + f.h, y), i, k, t);
            }
        }
    }
}

} // namespace

int CPatternLayout::BasketCount(const CLayingPattern& p)
{
    const CFrame f = FrameOf(p);
    return std::clamp(static_cast<int>(std::lround(f.a / f.b)), 1, 3);
}

double CPatternLayout::RandomOffsetGap(const CLayingPattern& p)
{
    return std::min(kRandomOffsetGapCm, FrameOf(p).a / 3.0);
}

double CPatternLayout::RandomRowShift(const CLayingPattern& p, int row)
{
    // Rows are drawn in order away from row 0, each kept clear of the one
    // before it, so a row's shift does not depend on which rows are laid.
    const double a = FrameOf(p).a, gap = RandomOffsetGap(p);
    double shift = 0.0;
    const int step = row >= 0 ? 1 : -1;
    for (int r = 0; r != row + step; r += step) {
        if (r == 0) {
            shift = a * Unit(Hash(p.seed, r, 7, 0));
            continue;
        }
        double next = shift + a / 2.0;
        for (int attempt = 0; attempt < 64; ++attempt) {
            const double candidate = a * Unit(Hash(p.seed, r, 7, attempt + 1));
            double d = std::fmod(std::abs(candidate - shift), a);
            d = std::min(d, a - d);
            if (d >= gap) {
                next = candidate;
                break;
            }
        }
        shift = std::fmod(next, a);
    }
    return shift;
}

std::vector<CLaidPiece> CPatternLayout::Lay(const CLayingPattern& pattern, const QRectF& bounds, QPointF origin)
{
    if (!pattern.IsUsable() || bounds.isEmpty())
        return {};
    const CFrame f = FrameOf(pattern);
    const QTransform toSurface = LayoutToSurface(pattern, origin);
    CLayer layer(pattern, toSurface, bounds);
    const QRectF lb = LayoutBounds(bounds, toSurface, f.a + f.b);
    switch (pattern.layout) {
    case ELayout::Herringbone: LayHerringbone(f, toSurface.inverted().map(QPolygonF(bounds)), layer); break;
    case ELayout::Chevron:
        if (f.w > f.h)
            LayChevron(f, lb, layer);
        else
            LayRows(pattern, f, lb, layer);
        break;
    case ELayout::Basket: LayBasket(pattern, f, lb, layer); break;
    default: LayRows(pattern, f, lb, layer); break;
    }
    return layer.Take();
}

std::array<QPointF, 2> CPatternLayout::Period(const CLayingPattern& pattern)
{
    const CFrame f = FrameOf(pattern);
    QPointF u(f.a, 0), v(0, f.b);
    switch (pattern.layout) {
    case ELayout::Herringbone:
        u = QPointF(f.b, f.b);
        v = QPointF(f.a, -f.a);
        break;
    case ELayout::Chevron:
        if (f.w > f.h) {
            u = QPointF(2 * (f.w - f.h) * kHalfRoot2 + 2 * f.j, 0);
            v = QPointF(0, 2 * kHalfRoot2 * (f.h + f.j));
        }
        break;
    case ELayout::Basket: {
        const int n = BasketCount(pattern);
        const double cell = std::max(f.w, n * f.h + (n - 1) * f.j) + f.j;
        u = QPointF(2 * cell, 0);
        v = QPointF(cell, cell);
        break;
    }
    default: break;
    }
    QTransform turn;
    turn.rotate(pattern.angleDeg + OwnTurn(pattern.layout));
    return {turn.map(u), turn.map(v)};
}
