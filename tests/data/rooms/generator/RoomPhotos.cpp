// Renders the surface finder's test rooms into the folder given on the
// command line: NAME.jpg (the photograph), NAME-floor.png (the true floor,
// white) and rooms.txt (per room: a click on open floor and a rough
// rectangle around the floor, as a user would give them).
//
//   make-room-photos tests/data/rooms
#include "RoomScene.h"

#include <QDir>
#include <QFile>
#include <QTextStream>

#include <cmath>
#include <cstdio>
#include <functional>
#include <string>

namespace {

using Box = CRoomScene::SBox;
using M = SFloorMaterial::EKind;

// A table: a top and four legs.
void AddTable(CRoomScene& s, double x0, double z0, double x1, double z1, double height, RoomRgb colour)
{
    s.boxes.push_back({{x0, height - 0.04, z0}, {x1, height, z1}, colour, 0.02});
    constexpr double leg = 0.05;
    for (double x : {x0 + 0.03, x1 - 0.03 - leg})
        for (double z : {z0 + 0.03, z1 - 0.03 - leg})
            s.boxes.push_back({{x, 0, z}, {x + leg, height - 0.04, z + leg}, colour, 0.0});
}

// A sofa or armchair: a seat and a back along the far side.
void AddSofa(CRoomScene& s, double x0, double z0, double x1, double z1, RoomRgb colour)
{
    s.boxes.push_back({{x0, 0, z0}, {x1, 0.45, z1}, colour, 0.08});
    s.boxes.push_back({{x0, 0.45, z1 - 0.2}, {x1, 0.85, z1}, colour, 0.08});
}

void AddPlant(CRoomScene& s, double x, double z)
{
    s.boxes.push_back({{x - 0.15, 0, z - 0.15}, {x + 0.15, 0.35, z + 0.15}, {0.70, 0.38, 0.25}, 0.02});
    s.spheres.push_back({{x, 0.75, z}, 0.38, {0.25, 0.52, 0.2}});
}

struct SRoom
{
    const char* name;
    std::function<void(CRoomScene&)> build;
};

std::vector<SRoom> Rooms()
{
    return {
        {"tiles-table", [](CRoomScene& s) {
             s.floor = {M::Tiles, {0.86, 0.85, 0.82}, {0.55, 0.55, 0.52}, 0.3, 0, 0.006, 0.06, 0};
             s.camera.pitch = 28;
             s.camera.yaw = 10;
             AddTable(s, -0.4, 2.4, 0.8, 3.2, 0.75, {0.30, 0.18, 0.10});
             s.boxes.push_back({{1.6, 0, 4.4}, {2.5, 0.9, 4.95}, {0.93, 0.93, 0.92}, 0.01});
             s.patchX = -1.6, s.patchZ = 1.9, s.patchAx = 1.1, s.patchAz = 0.2, s.patchBx = 0.5, s.patchBz = 1.3;
         }},
        {"planks-sofa", [](CRoomScene& s) {
             s.floor = {M::Planks, {0.62, 0.45, 0.30}, {0.25, 0.17, 0.10}, 0.14, 1.2, 0.003, 0.25, 0};
             s.wall = {0.78, 0.82, 0.86};
             s.camera.pitch = 22;
             s.camera.yaw = -15;
             AddSofa(s, -2.0, 4.1, 0.2, 4.95, {0.35, 0.42, 0.55});
             AddPlant(s, 0.9, 3.6);
             s.patchX = -1.2, s.patchZ = 2.2, s.patchAx = 0.9, s.patchAz = -0.3, s.patchBx = 0.6, s.patchBz = 1.1;
         }},
        {"stone-corner", [](CRoomScene& s) {
             s.floor = {M::Stone, {0.72, 0.68, 0.60}, {0.45, 0.42, 0.38}, 0.45, 0, 0.012, 0.2, 0};
             s.wall = {0.90, 0.89, 0.86};
             s.skirting = {0.40, 0.30, 0.22};
             s.camera.pitch = 24;
             s.camera.yaw = 35;
             s.boxes.push_back({{1.3, 0, 2.6}, {1.8, 0.55, 3.1}, {0.92, 0.92, 0.92}, 0.0});
             AddSofa(s, 0.0, 3.9, 0.9, 4.8, {0.60, 0.20, 0.20});
             s.patchX = 0.2, s.patchZ = 1.6, s.patchAx = 1.0, s.patchAz = 0.5, s.patchBx = -0.3, s.patchBz = 1.0;
         }},
        {"carpet-plain", [](CRoomScene& s) {
             s.floor = {M::Carpet, {0.76, 0.70, 0.60}, {0, 0, 0}, 0, 0, 0, 0.08, 0};
             s.wall = {0.70, 0.76, 0.66};
             s.camera.pitch = 30;
             s.camera.yaw = 0;
             AddSofa(s, -1.6, 4.0, 0.8, 4.95, {0.30, 0.30, 0.33});
             AddTable(s, -0.9, 2.7, 0.3, 3.3, 0.45, {0.92, 0.92, 0.90});
             s.patchX = 0.6, s.patchZ = 1.7, s.patchAx = 0.9, s.patchAz = 0.1, s.patchBx = 0.4, s.patchBz = 1.2;
         }},
        {"tiles-diagonal", [](CRoomScene& s) {
             s.floor = {M::Tiles, {0.70, 0.40, 0.28}, {0.78, 0.74, 0.68}, 0.4, 0, 0.008, 0.12, 45};
             s.wall = {0.92, 0.91, 0.88};
             s.camera.focal35 = 26;
             s.camera.pitch = 32;
             s.camera.yaw = -30;
             s.boxes.push_back({{-2.5, 0, 2.5}, {-1.9, 1.1, 3.6}, {0.25, 0.35, 0.55}, 0.01});
             AddPlant(s, -1.2, 4.4);
             s.patchX = -0.8, s.patchZ = 1.4, s.patchAx = 0.8, s.patchAz = 0.4, s.patchBx = -0.2, s.patchBz = 1.0;
         }},
        {"planks-low", [](CRoomScene& s) {
             s.floor = {M::Planks, {0.62, 0.60, 0.56}, {0.30, 0.30, 0.30}, 0.2, 1.8, 0.004, 0.15, 0};
             s.wall = {0.93, 0.90, 0.84};
             s.camera.focal35 = 32;
             s.camera.pitch = 16;
             s.camera.yaw = 20;
             s.camera.position = {0, 1.5, 0};
             AddTable(s, 0.4, 2.8, 1.6, 3.6, 0.75, {0.12, 0.12, 0.12});
             s.patchX = -0.5, s.patchZ = 2.0, s.patchAx = 1.2, s.patchAz = 0.3, s.patchBx = 0.4, s.patchBz = 1.0;
         }},
        {"tiles-large", [](CRoomScene& s) {
             s.floor = {M::Tiles, {0.35, 0.35, 0.37}, {0.55, 0.55, 0.55}, 0.6, 0, 0.005, 0.06, 0};
             s.wall = {0.94, 0.94, 0.93};
             s.camera.pitch = 35;
             s.camera.yaw = 5;
             s.camera.position = {0, 1.7, 0.5};
             AddSofa(s, -1.2, 4.0, 1.2, 4.95, {0.80, 0.72, 0.60});
             s.boxes.push_back({{1.6, 0, 2.8}, {2.2, 0.6, 3.3}, {0.55, 0.35, 0.20}, 0.05});
             s.patchX = -1.8, s.patchZ = 2.4, s.patchAx = 1.0, s.patchAz = 0.1, s.patchBx = 0.3, s.patchBz = 1.2;
         }},
        {"carpet-blue", [](CRoomScene& s) {
             s.floor = {M::Carpet, {0.45, 0.50, 0.58}, {0, 0, 0}, 0, 0, 0, 0.1, 0};
             s.wall = {0.93, 0.90, 0.80};
             s.camera.pitch = 25;
             s.camera.yaw = 25;
             s.boxes.push_back({{2.2, 0, 3.4}, {3.0, 0.8, 4.3}, {0.50, 0.32, 0.18}, 0.06});
             AddTable(s, -0.3, 2.6, 0.7, 3.4, 0.72, {0.93, 0.93, 0.93});
             AddPlant(s, 1.4, 4.5);
             s.patchX = 0.9, s.patchZ = 1.5, s.patchAx = 0.8, s.patchAz = 0.3, s.patchBx = 0.3, s.patchBz = 1.1;
         }},
    };
}

// A click a user would make: on open floor, at least a little way from any
// edge, as near the lower middle of the picture as that allows.
QPoint ClickOnFloor(const QImage& mask)
{
    const int margin = 12;
    QPoint best(-1, -1);
    double bestDistance = 1e300;
    for (int y = margin; y < mask.height() - margin; ++y)
        for (int x = margin; x < mask.width() - margin; ++x) {
            bool open = true;
            for (int dy = -margin; dy <= margin && open; dy += 3)
                for (int dx = -margin; dx <= margin && open; dx += 3)
                    open = mask.constScanLine(y + dy)[x + dx] != 0;
            const double d = std::hypot(x - 0.5 * mask.width(), y - 0.75 * mask.height());
            if (open && d < bestDistance) {
                bestDistance = d;
                best = QPoint(x, y);
            }
        }
    return best;
}

// A rough rectangle: the floor's bounds, loosely, clipped to the picture.
QRect RoughRectangle(const QImage& mask)
{
    int x0 = mask.width(), y0 = mask.height(), x1 = -1, y1 = -1;
    for (int y = 0; y < mask.height(); ++y)
        for (int x = 0; x < mask.width(); ++x)
            if (mask.constScanLine(y)[x]) {
                x0 = std::min(x0, x), x1 = std::max(x1, x);
                y0 = std::min(y0, y), y1 = std::max(y1, y);
            }
    const int padX = mask.width() / 40, padY = mask.height() / 30;
    return QRect(QPoint(x0 - padX, y0 - padY), QPoint(x1 + padX, y1 + padY)).intersected(mask.rect());
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-room-photos FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    QFile list(folder.filePath(QStringLiteral("rooms.txt")));
    if (!list.open(QIODevice::WriteOnly | QIODevice::Text)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(list.fileName()));
        return 1;
    }
    QTextStream out(&list);
    out << "# name click-x click-y rect-x rect-y rect-w rect-h\n";
    for (const SRoom& room : Rooms()) {
        CRoomScene scene;
        room.build(scene);
        QImage photo, mask;
        scene.Render(photo, mask);
        const QString name = QString::fromLatin1(room.name);
        if (!photo.save(folder.filePath(name + QStringLiteral(".jpg")), "JPEG", 90) ||
            !mask.convertToFormat(QImage::Format_Mono).save(folder.filePath(name + QStringLiteral("-floor.png")))) {
            std::fprintf(stderr, "cannot write %s\n", room.name);
            return 1;
        }
        const QPoint click = ClickOnFloor(mask);
        const QRect rect = RoughRectangle(mask);
        out << name << ' ' << click.x() << ' ' << click.y() << ' ' << rect.x() << ' ' << rect.y() << ' '
            << rect.width() << ' ' << rect.height() << '\n';
    }
    return 0;
}
