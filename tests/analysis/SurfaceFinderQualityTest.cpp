#include "analysis/SurfaceFinder.h"

#include <QFile>
#include <QImage>
#include <QTextStream>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// A rendered room: the photograph, its true floor, and a user's click and
// rough rectangle (tests/data/rooms, made by make-room-photos).
struct SRoom
{
    QString name;
    QImage photo;
    QImage floor;
    QPoint click;
    QRect rect;
};

std::vector<SRoom> Rooms()
{
    const QString folder = QStringLiteral(TILEMONT_ROOMS);
    QFile list(folder + QStringLiteral("/rooms.txt"));
    std::vector<SRoom> rooms;
    if (!list.open(QIODevice::ReadOnly | QIODevice::Text))
        return rooms;
    QTextStream in(&list);
    while (!in.atEnd()) {
        const QStringList f = in.readLine().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (f.size() != 7 || f[0].startsWith(QLatin1Char('#')))
            continue;
        SRoom room;
        room.name = f[0];
        room.photo = QImage(folder + QLatin1Char('/') + f[0] + QStringLiteral(".jpg"));
        room.floor = QImage(folder + QLatin1Char('/') + f[0] + QStringLiteral("-floor.png"))
                         .convertToFormat(QImage::Format_Grayscale8);
        room.click = QPoint(f[1].toInt(), f[2].toInt());
        room.rect = QRect(f[3].toInt(), f[4].toInt(), f[5].toInt(), f[6].toInt());
        rooms.push_back(room);
    }
    return rooms;
}

double IoU(const CRegionMask& found, const QImage& truth)
{
    std::size_t both = 0, either = 0;
    for (int y = 0; y < truth.height(); ++y) {
        const uchar* t = truth.constScanLine(y);
        const std::uint8_t* f = found.Row(y);
        for (int x = 0; x < truth.width(); ++x) {
            both += t[x] && f[x];
            either += t[x] || f[x];
        }
    }
    return either ? double(both) / double(either) : 0.0;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

// The floor of every test room, found from one click and from a rough
// rectangle, against the rendered truth.
TEST(SurfaceFinderQuality, FindsTheFloorOfEveryRoom)
{
    const std::vector<SRoom> rooms = Rooms();
    ASSERT_GE(rooms.size(), 6u) << "test rooms missing from " << TILEMONT_ROOMS;
    std::vector<double> byClick, byRect;
    for (const SRoom& room : rooms) {
        ASSERT_FALSE(room.photo.isNull()) << room.name.toStdString();
        ASSERT_EQ(room.photo.size(), room.floor.size()) << room.name.toStdString();
        const auto t0 = std::chrono::steady_clock::now();
        const auto click = CSurfaceFinder::Find(room.photo, {room.click, {}});
        const auto t1 = std::chrono::steady_clock::now();
        const QRectF r(room.rect);
        const auto rect = CSurfaceFinder::Find(room.photo, {std::nullopt, {r.topLeft(), r.topRight(), r.bottomRight(), r.bottomLeft()}});
        ASSERT_TRUE(click && rect);
        byClick.push_back(IoU(*click, room.floor));
        byRect.push_back(IoU(*rect, room.floor));
        std::printf("%-16s click IoU %.4f  rectangle IoU %.4f  (%.0f ms)\n", qPrintable(room.name), byClick.back(),
                    byRect.back(), std::chrono::duration<double, std::milli>(t1 - t0).count());
    }
    for (const auto* scores : {&byClick, &byRect}) {
        EXPECT_GE(*std::min_element(scores->begin(), scores->end()), 0.90);
        EXPECT_GE(Median(*scores), 0.95);
    }
}

} // namespace
