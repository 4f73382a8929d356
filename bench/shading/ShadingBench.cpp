// Measures how Keep Shading keeps a room's light under a new floor: each
// room is rendered twice (its own floor, and a plain matte grey one: the
// true light), a plain mid-grey texture is laid into the photo's floor
// (rugs left out) and composed with Keep Shading as an export is, and the
// result is scored against the true light. Also times the light layer of a
// 24-megapixel floor and the export with and without it (the layer measured
// for the export, and found measured as the view leaves it), and, given a
// folder of real photographs, draws a contact sheet of a new floor with and
// without the light layer for a person to judge.
//
//   tilemont-shading-bench [--cache DIR] [--only NAME] [--no-speed | --speed-only] [--dump DIR] [--ceiling] [--photos DIR --sheet FILE]
//
// --dump writes each room's composed floor there; --ceiling scores the true
// light itself laid on the export's canvas, the most its 5-6-5 colour
// allows.
#include "ShadingRooms.h"
#include "ShadingScore.h"
#include "ShadingSheet.h"

#include "codecs/EncoderGuids.h"
#include "codecs/EncoderRegistry.h"
#include "export/ExportRun.h"
#include "render/AreaShading.h"
#include "render/LightLayer.h"
#include "render/LightLayerStore.h"
#include "render/TemplateCompositor.h"

#include <QDir>
#include <QTemporaryDir>
#include <QElapsedTimer>
#include <QGuiApplication>

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <thread>

namespace {

struct SPair
{
    QImage photo, truth, area;
};

// The photo, the true light and the area (floor without rugs), from the
// cache folder when they are there.
SPair Rendered(const CFitRoom& room, const QString& cache)
{
    SPair pair;
    const QString base = cache.isEmpty() ? QString() : QDir(cache).filePath(QString::fromStdString(room.name));
    if (!base.isEmpty() && pair.photo.load(base + QStringLiteral("-photo.png")) &&
        pair.truth.load(base + QStringLiteral("-truth.png")) && pair.area.load(base + QStringLiteral("-area.png")))
        return pair;
    const int threads = int(std::max(2u, std::thread::hardware_concurrency()));
    const CFitRoom::SRendered& r = room.Rendered();
    pair.photo = r.picture.convertToFormat(QImage::Format_RGB32);
    CRoomScene plain = room.scene;
    plain.plainFloor = 0.5;
    plain.noise = 0;
    pair.truth = plain.Render(-1, threads).photo;
    pair.area = r.floorMask.convertToFormat(QImage::Format_Grayscale8);
    if (!r.rugMask.isNull())
        for (int y = 0; y < pair.area.height(); ++y)
            for (int x = 0; x < pair.area.width(); ++x)
                if (r.rugMask.constScanLine(y)[x])
                    pair.area.scanLine(y)[x] = 0;
    if (!base.isEmpty()) {
        QDir().mkpath(cache);
        pair.photo.save(base + QStringLiteral("-photo.png"));
        pair.truth.save(base + QStringLiteral("-truth.png"));
        pair.area.save(base + QStringLiteral("-area.png"));
    }
    return pair;
}

CArea GreyFloor(const CPolygon& outline)
{
    QImage grey(16, 16, QImage::Format_RGB32);
    grey.fill(qRgb(128, 128, 128));
    CArea area;
    area.SetOutline(&outline);
    area.SetTexture(&grey);
    return area;
}

// What a perfect light layer would give: the mid-grey texture times the
// true light relative to its median over the floor, on the export's 5-6-5
// canvas. The figures it scores are the most the canvas allows.
QImage Ceiling(const SPair& pair)
{
    std::vector<double> floor;
    const auto luma = [](QRgb c) { return 0.299 * qRed(c) + 0.587 * qGreen(c) + 0.114 * qBlue(c); };
    for (int y = 0; y < pair.truth.height(); ++y)
        for (int x = 0; x < pair.truth.width(); ++x)
            if (pair.area.constScanLine(y)[x] >= 128)
                floor.push_back(luma(pair.truth.pixel(x, y)));
    std::nth_element(floor.begin(), floor.begin() + std::ptrdiff_t(floor.size() / 2), floor.end());
    const double usual = std::max(1.0, floor[floor.size() / 2]);
    QImage out = pair.photo.copy();
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x)
            if (pair.area.constScanLine(y)[x] >= 128) {
                const int v = std::clamp(int(std::lround(128.0 * luma(pair.truth.pixel(x, y)) / usual)), 0, 255);
                out.setPixel(x, y, qRgb(v, v, v));
            }
    return out.convertToFormat(QImage::Format_RGB16);
}

