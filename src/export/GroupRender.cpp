#include "GroupRender.h"

#include "ExportOutput.h"
#include "catalogue/ProductSidecar.h"
#include "codecs/EncoderRegistry.h"
#include "ExportSize.h"
#include "document/ImageCodec.h"
#include "document/Messages.h"
#include "document/UiText.h"
#include "render/AreaPattern.h"
#include "render/LayeredTemplate.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QMap>

#include <algorithm>
#include <future>
#include <mutex>
#include <system_error>
#include <thread>

namespace {

using Status = CGroupRenderResult::Status;

// The reasons end a sentence the report begins with the image's name; they
// are translated where they are given, in whichever thread renders.
constexpr CUiText kNoMemory{"GroupRender", QT_TRANSLATE_NOOP("GroupRender", "there is not enough memory.")};
constexpr CUiText kEncoderRefused{"GroupRender",
                                  QT_TRANSLATE_NOOP("GroupRender", "the encoder refused the image.")};

bool IsCancelled(const std::atomic<bool>* cancel)
{
    return cancel && cancel->load();
}

void Settle(CGroupRenderResult& result, Status status, const QString& message = {})
{
    result.status = status;
    result.message = message;
}

void Fail(CGroupRenderResult& result, const QString& why)
{
    Settle(result, Status::Failed,
           QCoreApplication::translate("GroupRender", "%1 could not be written: %2")
               .arg(QDir::toNativeSeparators(result.output), why));
}

// Reports results one at a time, counting them.
class CReporter
{
public:
    CReporter(const GroupRenderProgress& progress, int count) : m_progress(progress), m_count(count) {}

    void operator()(const CGroupRenderResult& result)
    {
        std::lock_guard lock(m_mutex);
        ++m_done;
        if (m_progress)
            m_progress(m_done, m_count, result);
    }

private:
    const GroupRenderProgress& m_progress;
    const int m_count;
    std::mutex m_mutex;
    int m_done = 0;
};

// What keeps every texture from being rendered, or empty.
QString CommonObstacle(const QImage& picture, const std::vector<CArea>& areas, const CGroupRenderRequest& request)
{
    if (picture.isNull())
        return QCoreApplication::translate("GroupRender", "the template has no picture.");
    if (request.area >= areas.size())
        return QCoreApplication::translate("GroupRender", "the template has no such area.");
    switch (CheckExportSize(request.width, request.height)) {
    case ExportSizeCheck::TooSmall:
        return QCoreApplication::translate("GroupRender", "the width and the height must be at least 1 pixel.");
    case ExportSizeCheck::TooLarge:
        return ExportTooLargeMessage(request.width, request.height);
    case ExportSizeCheck::Ok:
        break;
    }
    const CImageEncoder* encoder = FindEncoder(request.encoder);
    if (!encoder)
        return QCoreApplication::translate("GroupRender", "there is no encoder for the chosen format.");
    // Options the encoder cannot honour at all are refused once, before any
    // composition, as the export dialog does.
    QString why;
    if (!encoder->Accepts(request.parameters, &why))
        return why.isEmpty() ? kEncoderRefused : why;
    return {};
}

// Settles what can be told from the files alone: textures that are no
// pictures, images there already, and a second texture with the same image
// name. A file that cannot even be opened is left to rendering, which
// reports why.
void Screen(std::vector<CGroupRenderResult>& results, bool overwrite)
{
    QMap<QString, QString> claimed;
    for (CGroupRenderResult& result : results) {
        QFile file(result.texture);
        if (file.open(QIODevice::ReadOnly) && QImageReader::imageFormat(&file).isEmpty()) {
            Settle(result, Status::Skipped,
                   QCoreApplication::translate("GroupRender", "%1 is not a picture.")
                       .arg(QDir::toNativeSeparators(result.texture)));
        } else if (!overwrite && QFileInfo::exists(result.output)) {
            Settle(result, Status::Skipped,
                   QCoreApplication::translate("GroupRender", "%1 exists already.")
                       .arg(QDir::toNativeSeparators(result.output)));
        } else if (claimed.contains(result.output)) {
            Fail(result, QCoreApplication::translate("GroupRender", "the image of %1 has that name already.")
                             .arg(QDir::toNativeSeparators(claimed.value(result.output))));
        } else {
            claimed.insert(result.output, result.texture);
        }
    }
}

// composed tells, once the layers are ready, whether they could be made; the
// texture is read, decoded and warped meanwhile.
void RenderOne(const CLayeredTemplate& layers, const std::shared_future<bool>& composed,
               const CGroupRenderRequest& request, CGroupRenderResult& result, const std::atomic<bool>* cancel)
{
    QString error;
    const std::optional<QByteArray> bytes = ReadWholeFile(result.texture, &error);
    if (!bytes)
        return Settle(result, Status::Failed, error);
    const std::unique_ptr<QImage> texture =
        DecodePickedImage(*bytes, QDir::toNativeSeparators(result.texture), &error);
    if (!texture)
        return Settle(result, Status::Failed, error);
    if (IsCancelled(cancel))
        return;
    CArea area = layers.AreaWithTexture(*texture);
    // A product's picture renders the product, laid as its sidecar says.
    if (const auto product = ProductSidecar::PatternFor(result.texture))
        CAreaPattern::Apply(area, *product);
    if (!composed.get())
        return Fail(result, kNoMemory);
    const QImage image = ScaleForExport(layers.ComposeWith(area), request.width, request.height);
    if (image.isNull())
        return Fail(result, kNoMemory);
    if (IsCancelled(cancel))
        return;
    const std::optional<QByteArray> encoded = FindEncoder(request.encoder)->Encode(image, request.parameters, &error);
    if (!encoded)
        return Fail(result, error.isEmpty() ? kEncoderRefused : error);
    if (IsCancelled(cancel))
        return;
    if (!WriteWholeFile(result.output, *encoded, &error))
        return Fail(result, error);
    Settle(result, Status::Written);
}

} // namespace

