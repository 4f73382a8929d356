#include "RenderGroupCommand.h"

#include "CliOutput.h"
#include "EncoderOptions.h"
#include "GroupProgress.h"
#include "TemplateInput.h"
#include "codecs/EncoderRegistry.h"
#include "document/Messages.h"
#include "export/GroupRender.h"
#include "catalogue/TextureCatalogue.h"

#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QMap>

#include <atomic>
#include <csignal>
#include <optional>
#include <unistd.h>
#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

const QString kUsageLine = QStringLiteral(
    "usage: tilemont-cli render-group TEMPLATE.tlm --area NAME --group DIR --out DIR\n"
    "                    [--format bmp|gif|jpg|png|tiff] [--width W] [--height H] [--quality Q]\n"
    "                    [--transformation T] [--compression C] [--color-depth D] [--jobs N]\n"
    "                    [--keep-shading] [--overwrite]");

// Lock-free, so the handler may set them and do nothing else.
std::atomic<bool> g_interrupted{false};
std::atomic<int> g_signal{0};
static_assert(std::atomic<bool>::is_always_lock_free && std::atomic<int>::is_always_lock_free);

extern "C" void OnInterrupt(int signal)
{
    g_signal = signal;
    g_interrupted = true;
}

// Catches SIGINT and SIGTERM for as long as it lives, then puts the
// previous handlers back.
class CInterruptCatcher
{
public:
    CInterruptCatcher()
    {
        struct sigaction action = {};
        action.sa_handler = OnInterrupt;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, &m_previousInt);
        sigaction(SIGTERM, &action, &m_previousTerm);
    }
    ~CInterruptCatcher()
    {
        sigaction(SIGINT, &m_previousInt, nullptr);
        sigaction(SIGTERM, &m_previousTerm, nullptr);
    }
    CInterruptCatcher(const CInterruptCatcher&) = delete;
    CInterruptCatcher& operator=(const CInterruptCatcher&) = delete;

private:
    struct sigaction m_previousInt = {};
    struct sigaction m_previousTerm = {};
};

struct CGroupOptions
{
    QString input;
    QString area;
    QString group;
    QString output;
    QString extension;
    QUuid encoder;
    CEncoderParameters parameters;
    std::optional<int> width;
    std::optional<int> height;
    int jobs = 0;
    bool keepShading = false;
    bool overwrite = false;
};

// The extension written for each MIME type, as the export dialog names the
// formats.
QString ExtensionFor(const QString& mime)
{
    static const QMap<QString, QString> extensions{{"image/bmp", "bmp"},  {"image/gif", "gif"},
                                                   {"image/jpeg", "jpg"}, {"image/png", "png"},
                                                   {"image/tiff", "tiff"}};
    return extensions.value(mime);
}

CGroupOptions ParseOptions(const QStringList& args)
{
    static const QStringList kValueOptions{"--area",     "--group",          "--out",         "--format",
                                           "--width",    "--height",         "--quality",     "--transformation",
                                           "--compression", "--color-depth", "--jobs"};
    CGroupOptions o;
    QMap<QString, QString> values;
    QStringList positional;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--keep-shading")) {
            o.keepShading = true;
        } else if (a == QLatin1String("--overwrite")) {
            o.overwrite = true;
        } else if (!a.startsWith(QLatin1String("--"))) {
            positional << a;
        } else if (!kValueOptions.contains(a)) {
            throw CUsageError{QStringLiteral("Unknown option %1.").arg(a)};
        } else if (i + 1 >= args.size()) {
            throw CUsageError{QStringLiteral("%1 needs a value.").arg(a)};
        } else {
            values[a] = args[++i];
        }
    }
    if (positional.size() != 1 || !values.contains("--area") || !values.contains("--group") ||
        !values.contains("--out"))
        throw CUsageError{kUsageLine};
    o.input = positional[0];
    o.area = values.value("--area");
    o.group = values.value("--group");
    o.output = values.value("--out");
    if (values.contains("--width"))
        o.width = ParseInteger(values.value("--width"));
    if (values.contains("--height"))
        o.height = ParseInteger(values.value("--height"));
    if (values.contains("--jobs")) {
        o.jobs = ParseInteger(values.value("--jobs"));
        if (o.jobs < 1)
            throw CUsageError{QStringLiteral("--jobs must be at least 1.")};
    }
    // The export dialog's first format.
    const QString format = values.value("--format", QStringLiteral("bmp"));
    const QString mime = MimeForFormat(format);
    if (mime.isEmpty())
        throw CUsageError{QStringLiteral("Unknown format %1: use bmp, gif, jpg, png or tiff.").arg(format)};
    o.extension = ExtensionFor(mime);
    GetEncoderClsid(mime, &o.encoder);
    const CImageEncoder* encoder = FindEncoder(o.encoder);
    if (!encoder)
        throw CUsageError{QStringLiteral("No encoder for %1.").arg(format)};
    o.parameters = ChooseParameters(*encoder, values);
    return o;
}

