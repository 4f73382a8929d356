#include "render/PatternLayout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;

CLayingPattern Pattern(ELayout layout, double w, double h, double jointMm, double angle = 0.0)
{
    CLayingPattern p;
    p.variants.resize(3);
    for (auto& v : p.variants)
        v.image = QImage(4, 4, QImage::Format_RGB32);
    p.widthCm = w;
    p.heightCm = h;
    p.layout = layout;
    p.jointMm = jointMm;
    p.angleDeg = angle;
    p.seed = 77;
    return p;
}

// The polygon pushed outwards by d along every edge's normal, corners
// mitred: for the rectangles and parallelograms the layouts lay, the pitch
// cell a piece stands for once d is half a joint.
std::vector<QPointF> Widen(const std::vector<QPointF>& poly, double d)
{
    double signedArea = 0;
    const std::size_t n = poly.size();
    for (std::size_t i = 0; i < n; ++i)
        signedArea += poly[i].x() * poly[(i + 1) % n].y() - poly[(i + 1) % n].x() * poly[i].y();
    const double side = signedArea > 0 ? 1 : -1;
    std::vector<QPointF> out;
    for (std::size_t i = 0; i < n; ++i) {
        const QPointF a = poly[(i + n - 1) % n], b = poly[i], c = poly[(i + 1) % n];
        const auto normal = [&](QPointF p, QPointF q) {
            const QPointF e = q - p;
            const double len = std::hypot(e.x(), e.y());
            return QPointF(e.y(), -e.x()) * (side / len);
        };
        const QPointF n1 = normal(a, b), n2 = normal(b, c);
        // Where the two shifted edges meet.
        const QPointF p1 = b + n1 * d, p2 = b + n2 * d;
        const QPointF e1 = b - a, e2 = c - b;
        const double den = e1.x() * e2.y() - e1.y() * e2.x();
        const double t = ((p2.x() - p1.x()) * e2.y() - (p2.y() - p1.y()) * e2.x()) / den;
        out.push_back(p1 + e1 * t);
    }
    return out;
}

// Counts, on a grid of sample points, how many polygons hold each one: a
// scanline rasteriser of its own (crossings of each row with the edges),
// sharing nothing with the layout code.
class CCoverage
{
public:
    CCoverage(QRectF window, double step) : m_window(window), m_step(step)
    {
        m_w = static_cast<int>(window.width() / step);
        m_h = static_cast<int>(window.height() / step);
        m_count.assign(static_cast<std::size_t>(m_w) * static_cast<std::size_t>(m_h), 0);
    }

    void Fill(const std::vector<QPointF>& poly)
    {
        const std::size_t n = poly.size();
        for (int row = 0; row < m_h; ++row) {
            // Sample points sit off any round number so none lies on an edge.
            const double y = m_window.top() + (row + 0.5137) * m_step;
            std::vector<double> xs;
            for (std::size_t i = 0; i < n; ++i) {
                const QPointF a = poly[i], b = poly[(i + 1) % n];
                if ((a.y() <= y) != (b.y() <= y))
                    xs.push_back(a.x() + (y - a.y()) * (b.x() - a.x()) / (b.y() - a.y()));
            }
            std::sort(xs.begin(), xs.end());
            for (std::size_t k = 0; k + 1 < xs.size(); k += 2) {
                const int c0 = std::max(0, static_cast<int>(std::ceil((xs[k] - m_window.left()) / m_step - 0.4713)));
                const int c1 = std::min(m_w - 1, static_cast<int>(std::floor((xs[k + 1] - m_window.left()) / m_step - 0.4713)));
                for (int c = c0; c <= c1; ++c)
                    ++m_count[static_cast<std::size_t>(row) * static_cast<std::size_t>(m_w) + static_cast<std::size_t>(c)];
            }
        }
    }

    int Min() const { return *std::min_element(m_count.begin(), m_count.end()); }
    int Max() const { return *std::max_element(m_count.begin(), m_count.end()); }
    double Share(int value) const
    {
        return double(std::count(m_count.begin(), m_count.end(), value)) / double(m_count.size());
    }

private:
    QRectF m_window;
    double m_step;
    int m_w = 0, m_h = 0;
    std::vector<int> m_count;
};

struct CCase
{
    ELayout layout;
    double w, h, jointMm, angle;
};

class PatternTiling : public ::testing::TestWithParam<CCase>
{
};

