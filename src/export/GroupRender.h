#pragma once

#include "codecs/EncoderParameter.h"
#include "document/Area.h"

#include <QImage>
#include <QString>
#include <QStringList>
#include <QUuid>
#include <atomic>
#include <functional>
#include <vector>

class CWarpCache;

// A texture group rendered into one area of a template: one image per
// texture file, each the template as an export would write it with that
// texture laid into the area.
struct CGroupRenderRequest
{
    // The area the textures go into, by its place in the template's list.
    std::size_t area = 0;
    // The texture files, in the order the results are given.
    QStringList textures;
    // Each image is named after its texture's file title, with extension
    // (given without the dot) after it, inside outputFolder.
    QString outputFolder;
    QString extension;
    int width = 0;
    int height = 0;
    QUuid encoder;
    CEncoderParameters parameters;
    // How many textures are rendered at once; 0 for one per processor core.
    int jobs = 0;
    // The picture's light and shadow over every textured area, as the
    // composition option of the same name.
    bool keepShading = false;
    // Whether an image already there is replaced; otherwise its texture is
    // skipped.
    bool overwrite = false;
    // The open template's warps, shared with the editor, for the areas
    // around the one the textures go into; without them the render builds
    // what it draws.
    CWarpCache* warps = nullptr;
    // The shading's strength in percent, in place of the area's own (last:
    // requests are also made field by field in order).
    std::optional<int> shadingStrength = std::nullopt;
};

struct CGroupRenderResult
{
    enum class Status { Written, Skipped, Failed, Cancelled };

    QString texture;
    QString output;
    Status status = Status::Cancelled;
    // For Skipped and Failed: the sentence for the user, naming the file.
    QString message;
    // How long the texture took to render, read to written, in milliseconds
    // (0 for one settled from its file alone).
    qint64 milliseconds = 0;

    bool operator==(const CGroupRenderResult&) const = default;
};

// Told of each texture once it is written, skipped or failed: how many are
// done (rising by one from call to call) of how many there are, and the
// texture's result. Called from the rendering threads, one call at a time.
using GroupRenderProgress = std::function<void(int done, int count, const CGroupRenderResult& result)>;

// The image file request makes for texture.
QString GroupOutputPath(const CGroupRenderRequest& request, const QString& texture);

// Renders every texture of request, several at once, and returns one result
// per texture in request order. Files that are not pictures, and those
// whose image exists while overwrite is off, are skipped; a texture that
// fails (cannot be read or decoded, refused by the encoder, cannot be
// written, or its image name already taken by an earlier texture) does not
// stop the others. Once cancel turns true, no further texture starts and
// those under way stop at their next step (one already writing finishes);
// the stopped ones and those never started are Cancelled and not reported
// to progress. Images appear only once complete. Returns when all rendering
// has stopped.
std::vector<CGroupRenderResult> RenderTextureGroup(const QImage& picture, const std::vector<CArea>& areas,
                                                   const CGroupRenderRequest& request,
                                                   const GroupRenderProgress& progress = {},
                                                   const std::atomic<bool>* cancel = nullptr);
