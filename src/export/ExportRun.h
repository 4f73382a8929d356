#pragma once

#include "codecs/EncoderParameter.h"
#include "document/Area.h"

#include <QImage>
#include <QString>
#include <QUuid>
#include <functional>
#include <optional>
#include <vector>

class CWarpCache;

// What the user chose for one export.
struct CExportRequest
{
    int width = 0;
    int height = 0;
    // A name without a folder goes into exportFolder.
    QString fileName;
    QString exportFolder;
    QUuid encoder;
    CEncoderParameters parameters;
    // The picture's light and shadow over the textures; off, every export
    // is what it always was.
    bool keepShading = false;
    // The open template's warps, shared with the editor; without them the
    // run builds what it draws.
    CWarpCache* warps = nullptr;
    // The shading's strength in percent for every area, in place of each
    // area's own (last: requests are also made field by field in order).
    std::optional<int> shadingStrength = std::nullopt;
};

// Told the share done so far (0..100) and what is being done; returning
// false cancels the export, which then writes nothing.
using ExportProgress = std::function<bool(int percent, const QString& stage)>;

// The file an export writes: fileName, or fileName inside exportFolder when
// it names no folder.
QString ExportTargetPath(const CExportRequest& request);

// Composes the picture with every area at the picture's own size, scales
// the result to the chosen size and writes it with the chosen encoder and
// parameters. The file appears only once it is complete. Returns false with
// error set to a message naming the file when anything fails (no picture,
// a size of zero, an encoder's refusal, a folder that cannot be written) or
// when progress cancelled.
bool ExportRun(const QImage& picture, const std::vector<CArea>& areas, const CExportRequest& request,
               QString* error, const ExportProgress& progress = {});