TEST_P(PatternTiling, PiecesAndJointsCoverTheFloorOnceWithoutGapOrOverlap)
{
    const CCase c = GetParam();
    const CLayingPattern p = Pattern(c.layout, c.w, c.h, c.jointMm, c.angle);
    const QRectF window(-37.3, 12.1, 160, 120);
    // Laid a little past the window: a piece just outside it still owns
    // the half joint along its edge.
    const auto pieces = CPatternLayout::Lay(p, window.adjusted(-1, -1, 1, 1), QPointF(3.7, 20.2));
    ASSERT_GT(pieces.size(), 10u);

    CCoverage bare(window, 0.1), widened(window, 0.1);
    for (const CLaidPiece& piece : pieces) {
        bare.Fill(piece.shape);
        widened.Fill(Widen(piece.shape, c.jointMm / 20.0));
    }
    EXPECT_LE(bare.Max(), 1) << "pieces overlap";
    EXPECT_EQ(widened.Min(), 1) << "a gap wider than the joint";
    EXPECT_EQ(widened.Max(), 1) << "joints narrower than asked";
    // The joints take the share of the floor their width gives.
    if (c.jointMm > 0)
        EXPECT_GT(bare.Share(0), 0.0);
    else
        EXPECT_EQ(bare.Share(0), 0.0);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, PatternTiling,
    ::testing::Values(CCase{ELayout::Straight, 30, 30, 3, 0}, CCase{ELayout::Straight, 60, 30, 0, 17},
                      CCase{ELayout::OffsetHalf, 40, 15, 2, 0}, CCase{ELayout::OffsetThird, 45, 20, 2.5, -30},
                      CCase{ELayout::RandomOffset, 120, 20, 1, 0}, CCase{ELayout::Herringbone, 60, 12, 2, 0},
                      CCase{ELayout::Herringbone, 37, 11, 0, 10}, CCase{ELayout::Chevron, 60, 12, 2, 0},
                      CCase{ELayout::Chevron, 50, 15, 3, 90}, CCase{ELayout::Basket, 20, 9.9, 2, 0},
                      CCase{ELayout::Basket, 30, 9.8, 3, 0}, CCase{ELayout::Diagonal, 30, 30, 2, 0}));

// The direction of a piece's first edge, in degrees within (-90, 90].
double EdgeAngle(const CLaidPiece& piece, int edge)
{
    const QPointF d = piece.shape[static_cast<std::size_t>(edge + 1)] - piece.shape[static_cast<std::size_t>(edge)];
    double a = std::atan2(d.y(), d.x()) * 180 / kPi;
    while (a <= -90)
        a += 180;
    while (a > 90)
        a -= 180;
    return a;
}

TEST(PatternLayout, HerringboneAndChevronPiecesLieAtFortyFiveDegreesBothWays)
{
    for (ELayout layout : {ELayout::Herringbone, ELayout::Chevron}) {
        const auto pieces = CPatternLayout::Lay(Pattern(layout, 60, 10, 2), QRectF(0, 0, 200, 200), {});
        int plus = 0, minus = 0;
        for (const CLaidPiece& piece : pieces) {
            // The long edge: the first for a laid rectangle and for the
            // parallelograms.
            const double a = EdgeAngle(piece, 0);
            if (std::abs(a - 45) < 1e-9)
                ++plus;
            else if (std::abs(a + 45) < 1e-9)
                ++minus;
            else
                ADD_FAILURE() << LayoutName(layout).toStdString() << " piece at " << a << " degrees";
        }
        EXPECT_GT(plus, 20);
        EXPECT_NEAR(double(plus) / double(minus), 1.0, 0.2);
    }
    // Chevron ends are cut square to the axis: upright.
    for (const CLaidPiece& piece : CPatternLayout::Lay(Pattern(ELayout::Chevron, 60, 10, 2), QRectF(0, 0, 100, 100), {}))
        EXPECT_NEAR(std::abs(EdgeAngle(piece, 1)), 90.0, 1e-9);
}

// The left edges of the pieces in the row whose top is at y.
std::vector<double> RowStarts(const std::vector<CLaidPiece>& pieces, double y)
{
    std::vector<double> xs;
    for (const CLaidPiece& piece : pieces)
        if (std::abs(piece.shape[0].y() - y) < 1e-9)
            xs.push_back(piece.shape[0].x());
    std::sort(xs.begin(), xs.end());
    return xs;
}

TEST(PatternLayout, OffsetRowsShiftByExactlyAHalfOrAThirdOfThePitch)
{
    const double w = 40, h = 15, j = 0.3;
    for (auto [layout, share] : {std::pair{ELayout::OffsetHalf, 0.5}, std::pair{ELayout::OffsetThird, 1.0 / 3}}) {
        const auto pieces = CPatternLayout::Lay(Pattern(layout, w, h, 3), QRectF(0, 0, 300, 100), {});
        for (int row = 0; row < 5; ++row) {
            const auto xs = RowStarts(pieces, row * (h + j));
            ASSERT_GT(xs.size(), 5u);
            // Every start in the row is the origin's plus the row's shift
            // plus whole pitches.
            double phase = std::fmod(xs[0], w + j);
            phase = phase < 0 ? phase + w + j : phase;
            const double want = std::fmod(row * share, 1.0) * (w + j);
            EXPECT_NEAR(phase, want, 1e-9) << LayoutName(layout).toStdString() << " row " << row;
            for (std::size_t k = 1; k < xs.size(); ++k)
                EXPECT_NEAR(xs[k] - xs[k - 1], w + j, 1e-9);
        }
    }
}

