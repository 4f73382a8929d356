#include "document/Area.h"
#include "document/TemplateFile.h"
#include "document/WarpCache.h"
#include "render/AreaDraw.h"

#include <QPainter>
#include <QPainterPath>
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

constexpr QRgb kMarker = 0xFFFF00FF;

// A 4 x 4 checker of dark and light grey: any misplaced or missing pixel
// shows, and the stored pictures' compression, which halves colour
// resolution, keeps it nearly as it is.
QImage Checker()
{
    QImage texture(8, 8, QImage::Format_RGB32);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            texture.setPixel(x, y, ((x / 4 + y / 4) % 2) ? 0xFF303030 : 0xFFD0D0D0);
    return texture;
}

// A floor in a 300 x 200 picture whose far corners lie thousands of pixels
// past the picture, as a fitted perspective puts them.
CArea FarReachingFloor()
{
    CArea area;
    const CPolygon outline{{{{20.5, 80.5}, {280.5, 90.5}, {290.5, 195.5}, {10.5, 190.5}}}};
    area.SetOutline(&outline);
    const QImage texture = Checker();
    area.SetTexture(&texture);
    area.GetSkewCorners() = {QPoint(-2500, -1500), QPoint(2800, -1500), QPoint(-40, 260), QPoint(340, 260)};
    area.SetInitialRect({0, 0, 600, 900});
    area.SetScale(3.0);
    area.SetPerspective(true);
    area.SetSkewApplied(true);
    return area;
}

QImage Draw(const CArea& area, CWarpCache* warps = nullptr)
{
    QImage picture(300, 200, QImage::Format_RGB32);
    picture.fill(kMarker);
    QPainter painter(&picture);
    DrawArea(painter, area, {.warps = warps});
    return picture;
}

int ChannelDistance(QRgb a, QRgb b)
{
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
}

} // namespace

TEST(PerspectiveArea, PaintsEveryOutlinePixelAndWarpsOnlyNearTheOutline)
{
    const CArea area = FarReachingFloor();
    CWarpCache warps;
    const QImage drawn = Draw(area, &warps);
    const QRect rect = area.GetSkewedTextureRect();
    // Memory follows the area, not the quadrilateral of 5000 x 1800 pixels.
    EXPECT_LE(qint64(rect.width()) * rect.height(), 4 * 300 * 200);
    const auto warp = warps.FindExact(area.GetId(), area.WarpInputs());
    ASSERT_TRUE(warp);
    EXPECT_EQ(warp->size(), rect.size());

    // Inside the outline (a pixel in from its edge, where the clip's
    // antialiasing ends) nothing of the background shows: no seam.
    QPainterPath outline;
    PolygonToPath(area.GetOutline(), outline);
    int inside = 0;
    for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < drawn.width(); ++x) {
            if (!outline.contains(QRectF(x - 1, y - 1, 3, 3)))
                continue;
            ++inside;
            ASSERT_NE(drawn.pixel(x, y), kMarker) << x << "," << y;
            ASSERT_NE(qGray(drawn.pixel(x, y)), 0) << x << "," << y;
        }
    EXPECT_GT(inside, 20000);
}

TEST(PerspectiveArea, SavedWarpShowsTheSameToReadersThatKnowNoPerspective)
{
    const CArea area = FarReachingFloor();
    CWarpCache warps;
    const QImage drawn = Draw(area, &warps);

    QImage picture(300, 200, QImage::Format_RGB32);
    picture.fill(Qt::gray);
    std::vector<CArea> areas{area};
    // With the warp just drawn.
    const auto bytes = WriteTemplate(&picture, QByteArray(), areas, &warps);
    ASSERT_TRUE(bytes);
    // Read as a reader that knows nothing past the area records: it keeps
    // the stored warp and places it at the corners' top-left bound.
    const qsizetype extension = bytes->lastIndexOf("TLMX");
    ASSERT_GT(extension, 0);
    CTemplateData read = ReadTemplate(bytes->left(extension));
    ASSERT_EQ(read.areas.size(), 1u);
    CArea old = read.areas[0];
    old.SetPerspective(false);
    ASSERT_TRUE(old.GetStoredWarp());
    EXPECT_EQ(old.GetStoredWarp()->size(),
              QSize(area.GetSkewedTextureRect().right() + 2500 + 1, area.GetSkewedTextureRect().bottom() + 1500 + 1));
    const QImage shown = Draw(old);
    // Only the stored picture's compression differs: it blurs colour across
    // the checker's hard edges, and shifts nothing.
    qint64 total = 0;
    int far = 0;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 300; ++x) {
            const int d = ChannelDistance(drawn.pixel(x, y), shown.pixel(x, y));
            total += d;
            far += d > 64;
        }
    EXPECT_LT(double(total) / (300 * 200), 4.0);
    EXPECT_LT(far, 300 * 200 / 50);
}
