#include "BenchTemplate.h"

#include "document/ImageCodec.h"
#include "panels/TextureBrowser.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QThread>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace
{

using Clock = std::chrono::steady_clock;

constexpr int kTextures = 500;
constexpr int kSide = 2000;

double MsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// A group of 500 photograph-like 2000 x 2000 JPEG textures, made once and
// kept in the temporary folder for later runs.
QString TextureGroup()
{
    static const QString folder = [] {
        const QString dir = QDir::temp().filePath(QStringLiteral("tilemont-bench-textures-%1").arg(kTextures));
        QDir().mkpath(dir);
        std::atomic<int> next{0};
        const auto make = [&] {
            for (int i = next++; i < kTextures; i = next++) {
                const QString path = QDir(dir).filePath(QStringLiteral("texture-%1.jpg").arg(i, 3, 10, QChar('0')));
                if (QFileInfo(path).size() > 0)
                    continue;
                // Written aside and renamed, so an interrupted run leaves no
                // half file that a later run would take as made.
                const QString part = path + QStringLiteral(".part");
                if (PhotoLike(kSide, kSide, i * 7919).save(part, "JPG", 90))
                    QFile::rename(part, path);
            }
        };
        std::vector<std::thread> workers;
        for (int t = 0; t < std::max(1, QThread::idealThreadCount()); ++t)
            workers.emplace_back(make);
        for (std::thread& worker : workers)
            worker.join();
        return dir;
    }();
    return folder;
}

bool FirstScreenReady(const CTextureBrowser& browser)
{
    const int height = browser.viewport()->height();
    for (int p = 0; p < browser.Count() && browser.CellRect(p).top() < height; ++p)
        if (browser.SwatchAt(p, false).isNull())
            return false;
    return true;
}

// From LoadFolder until every cell of the first screen shows its swatch, as
// the panel shows it (260 x 420, cells 100 x 75). max_ui_ms is the longest
// stretch the UI thread spent without going back to wait for events: what
// a user would feel as a stall.
void BM_BrowserFirstScreen(benchmark::State& state)
{
    const QString folder = TextureGroup();
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    std::vector<double> firstScreen, longest;
    for (auto _ : state) {
        CTextureBrowser browser;
        browser.SetCellSize(100, 75);
        browser.resize(260, 420);
        browser.show();
        QApplication::processEvents();

        double busiest = 0.0;
        Clock::time_point woke = Clock::now();
        bool awake = true;
        const auto awoken = QObject::connect(dispatcher, &QAbstractEventDispatcher::awake, [&] {
            woke = Clock::now();
            awake = true;
        });
        const auto blocking = QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, [&] {
            if (awake)
                busiest = std::max(busiest, MsSince(woke));
            awake = false;
        });
        // Wakes the loop now and then, should a delivery ever go astray.
        QTimer tick;
        tick.start(20);

        const Clock::time_point start = Clock::now();
        browser.LoadFolder(folder, QStringLiteral("*.*"));
        busiest = std::max(busiest, MsSince(start));
        woke = Clock::now();
        while (!FirstScreenReady(browser) && MsSince(start) < 30'000)
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        const double elapsed = MsSince(start);

        QObject::disconnect(awoken);
        QObject::disconnect(blocking);
        state.SetIterationTime(elapsed / 1e3);
        firstScreen.push_back(elapsed);
        longest.push_back(busiest);
        if (browser.Count() != kTextures || !FirstScreenReady(browser))
            state.SkipWithError("the first screen never completed");
    }
    state.counters["median_ms"] = Median(firstScreen);
    state.counters["max_ui_ms"] = Median(longest);
}
BENCHMARK(BM_BrowserFirstScreen)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(7);

// One cell of a 2000 x 2000 JPEG drawn on the UI thread: the whole picture
// decoded (range 0), against only the rows the picture box shows (range 1).
void BM_BrowserDrawOneCell(benchmark::State& state)
{
    const QString path = QDir(TextureGroup()).filePath(QStringLiteral("texture-000.jpg"));
    const bool clipped = state.range(0) == 1;
    CTextureBrowser browser;
    std::vector<double> ms;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        QPixmap normal(100, 75), selected(100, 75);
        {
            QPainter n(&normal), s(&selected);
            if (clipped) {
                benchmark::DoNotOptimize(browser.DrawCell(n, s, path));
            } else {
                const std::unique_ptr<QImage> whole = DecodeImage(ReadWholeFile(path, nullptr).value(), true);
                n.drawImage(QPoint(5, 5), *whole, QRect(0, 0, 90, 45));
                s.drawImage(QPoint(5, 5), *whole, QRect(0, 0, 90, 45));
            }
        }
        const double elapsed = MsSince(start);
        state.SetIterationTime(elapsed / 1e3);
        ms.push_back(elapsed);
    }
    state.counters["median_ms"] = Median(ms);
}
BENCHMARK(BM_BrowserDrawOneCell)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(1.0);

} // namespace