QString GroupOutputPath(const CGroupRenderRequest& request, const QString& texture)
{
    // The file title: the name up to its last dot.
    return QDir(request.outputFolder)
        .filePath(QFileInfo(texture).completeBaseName() + QLatin1Char('.') + request.extension);
}

std::vector<CGroupRenderResult> RenderTextureGroup(const QImage& picture, const std::vector<CArea>& areas,
                                                   const CGroupRenderRequest& request,
                                                   const GroupRenderProgress& progress,
                                                   const std::atomic<bool>* cancel)
{
    // Every texture counts as cancelled until it is settled.
    std::vector<CGroupRenderResult> results;
    for (const QString& texture : request.textures)
        results.push_back({texture, GroupOutputPath(request, texture), Status::Cancelled, {}});
    CReporter report(progress, static_cast<int>(results.size()));

    Screen(results, request.overwrite);
    std::vector<CGroupRenderResult*> pending;
    for (CGroupRenderResult& result : results) {
        if (result.status == Status::Cancelled)
            pending.push_back(&result);
        else
            report(result);
    }
    if (pending.empty())
        return results;

    if (const QString obstacle = CommonObstacle(picture, areas, request); !obstacle.isEmpty()) {
        for (CGroupRenderResult* result : pending) {
            Fail(*result, obstacle);
            report(*result);
        }
        return results;
    }

    // The calling thread composes the layers while the others prepare their
    // first textures, then renders too.
    CLayeredTemplate layers(picture, areas, request.area, CComposeOptions{request.keepShading, request.warps, request.shadingStrength});
    std::promise<bool> layersDone;
    const std::shared_future<bool> composed = layersDone.get_future().share();
    std::atomic<std::size_t> next{0};
    // Each thread waits on a copy of its own.
    const auto work = [&, composed] {
        for (std::size_t i = next++; i < pending.size() && !IsCancelled(cancel); i = next++) {
            QElapsedTimer clock;
            clock.start();
            RenderOne(layers, composed, request, *pending[i], cancel);
            pending[i]->milliseconds = clock.elapsed();
            if (pending[i]->status != Status::Cancelled)
                report(*pending[i]);
        }
    };
    const int cores = std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
    const int jobs = std::min(request.jobs > 0 ? request.jobs : cores, static_cast<int>(pending.size()));
    std::vector<std::thread> helpers;
    for (int i = 1; i < jobs; ++i) {
        try {
            helpers.emplace_back(work);
        } catch (const std::system_error&) {
            break; // no more threads to be had: fewer work harder
        }
    }
    bool ready = false;
    try {
        ready = layers.ComposeLayers();
    } catch (const std::bad_alloc&) {
        // Reported for each texture below, as any other lack of memory.
    }
    layersDone.set_value(ready);
    work();
    for (std::thread& helper : helpers)
        helper.join();
    return results;
}
