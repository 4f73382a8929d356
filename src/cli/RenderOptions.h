#pragma once

#include "ShardOption.h"
#include "codecs/EncoderParameter.h"
#include "export/GroupRender.h"

#include <QMap>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QUuid>
#include <optional>

// What render-group and render-catalogue take alike: the format and its
// encoder options, the size, and how the run goes. Both make their
// requests from it through MakeGroupRequest, so that an image is the same
// bytes whichever command wrote it.
struct CRenderOptions
{
    QString extension;
    QUuid encoder;
    CEncoderParameters parameters;
    std::optional<int> width;
    std::optional<int> height;
    int jobs = 0;
    bool keepShading = false;
    // --shading-strength: every area's shading at this percent.
    std::optional<int> shadingStrength = std::nullopt;
    bool overwrite = false;
    CShardChoice shard;
    // One JSON line per image on stdout instead of the progress on stderr.
    bool jsonProgress = false;
};

// A render command's line: what is not an option, the values of the
// command's own options, and the shared options read.
struct CRenderCommandLine
{
    QStringList positional;
    QMap<QString, QString> values;
    // The command's own options without a value that were given.
    QStringList flags;
    CRenderOptions options;
};

// Reads args, taking the shared options and the command's own value
// options (such as --area) and flags; raises CUsageError (CliOutput.h) for
// an option it does not know or a value it cannot take.
CRenderCommandLine ParseRenderCommandLine(const QStringList& args, const QStringList& commandOptions,
                                          const QStringList& commandFlags = {});

// The percent --shading-strength gives; raises CUsageError for anything
// but a whole number from 0 to 150.
int ParseShadingStrength(const QString& value);

// The size of the images written for a picture of the given size.
QSize OutputSize(const CRenderOptions& options, QSize picture);

// The request that renders textures into one area of a template whose
// picture has the given size, writing into outputFolder.
CGroupRenderRequest MakeGroupRequest(const CRenderOptions& options, std::size_t area, QSize picture,
                                     const QStringList& textures, const QString& outputFolder);
