#include "ThumbnailCommand.h"

#include "CliArgs.h"
#include "CliOutput.h"
#include "codecs/EncoderRegistry.h"
#include "export/ExportOutput.h"
#include "export/TemplateThumbnail.h"

#include <QDir>

namespace {

const QString kUsageLine = QStringLiteral("usage: tilemont-cli thumbnail TEMPLATE.tlm OUT.png [--size N]");
// File managers ask for 128 to 1024; beyond this a thumbnail is an export.
constexpr int kMaxSide = 4096;
constexpr int kDefaultSide = 256;

struct CThumbnailOptions
{
    QString input;
    QString output;
    int side = kDefaultSide;
};

CThumbnailOptions ParseOptions(const QStringList& args)
{
    CThumbnailOptions o;
    const CliArgs::CCommandLine line = CliArgs::Parse(args, {.values = {"--size"}});
    const QStringList& positional = line.positional;
    if (line.Has("--size")) {
        bool ok = false;
        o.side = line.Value("--size").trimmed().toInt(&ok);
        if (!ok || o.side < 1 || o.side > kMaxSide)
            throw CUsageError{QStringLiteral("--size must be a whole number of pixels from 1 to %1, not \"%2\".")
                                  .arg(kMaxSide)
                                  .arg(line.Value("--size"))};
    }
    if (positional.size() != 2 || positional[0].isEmpty() || positional[1].isEmpty())
        throw CUsageError{kUsageLine};
    o.input = positional[0];
    o.output = positional[1];
    return o;
}

} // namespace

int RunThumbnailCommand(const QStringList& args)
{
    CThumbnailOptions options;
    try {
        options = ParseOptions(args);
    } catch (const CUsageError& e) {
        PrintError(e.message);
        return kUsage;
    }

    QString error;
    const auto data = LoadTemplateFile(options.input, &error, ThumbnailReadOptions(options.side));
    if (!data) {
        PrintError(error);
        return kFailed;
    }
    if (!data->warning.isEmpty())
        PrintError(QStringLiteral("warning: ") + data->warning);
    if (!data->picture) {
        PrintError(QStringLiteral("%1 has no picture to make a thumbnail of.").arg(options.input));
        return kFailed;
    }
    const QString target = QDir::toNativeSeparators(options.output);
    const QImage thumbnail = ComposeThumbnail(*data, options.side);
    if (thumbnail.isNull()) {
        PrintError(QStringLiteral("%1 could not be written: there is not enough memory.").arg(target));
        return kFailed;
    }
    // A thumbnail is PNG whatever the name says: that is what file managers
    // read back.
    QUuid png;
    GetEncoderClsid(QStringLiteral("image/png"), &png);
    QString why;
    const std::optional<QByteArray> bytes = FindEncoder(png)->Encode(thumbnail, {}, &why);
    if (!bytes || !WriteWholeFile(options.output, *bytes, &why)) {
        PrintError(QStringLiteral("%1 could not be written: %2").arg(target, why));
        return kFailed;
    }
    return kOk;
}
