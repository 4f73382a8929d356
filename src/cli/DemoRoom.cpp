#include "DemoRoom.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPolygonF>
#include <QRadialGradient>
#include <algorithm>
#include <vector>

namespace {

constexpr int W = CDemoRoom::kWidth;
constexpr int H = CDemoRoom::kHeight;
constexpr int L = CDemoRoom::kBackLeft;
constexpr int T = CDemoRoom::kBackTop;
constexpr int R = CDemoRoom::kBackRight;
constexpr int B = CDemoRoom::kBackBottom;
// The skirting board at the picture's edge, grown by the perspective.
constexpr int kFrontSkirting = 46;

QPolygonF Polygon(std::initializer_list<QPointF> points)
{
    return QPolygonF(QList<QPointF>(points));
}

void Fill(QPainter& painter, const QPolygonF& polygon, const QBrush& brush)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(brush);
    painter.drawPolygon(polygon);
}

QLinearGradient Gradient(QPointF from, const QColor& start, QPointF to, const QColor& end)
{
    QLinearGradient g(from, to);
    g.setColorAt(0, start);
    g.setColorAt(1, end);
    return g;
}

// One pass of a running box average over count pixels (edges clamped),
// read from a packed line and written with the given stride.
void BlurLine(const std::vector<quint32>& src, quint32* dst, int stride, int radius)
{
    const int count = static_cast<int>(src.size());
    const int span = 2 * radius + 1;
    const auto at = [&](int i) { return src[static_cast<std::size_t>(std::clamp(i, 0, count - 1))]; };
    int sum[4] = {};
    const auto add = [&](quint32 px, int sign) {
        for (int c = 0; c < 4; ++c)
            sum[c] += sign * static_cast<int>((px >> (8 * c)) & 0xFF);
    };
    for (int i = -radius; i <= radius; ++i)
        add(at(i), 1);
    for (int i = 0; i < count; ++i) {
        quint32 px = 0;
        for (int c = 0; c < 4; ++c)
            px |= static_cast<quint32>((sum[c] + span / 2) / span) << (8 * c);
        dst[static_cast<std::ptrdiff_t>(i) * stride] = px;
        add(at(i - radius), -1);
        add(at(i + radius + 1), 1);
    }
}

// Three box passes each way come close to a Gaussian blur; whole-number
// sums keep the result the same on every run.
void Blur(QImage& layer, int radius)
{
    const int w = layer.width(), h = layer.height();
    const int stride = static_cast<int>(layer.bytesPerLine() / 4);
    auto* bits = reinterpret_cast<quint32*>(layer.bits());
    std::vector<quint32> line;
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < h; ++y) {
            quint32* row = bits + static_cast<std::ptrdiff_t>(y) * stride;
            line.assign(row, row + w);
            BlurLine(line, row, 1, radius);
        }
        for (int x = 0; x < w; ++x) {
            line.resize(static_cast<std::size_t>(h));
            for (int y = 0; y < h; ++y)
                line[static_cast<std::size_t>(y)] = bits[static_cast<std::ptrdiff_t>(y) * stride + x];
            BlurLine(line, bits + x, stride, radius);
        }
    }
}