TEST(PatternLayout, RandomOffsetKeepsNeighbouringRowsJointsApartAndVaries)
{
    CLayingPattern p = Pattern(ELayout::RandomOffset, 120, 20, 2);
    const double a = 120.2;
    std::vector<double> shifts;
    for (int row = -40; row <= 40; ++row)
        shifts.push_back(CPatternLayout::RandomRowShift(p, row));
    for (std::size_t i = 1; i < shifts.size(); ++i) {
        double d = std::fmod(std::abs(shifts[i] - shifts[i - 1]), a);
        d = std::min(d, a - d);
        EXPECT_GE(d, 15.0 - 1e-9);
    }
    // Spread over the whole pitch, not a repeating pair.
    EXPECT_GT(*std::max_element(shifts.begin(), shifts.end()) - *std::min_element(shifts.begin(), shifts.end()),
              0.6 * a);
    const auto distinct = std::unique(shifts.begin(), shifts.end()) - shifts.begin();
    EXPECT_EQ(distinct, 81);
    // The same rows come out the same wherever the floor starts.
    const auto all = CPatternLayout::Lay(p, QRectF(0, 0, 500, 200), {});
    const auto part = CPatternLayout::Lay(p, QRectF(250, 100, 50, 30), {});
    for (const CLaidPiece& piece : part) {
        const bool same = std::any_of(all.begin(), all.end(), [&](const CLaidPiece& o) {
            return o.shape == piece.shape && o.variant == piece.variant && o.imageToSurface == piece.imageToSurface;
        });
        EXPECT_TRUE(same);
    }
}

TEST(PatternLayout, VariantsAndTurnsFollowTheSeed)
{
    CLayingPattern p = Pattern(ELayout::Straight, 20, 20, 2);
    p.variants.resize(4);
    p.turn90 = true;
    const QRectF window(0, 0, 400, 400);
    const auto first = CPatternLayout::Lay(p, window, {});
    const auto again = CPatternLayout::Lay(p, window, {});
    ASSERT_EQ(first.size(), again.size());
    std::vector<int> perVariant(4), perTurn(4);
    for (std::size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(first[i].variant, again[i].variant);
        EXPECT_EQ(first[i].imageToSurface, again[i].imageToSurface);
        ++perVariant[static_cast<std::size_t>(first[i].variant)];
        // A quarter turn shows in where the image's x axis points.
        const QPointF x = first[i].imageToSurface.map(QPointF(1, 0)) - first[i].imageToSurface.map(QPointF(0, 0));
        const int turn = x.x() > 0.5 ? 0 : x.y() > 0.5 ? 1 : x.x() < -0.5 ? 2 : 3;
        ++perTurn[static_cast<std::size_t>(turn)];
        // Turned or not, the image still covers the piece exactly.
        const QRectF image = first[i].imageToSurface.mapRect(QRectF(0, 0, 20, 20));
        EXPECT_NEAR(image.left(), first[i].shape[0].x(), 1e-9);
        EXPECT_NEAR(image.top(), first[i].shape[0].y(), 1e-9);
        EXPECT_NEAR(image.right(), first[i].shape[2].x(), 1e-9);
        EXPECT_NEAR(image.bottom(), first[i].shape[2].y(), 1e-9);
    }
    for (int n : perVariant)
        EXPECT_NEAR(n, double(first.size()) / 4, 0.3 * double(first.size()) / 4);
    for (int n : perTurn)
        EXPECT_NEAR(n, double(first.size()) / 4, 0.3 * double(first.size()) / 4);

    p.seed = 78;
    const auto other = CPatternLayout::Lay(p, window, {});
    int differ = 0;
    for (std::size_t i = 0; i < first.size(); ++i)
        differ += first[i].variant != other[i].variant;
    EXPECT_GT(differ, int(first.size()) / 2);

    // Without quarter turns an oblong piece only ever lies upright or turned
    // by a half.
    CLayingPattern planks = Pattern(ELayout::Straight, 90, 20, 2);
    planks.turn90 = true;
    for (const CLaidPiece& piece : CPatternLayout::Lay(planks, window, {})) {
        const QPointF x = piece.imageToSurface.map(QPointF(1, 0)) - piece.imageToSurface.map(QPointF(0, 0));
        EXPECT_NEAR(std::abs(x.x()), 1.0, 1e-12);
    }
}

} // namespace
