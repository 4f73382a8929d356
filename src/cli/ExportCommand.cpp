#include "ExportCommand.h"

#include "CliArgs.h"
#include "CliOutput.h"
#include "EncoderOptions.h"
#include "RenderOptions.h"
#include "TemplateInput.h"
#include "codecs/EncoderRegistry.h"
#include "export/ExportRun.h"

#include <QFileInfo>
#include <QMap>
#include <optional>

namespace {

struct CExportOptions
{
    QString input;
    QString output;
    std::optional<int> width;
    std::optional<int> height;
    QMap<QString, QString> values; // --quality etc. as typed
    QString format;
    bool keepShading = false;
    std::optional<int> shadingStrength;
};

CExportOptions ParseOptions(const QStringList& args)
{
    static const QStringList kValueOptions{"--width", "--height", "--format", "--quality",
                                           "--transformation", "--compression", "--color-depth",
                                           "--shading-strength"};
    CExportOptions o;
    const CliArgs::CCommandLine line = CliArgs::Parse(args, {.values = kValueOptions, .flags = {"--keep-shading"}});
    const QStringList& positional = line.positional;
    o.values = line.values;
    o.keepShading = line.flags.contains("--keep-shading");
    if (positional.size() != 2)
        throw CUsageError{QStringLiteral("usage: tilemont-cli export IN.tlm OUT [--width W] [--height H] "
                                         "[--format bmp|gif|jpeg|png|tiff] [--quality Q] [--transformation T] "
                                         "[--compression C] [--color-depth D] [--keep-shading] "
                                         "[--shading-strength PERCENT]")};
    o.input = positional[0];
    o.output = positional[1];
    if (o.values.contains("--width"))
        o.width = ParseInteger(o.values.value("--width"));
    if (o.values.contains("--height"))
        o.height = ParseInteger(o.values.value("--height"));
    if (o.values.contains("--shading-strength"))
        o.shadingStrength = ParseShadingStrength(o.values.value("--shading-strength"));
    o.format = o.values.value("--format", QFileInfo(o.output).suffix());
    if (MimeForFormat(o.format).isEmpty())
        throw CUsageError{o.values.contains("--format")
                              ? QStringLiteral("Unknown format %1: use bmp, gif, jpeg, png or tiff.").arg(o.format)
                              : QStringLiteral("Cannot tell the format from %1: add --format.").arg(o.output)};
    return o;
}

} // namespace

int RunExportCommand(const QStringList& args)
{
    CExportOptions options;
    CExportRequest request;
    try {
        options = ParseOptions(args);
        GetEncoderClsid(MimeForFormat(options.format), &request.encoder);
        const CImageEncoder* encoder = FindEncoder(request.encoder);
        if (!encoder)
            throw CUsageError{QStringLiteral("No encoder for %1.").arg(options.format)};
        request.parameters = ChooseParameters(*encoder, options.values);
    } catch (const CUsageError& e) {
        PrintError(e.message);
        return kUsage;
    }

    const auto data = LoadTemplateWithPicture(options.input, QStringLiteral("export"));
    if (!data)
        return kFailed;
    const QSize size = ExportSize(data->picture->size(), options.width, options.height);
    request.width = size.width();
    request.height = size.height();
    request.fileName = options.output;
    request.keepShading = options.keepShading;
    request.shadingStrength = options.shadingStrength;
    QString error;
    if (!ExportRun(*data->picture, data->areas, request, &error)) {
        PrintError(error);
        return kFailed;
    }
    return kOk;
}

int RunEncodersCommand()
{
    QString text;
    for (const CImageEncoder* encoder : InstalledEncoders())
        text += encoder->MimeType() + QLatin1Char('\n') + EncoderParameterListing(encoder->Parameters());
    return WriteStdout(text.toUtf8());
}