QImage Layer()
{
    QImage layer(W, H, QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    return layer;
}

void DrawSurfaces(QPainter& p)
{
    Fill(p, Polygon({{0, 0}, {W, 0}, {R, T}, {L, T}}),
         Gradient({0, 0}, QColor(0xD9, 0xD3, 0xC9), {0, T}, QColor(0xEE, 0xEA, 0xE2)));
    Fill(p, Polygon({{0, 0}, {L, T}, {L, B}, {0, H}}),
         Gradient({0, 0}, QColor(0xA6, 0x9C, 0x8D), {L, 0}, QColor(0xD2, 0xC9, 0xBA)));
    Fill(p, Polygon({{W, 0}, {R, T}, {R, B}, {W, H}}),
         Gradient({R, 0}, QColor(0xC8, 0xBF, 0xB0), {W, 0}, QColor(0x9B, 0x91, 0x82)));
    Fill(p, Polygon({{L, T}, {R, T}, {R, B}, {L, B}}),
         Gradient({0, T}, QColor(0xE6, 0xDF, 0xD2), {0, B}, QColor(0xD6, 0xCD, 0xBE)));
    Fill(p, Polygon({{L, B}, {R, B}, {W, H}, {0, H}}),
         Gradient({0, B}, QColor(0xB3, 0xA4, 0x8F), {0, H}, QColor(0x8B, 0x7D, 0x6B)));

    const QColor board(0xF2, 0xEE, 0xE6);
    const int top = B - CDemoRoom::kSkirting;
    Fill(p, Polygon({{L, top}, {R, top}, {R, B}, {L, B}}), board);
    Fill(p, Polygon({{L, top}, {L, B}, {0, H}, {0, H - kFrontSkirting}}),
         Gradient({0, 0}, QColor(0xC9, 0xC4, 0xBA), {L, 0}, board));
    Fill(p, Polygon({{R, top}, {R, B}, {W, H}, {W, H - kFrontSkirting}}),
         Gradient({R, 0}, board, {W, 0}, QColor(0xC4, 0xBF, 0xB5)));
    p.setPen(QPen(QColor(0xFF, 0xFF, 0xFF, 160), 2));
    p.drawLine(QPointF(L, top + 1), QPointF(R, top + 1));
}

void DrawWindow(QPainter& p)
{
    const QRectF frame(CDemoRoom::kWindowLeft, CDemoRoom::kWindowTop,
                       CDemoRoom::kWindowRight - CDemoRoom::kWindowLeft,
                       CDemoRoom::kWindowBottom - CDemoRoom::kWindowTop);
    p.setPen(QPen(QColor(0xB5, 0xAE, 0xA2), 2));
    p.setBrush(QColor(0xF7, 0xF5, 0xF0));
    p.drawRect(frame.adjusted(1, 1, -1, -1));

    const QRectF glass = frame.adjusted(14, 14, -14, -20);
    p.setPen(Qt::NoPen);
    p.setBrush(Gradient(glass.topLeft(), QColor(0x7F, 0xAE, 0xE0), glass.bottomLeft(), QColor(0xD6, 0xE6, 0xF2)));
    p.drawRect(glass);

    p.save();
    p.setClipRect(glass);
    const double x0 = glass.left(), x1 = glass.right(), y = glass.bottom();
    // Two ranges of hills, the far one paler.
    Fill(p,
         Polygon({{x0, y - 85}, {x0 + 90, y - 120}, {x0 + 190, y - 95}, {x1 - 60, y - 135}, {x1, y - 110},
                  {x1, y}, {x0, y}}),
         QColor(0xAE, 0xC5, 0xA0));
    Fill(p, Polygon({{x0, y - 45}, {x0 + 120, y - 70}, {x0 + 230, y - 50}, {x1, y - 75}, {x1, y}, {x0, y}}),
         QColor(0x86, 0xA8, 0x70));
    QRadialGradient sun(QPointF(x0 + 70, glass.top() + 50), 160);
    sun.setColorAt(0, QColor(0xFF, 0xFF, 0xF4, 200));
    sun.setColorAt(1, QColor(0xFF, 0xFF, 0xF4, 0));
    p.fillRect(glass, sun);
    // The reveal shades the top and the left of the pane.
    p.fillRect(QRectF(glass.left(), glass.top(), glass.width(), 12),
               Gradient(glass.topLeft(), QColor(0, 0, 0, 60), glass.topLeft() + QPointF(0, 12), QColor(0, 0, 0, 0)));
    p.restore();

    const QColor bar(0xF4, 0xF2, 0xEC);
    p.fillRect(QRectF(glass.center().x() - 5, glass.top(), 10, glass.height()), bar);
    p.fillRect(QRectF(glass.left(), glass.top() + 0.35 * glass.height() - 5, glass.width(), 10), bar);
    p.fillRect(QRectF(frame.left() + 4, glass.bottom() + 4, frame.width() - 8, 4), QColor(0xDD, 0xD8, 0xCF));
}

// Daylight: a glow on the back wall and the window's patch on the floor
// with the shadows of its bars, softened as light through a pane is.
void DrawDaylight(QPainter& p)
{
    QRadialGradient glow(QPointF(800, 440), 460);
    glow.setColorAt(0, QColor(0xFF, 0xFA, 0xEB, 90));
    glow.setColorAt(1, QColor(0xFF, 0xFA, 0xEB, 0));
    p.fillRect(QRect(L, T, R - L, B - T), glow);

    QImage light = Layer();
    {
        QPainter lp(&light);
        lp.setRenderHint(QPainter::Antialiasing);
        Fill(lp, Polygon({{650, 745}, {950, 745}, {1032, 930}, {568, 930}}), QColor(0xFF, 0xF4, 0xD6, 150));
        lp.setCompositionMode(QPainter::CompositionMode_DestinationOut);
        Fill(lp, Polygon({{794, 745}, {806, 745}, {809, 930}, {791, 930}}), Qt::black);
        Fill(lp, Polygon({{540, 858}, {1060, 858}, {1060, 872}, {540, 872}}), Qt::black);
    }
    Blur(light, 5);
    p.drawImage(0, 0, light);

    QImage shade = Layer();
    {
        QPainter sp(&shade);
        sp.setRenderHint(QPainter::Antialiasing);
        sp.setPen(QPen(QColor(0, 0, 0, 80), 6));
        sp.drawLine(QPointF(L, T), QPointF(L, B));
        sp.drawLine(QPointF(R, T), QPointF(R, B));
        sp.drawLine(QPointF(L, T), QPointF(R, T));
        sp.drawLine(QPointF(L, B), QPointF(R, B));
        sp.drawLine(QPointF(0, 0), QPointF(L, T));
        sp.drawLine(QPointF(W, 0), QPointF(R, T));
        sp.drawLine(QPointF(0, H), QPointF(L, B));
        sp.drawLine(QPointF(W, H), QPointF(R, B));
        sp.fillRect(QRectF(CDemoRoom::kWindowLeft + 6, CDemoRoom::kWindowBottom,
                           CDemoRoom::kWindowRight - CDemoRoom::kWindowLeft - 12, 8),
                    QColor(0, 0, 0, 70));
    }
    Blur(shade, 12);
    p.drawImage(0, 0, shade);
}

void DrawVignette(QPainter& p)
{
    QRadialGradient vignette(QPointF(W / 2.0, H / 2.0 + 30), 1050);
    vignette.setColorAt(0.5, QColor(0, 0, 0, 0));
    vignette.setColorAt(1, QColor(0, 0, 0, 80));
    p.fillRect(QRect(0, 0, W, H), vignette);
}

} // namespace

QImage CDemoRoom::DrawPicture()
{
    QImage picture(W, H, QImage::Format_RGB32);
    picture.fill(QColor(0xE0, 0xDB, 0xD2));
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    DrawSurfaces(p);
    DrawWindow(p);
    DrawDaylight(p);
    DrawVignette(p);
    return picture;
}

std::array<QPoint, 4> CDemoRoom::FloorCorners()
{
    return {QPoint(L, B), QPoint(R, B), QPoint(0, H), QPoint(W, H)};
}

CPolygon CDemoRoom::FloorOutline()
{
    return CPolygon{{{QPointF(L, B), QPointF(R, B), QPointF(W, H), QPointF(0, H)}}};
}

CPolygon CDemoRoom::WallOutline()
{
    const double bottom = B - kSkirting;
    const CContour wall{QPointF(L, T), QPointF(R, T), QPointF(R, bottom), QPointF(L, bottom)};
    const CContour window{QPointF(kWindowLeft, kWindowTop), QPointF(kWindowRight, kWindowTop),
                          QPointF(kWindowRight, kWindowBottom), QPointF(kWindowLeft, kWindowBottom)};
    return CPolygon{{wall, window}};
}
