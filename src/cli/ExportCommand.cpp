#include "ExportCommand.h"

#include "CliOutput.h"
#include "document/TemplateFile.h"
#include "codecs/EncoderGuids.h"
#include "codecs/EncoderRegistry.h"
#include "export/ExportRun.h"

#include <QFileInfo>
#include <QMap>
#include <optional>

namespace {

const QString kNotAnInteger = QStringLiteral("Please enter an integer.");
const QString kIntegerBetween = QStringLiteral("Please enter an integer between %1 and %2.");

struct CUsageError
{
    QString message;
};

int ParseInteger(const QString& text)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    if (!ok)
        throw CUsageError{kNotAnInteger};
    return v;
}

// A value given by name or by number; the number must be one the encoder
// offers, as the dialog's lists hold only those.
std::int32_t ParseChoice(const QString& option, const QString& text, const QMap<QString, int>& names,
                         const CEncoderParameterInfo& info)
{
    const int value = names.contains(text.toLower()) ? names.value(text.toLower()) : ParseInteger(text);
    if (std::find(info.values.begin(), info.values.end(), value) == info.values.end()) {
        QStringList offered;
        for (std::int32_t v : info.values)
            offered << QString::number(v);
        throw CUsageError{QStringLiteral("%1 must be one of %2 (or %3).")
                              .arg(option, QStringList(names.keys()).join(QStringLiteral(", ")),
                                   offered.join(QStringLiteral(", ")))};
    }
    return value;
}

const CEncoderParameterInfo* FindParameter(const std::vector<CEncoderParameterInfo>& params, const QUuid& guid)
{
    for (const CEncoderParameterInfo& p : params)
        if (p.guid == guid)
            return &p;
    return nullptr;
}

QString MimeForFormat(const QString& format)
{
    static const QMap<QString, QString> mimes{
        {"bmp", "image/bmp"},   {"gif", "image/gif"},  {"jpeg", "image/jpeg"}, {"jpg", "image/jpeg"},
        {"png", "image/png"},   {"tiff", "image/tiff"}, {"tif", "image/tiff"},
    };
    return mimes.value(format.toLower());
}

struct CExportOptions
{
    QString input;
    QString output;
    std::optional<int> width;
    std::optional<int> height;
    QMap<QString, QString> values; // --quality etc. as typed
    QString format;
};

CExportOptions ParseOptions(const QStringList& args)
{
    static const QStringList kValueOptions{"--width", "--height", "--format", "--quality",
                                           "--transformation", "--compression", "--color-depth"};
    CExportOptions o;
    QStringList positional;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (!a.startsWith(QLatin1String("--"))) {
            positional << a;
            continue;
        }
        if (!kValueOptions.contains(a))
            throw CUsageError{QStringLiteral("Unknown option %1.").arg(a)};
        if (i + 1 >= args.size())
            throw CUsageError{QStringLiteral("%1 needs a value.").arg(a)};
        o.values[a] = args[++i];
    }
    if (positional.size() != 2)
        throw CUsageError{QStringLiteral("usage: tilemont-cli export IN.tlm OUT [--width W] [--height H] "
                                         "[--format bmp|gif|jpeg|png|tiff] [--quality Q] [--transformation T] "
                                         "[--compression C] [--color-depth D]")};
    o.input = positional[0];
    o.output = positional[1];
    if (o.values.contains("--width"))
        o.width = ParseInteger(o.values.value("--width"));
    if (o.values.contains("--height"))
        o.height = ParseInteger(o.values.value("--height"));
    o.format = o.values.value("--format", QFileInfo(o.output).suffix());
    if (MimeForFormat(o.format).isEmpty())
        throw CUsageError{o.values.contains("--format")
                              ? QStringLiteral("Unknown format %1: use bmp, gif, jpeg, png or tiff.").arg(o.format)
                              : QStringLiteral("Cannot tell the format from %1: add --format.").arg(o.output)};
    return o;
}

// The encoder's parameters as the export dialog would preselect them (the
// largest quality, the last entry of every list), overridden by options.
CEncoderParameters ChooseParameters(const CImageEncoder& encoder, const CExportOptions& o)
{
    const auto params = encoder.Parameters();
    CEncoderParameters chosen;
    for (const CEncoderParameterInfo& p : params)
        if (!p.values.empty())
            chosen.push_back({p.guid, p.values.back()});
    const auto set = [&](const QUuid& guid, std::int32_t value) {
        for (CEncoderParameterValue& v : chosen)
            if (v.guid == guid)
                v.value = value;
    };
    const auto need = [&](const QString& option, const QUuid& guid) -> const CEncoderParameterInfo& {
        const CEncoderParameterInfo* info = FindParameter(params, guid);
        if (!info)
            throw CUsageError{QStringLiteral("%1 does not apply to %2.").arg(option, encoder.MimeType())};
        return *info;
    };
    if (o.values.contains("--quality")) {
        const CEncoderParameterInfo& info = need("--quality", EncoderGuid::kQuality);
        const int q = ParseInteger(o.values.value("--quality"));
        const int lo = info.values.size() == 2 ? info.values[0] : 0;
        const int hi = info.values.size() == 2 ? info.values[1] : 100;
        if (q < lo || q > hi)
            throw CUsageError{kIntegerBetween.arg(lo).arg(hi)};
        set(EncoderGuid::kQuality, q);
    }
    if (o.values.contains("--transformation")) {
        static const QMap<QString, int> names{
            {"none", kTransformNone},           {"rotate90", kTransformRotate90},
            {"rotate180", kTransformRotate180}, {"rotate270", kTransformRotate270},
            {"flip-horizontal", kTransformFlipHorizontal}, {"flip-vertical", kTransformFlipVertical}};
        set(EncoderGuid::kTransformation,
            ParseChoice("--transformation", o.values.value("--transformation"), names,
                        need("--transformation", EncoderGuid::kTransformation)));
    }
    if (o.values.contains("--compression")) {
        static const QMap<QString, int> names{{"none", kCompressionNone},     {"lzw", kCompressionLzw},
                                              {"ccitt3", kCompressionCcitt3}, {"ccitt4", kCompressionCcitt4},
                                              {"rle", kCompressionRle}};
        set(EncoderGuid::kCompression, ParseChoice("--compression", o.values.value("--compression"), names,
                                                   need("--compression", EncoderGuid::kCompression)));
    }
    if (o.values.contains("--color-depth"))
        set(EncoderGuid::kColorDepth, ParseChoice("--color-depth", o.values.value("--color-depth"), {},
                                                  need("--color-depth", EncoderGuid::kColorDepth)));
    return chosen;
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
        request.parameters = ChooseParameters(*encoder, options);
    } catch (const CUsageError& e) {
        PrintError(e.message);
        return kUsage;
    }

    QString error;
    auto data = LoadTemplateFile(options.input, &error);
    if (!data) {
        PrintError(error);
        return kFailed;
    }
    if (!data->picture) {
        PrintError(QStringLiteral("%1 has no picture to export.").arg(options.input));
        return kFailed;
    }
    // With one side given, the other follows the picture's aspect ratio,
    // truncated, as in the export dialog.
    const int w = data->picture->width(), h = data->picture->height();
    const double aspect = double(w) / h;
    request.width = options.width.value_or(options.height ? int(*options.height * aspect) : w);
    request.height = options.height.value_or(options.width ? int(*options.width / aspect) : h);
    request.fileName = options.output;
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
