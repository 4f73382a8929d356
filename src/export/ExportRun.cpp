#include "ExportRun.h"

#include "ExportOutput.h"
#include "ExportSize.h"
#include "codecs/EncoderRegistry.h"
#include "render/TemplateCompositor.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

// Shares of the progress bar: composing, scaling, encoding, writing.
constexpr int kComposed = 50;
constexpr int kScaled = 60;
constexpr int kEncoded = 95;

bool Fail(QString* error, const QString& path, const QString& why)
{
    if (error)
        *error = QCoreApplication::translate("ExportRun", "%1 could not be exported: %2")
                     .arg(QDir::toNativeSeparators(path), why);
    return false;
}

} // namespace

QString ExportTargetPath(const CExportRequest& request)
{
    const QString name = QDir::fromNativeSeparators(request.fileName);
    if (name.contains(QLatin1Char('/')) || request.exportFolder.isEmpty())
        return name;
    return QDir(request.exportFolder).filePath(name);
}

bool ExportRun(const QImage& picture, const std::vector<CArea>& areas, const CExportRequest& request,
               QString* error, const ExportProgress& progress)
{
    const QString path = ExportTargetPath(request);
    const auto report = [&](int percent, const QString& stage) { return !progress || progress(percent, stage); };
    const QString cancelled = QCoreApplication::translate("ExportRun", "the export was cancelled.");

    if (picture.isNull())
        return Fail(error, path, QCoreApplication::translate("ExportRun", "the template has no picture."));
    switch (CheckExportSize(request.width, request.height)) {
    case ExportSizeCheck::TooSmall:
        return Fail(error, path,
                    QCoreApplication::translate("ExportRun", "the width and the height must be at least 1 pixel."));
    case ExportSizeCheck::TooLarge:
        return Fail(error, path, ExportTooLargeMessage(request.width, request.height));
    case ExportSizeCheck::Ok:
        break;
    }
    const CImageEncoder* encoder = FindEncoder(request.encoder);
    if (!encoder)
        return Fail(error, path,
                    QCoreApplication::translate("ExportRun", "there is no encoder for the chosen format."));

    if (!report(0, QCoreApplication::translate("ExportRun", "Composing")))
        return Fail(error, path, cancelled);
    bool stopped = false;
    QImage image = ComposeTemplate(
        picture, areas,
        [&](int done, int count) {
            stopped = !report(kComposed * done / count, QCoreApplication::translate("ExportRun", "Composing"));
            return !stopped;
        },
        CComposeOptions{request.keepShading, request.warps, request.shadingStrength});
    if (image.isNull())
        return Fail(error, path,
                    stopped ? cancelled : QCoreApplication::translate("ExportRun", "there is not enough memory."));

    if (image.size() != QSize(request.width, request.height)) {
        if (!report(kComposed, QCoreApplication::translate("ExportRun", "Scaling")))
            return Fail(error, path, cancelled);
        image = ScaleForExport(image, request.width, request.height);
        if (image.isNull())
            return Fail(error, path, QCoreApplication::translate("ExportRun", "there is not enough memory."));
    }

    if (!report(kScaled, QCoreApplication::translate("ExportRun", "Encoding")))
        return Fail(error, path, cancelled);
    QString why;
    const std::optional<QByteArray> bytes = encoder->Encode(image, request.parameters, &why);
    if (!bytes)
        return Fail(error, path,
                    why.isEmpty() ? QCoreApplication::translate("ExportRun", "the encoder refused the image.") : why);

    if (!report(kEncoded, QCoreApplication::translate("ExportRun", "Writing")))
        return Fail(error, path, cancelled);
    if (!WriteWholeFile(path, *bytes, &why))
        return Fail(error, path, why);
    report(100, QCoreApplication::translate("ExportRun", "Done"));
    return true;
}
