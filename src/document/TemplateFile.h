#pragma once

#include "Area.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

// The contents of a template file: the picture, then the areas in order.
struct CTemplateData
{
    std::unique_ptr<QImage> picture;
    // The picture's size as stored, in which the areas lie; the picture's
    // own size unless it was read shrunk (see CTemplateReadOptions).
    QSize pictureSize;
    // The JPEG file the picture was read as, to write back while it stays.
    QByteArray pictureJpeg;
    std::vector<CArea> areas;
    // Set when an image of the file was only partly readable.
    bool damaged = false;
    // Set when the file holds a perspective and real-size block that could
    // not be used: the areas came without those values.
    bool extensionSkipped = false;
    // With CTemplateReadOptions::salvage: the file ended or broke after its
    // picture, and areasLost of the areas it announced were not whole.
    bool cutShort = false;
    std::uint32_t areasLost = 0;
    // Set when the file holds a block of laying patterns that could not be
    // used: the areas came without their patterns.
    bool patternSkipped = false;
    // What to tell the user once after opening (LoadTemplateFile fills it in,
    // naming the file); empty when there is nothing to say.
    QString warning;
};

// The whole file in memory; nothing when an image could not be encoded.
// pictureJpeg, when not empty, is written as the picture's blob.
// warps, when given, supplies the warped textures the areas show (see
// CArea::Serialize).
std::optional<QByteArray> WriteTemplate(const QImage* picture, const QByteArray& pictureJpeg,
                                        const std::vector<CArea>& areas, const IAreaWarpSource* warps = nullptr);
// A picture without bytes of its own: it is encoded.
inline std::optional<QByteArray> WriteTemplate(const QImage* picture, const std::vector<CArea>& areas)
{
    return WriteTemplate(picture, QByteArray(), areas);
}

// How much of a template's images a reader decodes: everything by default.
struct CTemplateReadOptions
{
    // Positive: the picture is decoded shrunk to fit within this many pixels
    // each way (see FitWithin), far quicker than whole; the areas stay in
    // the whole picture's pixels. For a small view of the template that
    // never saves it.
    int pictureFitWithin = 0;
    // Off: the warped textures stored with skewed areas stay undecoded, for
    // a reader that draws the areas at another size and builds its own.
    bool decodeStoredWarps = true;
    // On: a file cut short (or damaged) after its picture gives the picture
    // and the areas that are whole, with areasLost saying how many were
    // not, instead of nothing. For the editor, where the user sees what
    // opened and is told; a script is refused instead.
    bool salvage = false;
};

// Raises CArchiveError for data that ends too early or counts that cannot
// fit in what is left. A damaged block after the last area raises nothing:
// it only sets extensionSkipped.
CTemplateData ReadTemplate(QByteArray bytes, const CTemplateReadOptions& options = {});

// Reads a template file. On failure returns nothing and sets error to the
// message for the user, naming the file.
std::optional<CTemplateData> LoadTemplateFile(const QString& path, QString* error,
                                              const CTemplateReadOptions& options = {});

// Writes a template file through a temporary file beside it, which replaces
// the target only once everything was written: a failed save never damages
// the file that was there. On failure sets error to the user's message.
bool SaveTemplateFile(const QString& path, const QImage* picture, const QByteArray& pictureJpeg,
                      const std::vector<CArea>& areas, QString* error, const IAreaWarpSource* warps = nullptr);
inline bool SaveTemplateFile(const QString& path, const QImage* picture, const std::vector<CArea>& areas,
                             QString* error, const IAreaWarpSource* warps = nullptr)
{
    return SaveTemplateFile(path, picture, QByteArray(), areas, error, warps);
}
// What was read, written back: the images that came as JPEG files as those.
inline bool SaveTemplateFile(const QString& path, const CTemplateData& data, QString* error,
                             const IAreaWarpSource* warps = nullptr)
{
    return SaveTemplateFile(path, data.picture.get(), data.pictureJpeg, data.areas, error, warps);
}
