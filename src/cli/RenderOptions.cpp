#include "RenderOptions.h"

#include "CliArgs.h"
#include "CliOutput.h"
#include "EncoderOptions.h"
#include "codecs/EncoderRegistry.h"

namespace {

// The extension written for each MIME type, as the export dialog names the
// formats.
QString ExtensionFor(const QString& mime)
{
    static const QMap<QString, QString> extensions{{"image/bmp", "bmp"},  {"image/gif", "gif"},
                                                   {"image/jpeg", "jpg"}, {"image/png", "png"},
                                                   {"image/tiff", "tiff"}};
    return extensions.value(mime);
}

} // namespace

CRenderCommandLine ParseRenderCommandLine(const QStringList& args, const QStringList& commandOptions,
                                          const QStringList& commandFlags)
{
    static const QStringList kValueOptions{"--format",      "--width",       "--height", "--quality", "--transformation",
                                           "--compression", "--color-depth", "--jobs",   "--shard",   "--progress",
                                           "--shading-strength"};
    static const QStringList kFlags{"--keep-shading", "--overwrite"};
    const CliArgs::CCommandLine read =
        CliArgs::Parse(args, {.values = kValueOptions + commandOptions, .flags = kFlags + commandFlags});
    CRenderCommandLine line;
    CRenderOptions& o = line.options;
    line.positional = read.positional;
    line.values = read.values;
    for (const QString& flag : read.flags)
        if (commandFlags.contains(flag))
            line.flags << flag;
    o.keepShading = read.flags.contains("--keep-shading");
    o.overwrite = read.flags.contains("--overwrite");
    const QMap<QString, QString>& values = line.values;
    if (values.contains("--width"))
        o.width = ParseInteger(values.value("--width"));
    if (values.contains("--height"))
        o.height = ParseInteger(values.value("--height"));
    if (values.contains("--jobs")) {
        o.jobs = ParseInteger(values.value("--jobs"));
        if (o.jobs < 1)
            throw CUsageError{QStringLiteral("--jobs must be at least 1.")};
    }
    if (values.contains("--shading-strength"))
        o.shadingStrength = ParseShadingStrength(values.value("--shading-strength"));
    if (values.contains("--shard"))
        o.shard = ParseShard(values.value("--shard"));
    if (values.contains("--progress")) {
        if (values.value("--progress") != QLatin1String("json"))
            throw CUsageError{QStringLiteral("--progress takes json, not \"%1\".").arg(values.value("--progress"))};
        o.jsonProgress = true;
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
    return line;
}

int ParseShadingStrength(const QString& value)
{
    bool ok = false;
    const int percent = value.toInt(&ok);
    if (!ok || percent < CArea::kMinShading || percent > CArea::kMaxShading)
        throw CUsageError{QStringLiteral("--shading-strength takes a percent from %1 to %2, not \"%3\".")
                              .arg(CArea::kMinShading)
                              .arg(CArea::kMaxShading)
                              .arg(value)};
    return percent;
}

QSize OutputSize(const CRenderOptions& options, QSize picture)
{
    return ExportSize(picture, options.width, options.height);
}

CGroupRenderRequest MakeGroupRequest(const CRenderOptions& options, std::size_t area, QSize picture,
                                     const QStringList& textures, const QString& outputFolder)
{
    CGroupRenderRequest request;
    request.area = area;
    request.textures = textures;
    request.outputFolder = outputFolder;
    request.extension = options.extension;
    const QSize size = OutputSize(options, picture);
    request.width = size.width();
    request.height = size.height();
    request.encoder = options.encoder;
    request.parameters = options.parameters;
    request.jobs = options.jobs;
    request.keepShading = options.keepShading;
    request.shadingStrength = options.shadingStrength;
    request.overwrite = options.overwrite;
    return request;
}
