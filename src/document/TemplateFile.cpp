#include "TemplateFile.h"


#include "ArchiveError.h"
#include "ArchiveReader.h"
#include "ArchiveWriter.h"
#include "DiskSpace.h"
#include "ImageCodec.h"
#include "Messages.h"
#include "PatternBlock.h"
#include "TemplateExtension.h"

#include <QFileInfo>
#include <algorithm>
#include <cstdint>
#include <QStringList>
#include <QSaveFile>

namespace {

// The least an area record takes: a one-byte name prefix, two empty image
// blobs, the numbers, the corners, a contour count of zero and the rect.
constexpr quint64 kMinAreaBytes = 1 + 4 + 4 + 8 + 4 + 4 + 8 + 4 + 32 + 4 + 16;

void SetError(QString* error, const QString& message, const QString& path)
{
    if (error)
        *error = message.contains(QLatin1String("%1")) ? message.arg(path) : message;
}

} // namespace

std::optional<QByteArray> WriteTemplate(const QImage* picture, const QByteArray& pictureJpeg,
                                        const std::vector<CArea>& areas, const IAreaWarpSource* warps)
{
    CArchiveWriter ar;
    if (!WriteImage(ar, picture, kTemplateImageQuality, pictureJpeg))
        return std::nullopt;
    ar.WriteU32(static_cast<std::uint32_t>(areas.size()));
    for (const CArea& area : areas)
        if (!area.Serialize(ar, warps))
            return std::nullopt;
    CTemplateExtension::Write(ar, areas);
    CPatternBlock::Write(ar, areas);
    return ar.Data();
}

CTemplateData ReadTemplate(QByteArray bytes, const CTemplateReadOptions& options)
{
    CArchiveReader ar(std::move(bytes));
    CTemplateData data;
    ReadImage(ar, data.picture, &data.pictureJpeg, &data.damaged, options.pictureFitWithin, &data.pictureSize);
    std::uint32_t count = 0;
    try {
        count = ar.ReadU32();
        if (!options.salvage)
            ar.Require(count, kMinAreaBytes);
        // One by one: a count that claims more than is left is read as far
        // as the areas are whole.
        data.areas.reserve(std::min<std::size_t>(count, std::size_t(ar.Remaining() / kMinAreaBytes) + 1));
        for (std::uint32_t i = 0; i < count; ++i) {
            CArea area;
            area.Serialize(ar, &data.damaged, options.decodeStoredWarps);
            data.areas.push_back(std::move(area));
        }
    } catch (const CArchiveError&) {
        if (!options.salvage)
            throw;
        data.cutShort = true;
        data.areasLost = count - static_cast<std::uint32_t>(data.areas.size());
    }
    if (!data.cutShort) {
        const auto extension = CTemplateExtension::Read(ar, data.areas);
        data.extensionSkipped = extension == CTemplateExtension::Outcome::Unusable;
        if (extension == CTemplateExtension::Outcome::Applied)
            data.patternSkipped = CPatternBlock::Read(ar, data.areas) == CPatternBlock::Outcome::Unusable;
    }
    // The perspective just read is one of the values the stored warps were
    // built from.
    for (CArea& area : data.areas)
        area.KeepStoredWarp();
    return data;
}

std::optional<CTemplateData> LoadTemplateFile(const QString& path, QString* error,
                                              const CTemplateReadOptions& options)
{
    std::optional<QByteArray> bytes = ReadWholeFile(path, error);
    if (!bytes)
        return std::nullopt;
    try {
        CTemplateData data = ReadTemplate(std::move(*bytes), options);
        QStringList warnings;
        if (data.damaged)
            warnings << Messages::kDamagedPicture.arg(path);
        if (data.extensionSkipped)
            warnings << Messages::kExtensionSkipped.arg(path);
        if (data.patternSkipped)
            warnings << Messages::kPatternSkipped.arg(path);
        if (data.cutShort)
            warnings << Messages::kAreasLost.arg(path).arg(data.areas.size()).arg(data.areas.size() + data.areasLost);
        data.warning = warnings.join(QLatin1Char('\n'));
        return data;
    } catch (const CArchiveError& e) {
        SetError(error, e.GetKind() == CArchiveError::Kind::EndOfFile ? Messages::kPastEnd : Messages::kBadFormat,
                 path);
    } catch (const std::bad_alloc&) {
        SetError(error, Messages::kFailedToOpen, path);
    }
    return std::nullopt;
}

bool SaveTemplateFile(const QString& path, const QImage* picture, const QByteArray& pictureJpeg,
                      const std::vector<CArea>& areas, QString* error, const IAreaWarpSource* warps)
{
    const std::optional<QByteArray> bytes = WriteTemplate(picture, pictureJpeg, areas, warps);
    if (!bytes) {
        SetError(error, Messages::kFailedToSave, path);
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        SetError(error, Messages::kWriteDenied, path);
        return false;
    }
    // A buffered write may fail only at the last flush, in commit.
    if (file.write(*bytes) != bytes->size() || !file.flush()) {
        const bool full = DiskFullFor(path, bytes->size());
        file.cancelWriting();
        SetError(error, full ? Messages::kDiskFull : Messages::kWriteError, path);
        return false;
    }
    if (!file.commit()) {
        SetError(error, DiskFullFor(path, bytes->size()) ? Messages::kDiskFull : Messages::kWriteError, path);
        return false;
    }
    return true;
}
