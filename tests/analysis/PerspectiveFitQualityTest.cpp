#include "SyntheticRoom.h"

#include "analysis/PerspectiveFit.h"
#include "analysis/VanishingPointFinder.h"

#include <QDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using EFloor = CSyntheticRoom::EFloor;

struct SPhoto
{
    const char* name;
    EFloor floor;
    bool wall;
    CSyntheticRoom::SCamera camera;
    double patternAngle;
    bool mustFit;  // clear lines in two directions
};

// Phone cameras (26-35 mm equivalent), pitched 10-40 degrees down.
std::vector<SPhoto> Photos()
{
    using C = CSyntheticRoom::SCamera;
    return {
        {"tiles, wall", EFloor::Tiles, true, C{1200, 900, 26, 1.5, 25, 30}, 0, true},
        {"tiles", EFloor::Tiles, false, C{1200, 900, 28, 1.6, 35, 15}, 0, true},
        {"tiles, turned", EFloor::Tiles, false, C{1200, 900, 32, 1.4, 20, 40}, 0, true},
        {"tiles, square on", EFloor::Tiles, true, C{1200, 900, 26, 1.5, 15, 0}, 0, true},
        {"tiles diagonal", EFloor::Tiles, false, C{1200, 900, 33, 1.5, 40, 10}, 45, true},
        {"planks, wall", EFloor::Planks, true, C{1200, 900, 30, 1.5, 25, 20}, 0, true},
        {"planks", EFloor::Planks, false, C{1200, 900, 26, 1.7, 30, 35}, 0, true},
        {"planks, low", EFloor::Planks, true, C{1200, 900, 35, 1.3, 12, 50}, 0, true},
        {"portrait planks", EFloor::Planks, false, C{900, 1200, 28, 1.5, 38, 25}, 90, true},
        {"stone, wall", EFloor::Stone, true, C{1200, 900, 28, 1.5, 25, 25}, 0, false},
        {"carpet, wall", EFloor::Carpet, true, C{1200, 900, 26, 1.5, 20, 30}, 0, false},
    };
}

struct SScore
{
    double angle = 0;   // worst corner's deviation from 90 degrees
    double aspect = 0;  // relative
};

// The fitted canvas laid on the true floor: its corners' angles and its
// proportions there. A corner beyond the true horizon has no place on the
// floor; the rectangle is then shrunk about the area's middle until all
// four have.
std::optional<SScore> Score(const CSyntheticRoom& room, const CPerspectiveFit& fit, const CPolygon& outline)
{
    const QRectF canvas(0, 0, fit.canvas.width(), fit.canvas.height());
    const auto toPicture = CHomography::FromRect(canvas, fit.corners);
    const auto toFloor = room.FloorToPicture().Inverted();
    if (!toPicture || !toFloor)
        return std::nullopt;
    const auto canvasOf = toPicture->Inverted();
    QPointF middle;
    int n = 0;
    for (const QPointF& p : outline.contours.front())
        if (const auto q = canvasOf->Map(p)) {
            middle += *q;
            ++n;
        }
    middle /= n;
    for (double k = 1.0; k > 0.05; k *= 0.8) {
        std::array<QPointF, 4> onFloor;
        bool ok = true;
        for (std::size_t i = 0; i < 4; ++i) {
            const QPointF corner((i & 1) ? canvas.right() : canvas.left(), (i & 2) ? canvas.bottom() : canvas.top());
            const auto picture = toPicture->Map(middle + (corner - middle) * k);
            // The floor's own side of its horizon is where the weight is
            // positive, as at the picture's bottom middle.
            ok = ok && picture && toFloor->Weight(*picture) > 0;
            if (ok)
                onFloor[i] = *toFloor->Map(*picture);
        }
        if (!ok)
            continue;
        // Ring order TL, TR, BR, BL.
        const std::array<QPointF, 4> ring{onFloor[0], onFloor[1], onFloor[3], onFloor[2]};
        SScore score;
        for (std::size_t i = 0; i < 4; ++i) {
            const QPointF a = ring[(i + 3) % 4] - ring[i], b = ring[(i + 1) % 4] - ring[i];
            const double angle = std::atan2(std::fabs(a.x() * b.y() - a.y() * b.x()), a.x() * b.x() + a.y() * b.y());
            score.angle = std::max(score.angle, std::fabs(angle * 180 / M_PI - 90));
        }
        const auto len = [](QPointF d) { return std::hypot(d.x(), d.y()); };
        const double width = len(ring[1] - ring[0]) + len(ring[2] - ring[3]);
        const double height = len(ring[3] - ring[0]) + len(ring[2] - ring[1]);
        score.aspect = std::fabs((width / height) / (canvas.width() / canvas.height()) - 1);
        return score;
    }
    return std::nullopt;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const std::size_t m = v.size() / 2;
    return v.size() % 2 ? v[m] : (v[m - 1] + v[m]) / 2;
}

TEST(PerspectiveFitQuality, SyntheticRoomsMeetTheTargets)
{
    std::vector<double> angles, aspects;
    std::printf("%-18s %8s %8s %7s %7s %6s  %s\n", "photo", "angle", "aspect", "f true", "f used", "lines",
                "note");
    for (const SPhoto& photo : Photos()) {
        const CSyntheticRoom room(photo.camera, photo.floor, photo.wall, photo.patternAngle);
        const QImage picture = room.Render();
        const CPolygon outline = room.FloorOutline();
        if (qEnvironmentVariableIsSet("TILEMONT_FIT_DUMP"))
            picture.save(QDir::tempPath() + QString("/fit-%1.png").arg(QString(photo.name).replace(' ', '_').remove(',')));
        QString reason;
        const auto fit = FitPerspective(picture, outline, {}, &reason);
        if (!fit) {
            std::printf("%-18s %8s %8s %7.0f %7s %6s  %s\n", photo.name, "-", "-", room.FocalPixels(), "-", "-",
                        qPrintable(reason));
            EXPECT_FALSE(photo.mustFit) << photo.name << ": " << qPrintable(reason);
            EXPECT_FALSE(reason.isEmpty());
            continue;
        }
        const auto score = Score(room, *fit, outline);
        ASSERT_TRUE(score) << photo.name;
        std::printf("%-18s %7.2f° %7.2f%% %7.0f %7.0f %6d  %s%s\n", photo.name, score->angle, 100 * score->aspect,
                    room.FocalPixels(), fit->focal, fit->supportingLines, fit->focalAssumed ? "focal assumed" : "",
                    fit->vanishingPoints.size() == 1 ? ", one direction + level horizon" : "");
        // The canvas's top edge runs to the dominant family's point (a
        // few hundredths of a degree: the points are not made exactly
        // orthogonal when the focal is assumed).
        const CLineSegment top{fit->corners[0], fit->corners[1]};
        EXPECT_LT(CVanishingPointFinder::Deviation(top, fit->vanishingPoints.front()), 1e-3) << photo.name;
        angles.push_back(score->angle);
        aspects.push_back(score->aspect);
        EXPECT_LE(score->angle, 4.0) << photo.name;
        EXPECT_GE(fit->canvas.width(), 1);
        EXPECT_LE(fit->canvas.width(), 20000);
        EXPECT_GE(fit->canvas.height(), 1);
        EXPECT_LE(fit->canvas.height(), 20000);
    }
    ASSERT_GE(angles.size(), 8u);
    std::printf("median: angle %.2f°, aspect %.2f%%\n", Median(angles), 100 * Median(aspects));
    EXPECT_LE(Median(angles), 1.5);
    EXPECT_LE(Median(aspects), 0.03);
}

} // namespace