double Median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

struct SSummary
{
    std::vector<double> broad, band, contrast, leak;
    void Add(const CShadingScore& s)
    {
        broad.push_back(s.broad), band.push_back(s.band), contrast.push_back(s.contrast), leak.push_back(s.leak);
    }
    void Print(const char* label) const
    {
        if (broad.empty())
            return;
        std::printf("%-22s broad %.3f (worst %.3f)  band %.3f (worst %.3f)  contrast %.3f (worst %.3f..%.3f)  "
                    "leak %.3f (worst %.3f)\n",
                    label, Median(broad), *std::min_element(broad.begin(), broad.end()), Median(band),
                    *std::min_element(band.begin(), band.end()), Median(contrast),
                    *std::min_element(contrast.begin(), contrast.end()),
                    *std::max_element(contrast.begin(), contrast.end()), Median(leak),
                    *std::max_element(leak.begin(), leak.end()));
    }
};

void Score(const std::vector<CFitRoom>& rooms, const char* set, const QString& cache, const QString& only,
           const QString& dump, bool ceiling, SSummary& all)
{
    SSummary summary;
    for (const CFitRoom& room : rooms) {
        if (!only.isEmpty() && QString::fromStdString(room.name) != only)
            continue;
        const SPair pair = Rendered(room, cache);
        const CPolygon outline = CFitRoom::Outline(pair.area);
        QElapsedTimer clock;
        clock.start();
        const QImage composed = ceiling ? Ceiling(pair)
                                        : ComposeTemplate(pair.photo, {GreyFloor(outline)}, {}, CComposeOptions{true});
        const double seconds = clock.elapsed() / 1000.0;
        const CShadingScore s = CShadingScore::Measure(composed, pair.truth, pair.photo, pair.area);
        if (!dump.isEmpty()) {
            QDir().mkpath(dump);
            composed.save(QDir(dump).filePath(QString::fromStdString(room.name) + QStringLiteral("-kept.png")));
        }
        std::printf("%-8s %-22s %-30s broad %.3f  band %.3f  contrast %.3f  leak %+.3f  (%d px, %.2f s)\n", set,
                    room.name.c_str(), room.material.c_str(), s.broad, s.band, s.contrast, s.leak, s.pixels,
                    seconds);
        std::fflush(stdout);
        summary.Add(s);
        all.Add(s);
    }
    summary.Print(set);
}

// The median wall time of runs, and the processor time (all threads) of
// the same run; on a machine others share the latter says more.
double MedianSeconds(int runs, const std::function<void()>& run, double* processor = nullptr)
{
    std::vector<double> seconds, cpu;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer clock;
        clock.start();
        const std::clock_t start = std::clock();
        run();
        seconds.push_back(clock.nsecsElapsed() / 1e9);
        cpu.push_back(double(std::clock() - start) / CLOCKS_PER_SEC);
    }
    if (processor)
        *processor = Median(cpu);
    return Median(seconds);
}