// Every texture allocates and frees buffers of the same large sizes (the
// warp's, the canvas, the encoded file). By default glibc maps each afresh
// and unmaps it when freed, so that every texture faults its pages in again
// and every unmapping interrupts the other jobs' processors; kept in the
// heap, the buffers are reused.
void KeepLargeBuffers()
{
#ifdef __GLIBC__
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
#endif
}

std::optional<std::size_t> FindArea(const std::vector<CArea>& areas, const QString& name)
{
    for (std::size_t i = 0; i < areas.size(); ++i)
        if (areas[i].GetName() == name)
            return i;
    return std::nullopt;
}

} // namespace

int RunRenderGroupCommand(const QStringList& args)
{
    CGroupOptions options;
    try {
        options = ParseOptions(args);
    } catch (const CUsageError& e) {
        PrintError(e.message);
        return kUsage;
    }

    const auto data = LoadTemplateWithPicture(options.input, QStringLiteral("render"));
    if (!data)
        return kFailed;
    const std::optional<std::size_t> area = FindArea(data->areas, options.area);
    if (!area) {
        PrintError(QStringLiteral("%1 has no area \"%2\": %3.")
                       .arg(options.input, options.area, AreaNames(data->areas)));
        return kUsage;
    }
    if (!QFileInfo(options.group).isDir()) {
        PrintError(Messages::kNotFound.arg(QDir::toNativeSeparators(options.group)));
        return kFailed;
    }
    if (!QDir().mkpath(options.output)) {
        PrintError(QStringLiteral("The folder %1 could not be made.").arg(QDir::toNativeSeparators(options.output)));
        return kFailed;
    }

    CGroupRenderRequest request;
    request.area = *area;
    TextureCatalogue::ListFolderEntries(options.group, &request.textures, nullptr, false, true, true, QString());
    request.outputFolder = options.output;
    request.extension = options.extension;
    const QSize size = ExportSize(data->picture->size(), options.width, options.height);
    request.width = size.width();
    request.height = size.height();
    request.encoder = options.encoder;
    request.parameters = options.parameters;
    request.jobs = options.jobs;
    request.keepShading = options.keepShading;
    request.overwrite = options.overwrite;

    // The image readers' own complaints about a damaged file would only
    // repeat, less plainly, the failure reported for it.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.gui.imageio.*=false"));
    KeepLargeBuffers();
    CGroupProgress progress(stderr, isatty(STDERR_FILENO) != 0);
    std::vector<CGroupRenderResult> results;
    {
        const CInterruptCatcher catcher;
        results = RenderTextureGroup(
            *data->picture, data->areas, request,
            [&](int done, int count, const CGroupRenderResult& result) { progress.Report(done, count, result); },
            &g_interrupted);
    }
    progress.Finish();

    QMap<CGroupRenderResult::Status, int> tally;
    for (const CGroupRenderResult& result : results)
        ++tally[result.status];
    QString summary = QStringLiteral("%1: %2 written, %3 skipped, %4 failed")
                          .arg(QDir::toNativeSeparators(options.output))
                          .arg(tally.value(CGroupRenderResult::Status::Written))
                          .arg(tally.value(CGroupRenderResult::Status::Skipped))
                          .arg(tally.value(CGroupRenderResult::Status::Failed));
    if (g_interrupted) {
        PrintError(summary + QStringLiteral(", %1 not rendered: interrupted.")
                                 .arg(tally.value(CGroupRenderResult::Status::Cancelled)));
        // Ends as the signal would have, so that a calling shell or script
        // knows the run was stopped rather than finished.
        std::signal(g_signal, SIG_DFL);
        std::raise(g_signal);
        return kFailed;
    }
    WriteStdout((summary + QStringLiteral(".\n")).toLocal8Bit());
    return tally.value(CGroupRenderResult::Status::Failed) > 0 ? kFailed : kOk;
}
