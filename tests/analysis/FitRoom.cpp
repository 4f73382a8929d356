#include "FitRoom.h"

#include "analysis/MaskOutline.h"
#include "analysis/RegionMask.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QPainterPath>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

CFitRoom::SRendered CFitRoom::Render(int threads, int samples) const
{
    QElapsedTimer clock;
    clock.start();
    CRoomScene s = scene;
    if (samples > 0)
        s.camera.samples = samples;
    CRoomScene::SPhoto photo = s.Render(WallShown(), threads);
    SRendered out;
    out.picture = photo.photo;
    if (jpegQuality > 0) {
        // A phone's JPEG: blocks and softened edges.
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        photo.photo.save(&buffer, "JPEG", jpegQuality);
        out.picture = QImage::fromData(bytes, "JPEG").convertToFormat(QImage::Format_RGB32);
    }
    out.floorMask = photo.floorMask;
    out.wallMask = photo.wallMask;
    out.rugMask = photo.rugMask;
    out.outline = Outline(AreaMask(out));
    out.seconds = clock.elapsed() / 1000.0;
    return out;
}

CHomography CFitRoom::Truth() const
{
    return IsWall() ? WallTruth() : FloorTruth();
}

CPolygon CFitRoom::Undistorted(const CPolygon& outline) const
{
    CPolygon out = outline;
    for (CContour& contour : out.contours)
        for (QPointF& p : contour)
            p = scene.camera.Undistort(p);
    return out;
}

CPolygon CFitRoom::Outline(const QImage& image)
{
    const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    const int w = grey.width(), h = grey.height();
    CRegionMask mask(w, h);
    for (int y = 0; y < h; ++y)
        std::copy_n(grey.constScanLine(y), w, mask.Row(y));
    // Label the 8-connected parts.
    std::vector<int> label(mask.bits.size(), -1);
    std::vector<std::size_t> sizes;
    std::vector<int> stack;
    for (int start = 0; start < w * h; ++start) {
        if (!mask.bits[std::size_t(start)] || label[std::size_t(start)] >= 0)
            continue;
        const int id = static_cast<int>(sizes.size());
        std::size_t size = 0;
        stack.assign(1, start);
        label[std::size_t(start)] = id;
        while (!stack.empty()) {
            const int i = stack.back();
            stack.pop_back();
            ++size;
            const int x = i % w, y = i / w;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const int nx = x + dx, ny = y + dy;
                    if (nx < 0 || ny < 0 || nx >= w || ny >= h)
                        continue;
                    const auto j = std::size_t(ny) * std::size_t(w) + std::size_t(nx);
                    if (mask.bits[j] && label[j] < 0) {
                        label[j] = id;
                        stack.push_back(int(j));
                    }
                }
        }
        sizes.push_back(size);
    }
    if (sizes.empty())
        return {};
    const std::size_t largest = *std::max_element(sizes.begin(), sizes.end());
    for (std::size_t i = 0; i < mask.bits.size(); ++i)
        mask.bits[i] = mask.bits[i] && sizes[std::size_t(label[i])] * 50 >= largest ? 1 : 0;
    return MaskOutline(mask);
}

const CFitRoom::SRendered& CFitRoom::Rendered(int samples) const
{
    static std::mutex guard;
    static std::map<std::pair<std::string, int>, SRendered> done;
    const std::lock_guard lock(guard);
    const int n = samples > 0 ? samples : scene.camera.samples;
    const auto key = std::make_pair(name, n);
    const auto found = done.find(key);
    if (found != done.end())
        return found->second;
    const int threads = static_cast<int>(std::max(2u, std::thread::hardware_concurrency()));
    const SRendered& r = done.emplace(key, Render(threads, n)).first->second;
    std::printf("rendered %-22s %4d x %-4d %d x %d samples  %5.2f s\n", name.c_str(), scene.camera.width,
                scene.camera.height, n, n, r.seconds);
    const QString folder = qEnvironmentVariable("TILEMONT_FIT_DUMP");
    if (!folder.isEmpty() && n == scene.camera.samples)
        Dump(r, folder);
    return r;
}

void CFitRoom::Dump(const SRendered& r, const QString& folder) const
{
    QDir().mkpath(folder);
    const QString base = QDir(folder).filePath(QString::fromStdString(name));
    r.picture.save(base + QStringLiteral(".png"));
    r.floorMask.save(base + QStringLiteral("-floor.png"));
    r.wallMask.save(base + QStringLiteral("-wall.png"));
    QImage drawn = r.picture;
    QPainter painter(&drawn);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(255, 40, 40), 2));
    for (const CContour& contour : r.outline.contours)
        painter.drawPolygon(QPolygonF(QList<QPointF>(contour.begin(), contour.end())));
    painter.end();
    drawn.save(base + QStringLiteral("-outline.png"));
    QFile file(base + QStringLiteral("-truth.txt"));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return;
    QTextStream out(&file);
    const CRoomCamera& c = scene.camera;
    out << "material " << QString::fromStdString(material) << "\nfeatures " << QString::fromStdString(features)
        << "\narea " << (IsWall() ? QStringLiteral("wall %1").arg(wall) : QStringLiteral("floor"))
        << "\nsize " << c.width << ' ' << c.height << "\nfocal35 " << c.focal35 << "\nfocal_px " << c.Focal()
        << "\nposition " << c.position[0] << ' ' << c.position[1] << ' ' << c.position[2] << "\npitch " << c.pitch
        << "\nyaw " << c.yaw << "\nroll " << c.roll << "\nk1 " << c.k1 << "\ndivision_k " << c.DivisionK()
        << "\n# planes (floor x, z; a wall's along, up) -> undistorted pixels, row-major";
    const auto matrix = [&](const char* label, const CHomography& map) {
        out << '\n' << label;
        for (double v : map.Matrix())
            out << ' ' << QString::number(v, 'g', 12);
    };
    matrix("floor", FloorTruth());
    matrix(qPrintable(QStringLiteral("wall%1").arg(WallShown())), WallTruth());
    out << '\n';
}