void Speed(const QString& cache)
{
    // A tiled room brought up to 24 megapixels, its floor outlined there.
    const std::vector<CFitRoom> rooms = CShadingRooms::Tuning();
    const SPair pair = Rendered(rooms.front(), cache);
    const double k = std::sqrt(24e6 / (double(pair.photo.width()) * pair.photo.height()));
    const QSize size(int(pair.photo.width() * k), int(pair.photo.height() * k));
    const QImage photo = pair.photo.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QImage mask = pair.area.scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    const CPolygon outline = CFitRoom::Outline(mask);
    const std::vector<CArea> areas{GreyFloor(outline)};
    // Cold: every light layer measured anew, as the first export of a
    // picture the view never showed; warm: the layer the view measured.
    CLightLayerStore& store = CLightLayerStore::Shared();
    const auto cold = [&store](const std::function<void()>& run) {
        return [&store, run] {
            store.Clear();
            run();
        };
    };
    double layerCpu = 0, plainCpu = 0, coldCpu = 0, warmCpu = 0;
    const double layer = MedianSeconds(5, [&] { (void)CLightLayer::Measure(photo, outline); }, &layerCpu);
    const auto compose = [&](bool keep) { (void)ComposeTemplate(photo, areas, {}, CComposeOptions{keep}); };
    const double plain = MedianSeconds(5, [&] { compose(false); }, &plainCpu);
    const double coldKept = MedianSeconds(5, cold([&] { compose(true); }), &coldCpu);
    const double warmKept = MedianSeconds(5, [&] { compose(true); }, &warmCpu);
    std::printf("speed %d x %d: light layer %.3f s (processor %.3f s); compose %.3f s plain, with Keep Shading "
                "%.3f s cold (%.2f x), %.3f s warm (%.2f x; processor %.2f x)\n",
                size.width(), size.height(), layer, layerCpu, plain, coldKept, coldKept / plain, warmKept,
                warmKept / plain, warmCpu / plainCpu);
    // A whole export to JPEG at the picture's size, as the editor writes it.
    QTemporaryDir folder;
    CExportRequest request;
    request.width = size.width();
    request.height = size.height();
    request.fileName = folder.filePath(QStringLiteral("room.jpg"));
    GetEncoderClsid(QStringLiteral("image/jpeg"), &request.encoder);
    request.parameters = {{EncoderGuid::kQuality, 90}};
    QString error;
    const auto exportRun = [&](bool keep) {
        request.keepShading = keep;
        (void)ExportRun(photo, areas, request, &error);
    };
    double exportPlainCpu = 0, exportColdCpu = 0, exportWarmCpu = 0;
    const double exportPlain = MedianSeconds(5, [&] { exportRun(false); }, &exportPlainCpu);
    const double exportCold = MedianSeconds(5, cold([&] { exportRun(true); }), &exportColdCpu);
    const double exportWarm = MedianSeconds(5, [&] { exportRun(true); }, &exportWarmCpu);
    std::printf("speed: JPEG export %.3f s plain, with Keep Shading %.3f s cold (%.2f x; processor %.2f x), "
                "%.3f s warm (%.2f x; processor %.2f x)%s\n",
                exportPlain, exportCold, exportCold / exportPlain, exportColdCpu / exportPlainCpu, exportWarm,
                exportWarm / exportPlain, exportWarmCpu / exportPlainCpu,
                error.isEmpty() ? "" : qPrintable(QStringLiteral("  ") + error));
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    const auto value = [&](const char* name) {
        const qsizetype i = args.indexOf(QLatin1String(name));
        return i >= 0 && i + 1 < args.size() ? args[i + 1] : QString();
    };
    const QString cache = value("--cache"), only = value("--only");
    const QString photos = value("--photos"), sheet = value("--sheet");
    if (!photos.isEmpty()) {
        if (sheet.isEmpty()) {
            std::fprintf(stderr, "--photos needs --sheet FILE\n");
            return 2;
        }
        return CShadingSheet::Draw(photos, sheet) ? 0 : 1;
    }
    SSummary all;
    const QString dump = value("--dump");
    if (!args.contains(QLatin1String("--speed-only"))) {
        const bool ceiling = args.contains(QLatin1String("--ceiling"));
        Score(CShadingRooms::Tuning(), "tuning", cache, only, dump, ceiling, all);
        Score(CShadingRooms::Judging(), "judging", cache, only, dump, ceiling, all);
        all.Print("all");
    }
    if (!args.contains(QLatin1String("--no-speed")) && only.isEmpty())
        Speed(cache);
    return 0;
}
