#include "RenderGroupCommand.h"

#include "CliOutput.h"
#include "RenderOptions.h"
#include "RenderSession.h"
#include "TemplateInput.h"
#include "catalogue/RenderCost.h"
#include "catalogue/ShardPartition.h"
#include "catalogue/TextureCatalogue.h"
#include "document/Messages.h"

#include <QDir>
#include <QFileInfo>

#include <optional>

namespace {

const QString kUsageLine = QStringLiteral(
    "usage: tilemont-cli render-group TEMPLATE.tlm --area NAME --group DIR --out DIR\n"
    "                    [--format bmp|gif|jpg|png|tiff] [--width W] [--height H] [--quality Q]\n"
    "                    [--transformation T] [--compression C] [--color-depth D] [--jobs N]\n"
    "                    [--shard K/N|auto/N] [--progress json] [--keep-shading] [--overwrite]\n"
    "                    [--shading-strength PERCENT]");

// The textures of the slice the command line asks for: the group split by
// each texture's estimated cost, textures whose images would share a name
// kept together so that the first of them wins as in a whole run.
QStringList SliceOfGroup(const QStringList& textures, const CGroupRenderRequest& request, const CArea& area,
                         QSize picture, const CShardChoice& shard)
{
    if (shard.IsWhole())
        return textures;
    const qint64 roomCost =
        RenderCost::RoomCost(area, picture, QSize(request.width, request.height), request.extension);
    QStringList outputs;
    std::vector<qint64> costs;
    for (const QString& texture : textures) {
        outputs << GroupOutputPath(request, texture);
        costs.push_back(RenderCost::Estimate(roomCost, RenderCost::TextureSize(texture)));
    }
    QStringList slice;
    for (const std::size_t i : ShardPartition::Select(outputs, costs, shard.index, shard.count))
        slice << textures[static_cast<qsizetype>(i)];
    return slice;
}

} // namespace

int RunRenderGroupCommand(const QStringList& args)
{
    CRenderCommandLine line;
    try {
        line = ParseRenderCommandLine(args, {"--area", "--group", "--out"});
        if (line.positional.size() != 1 || !line.values.contains("--area") || !line.values.contains("--group") ||
            !line.values.contains("--out"))
            throw CUsageError{kUsageLine};
    } catch (const CUsageError& e) {
        PrintError(e.message);
        return kUsage;
    }
    const CRenderOptions& options = line.options;
    const QString input = line.positional[0];
    const QString areaName = line.values.value("--area");
    const QString group = line.values.value("--group");
    const QString output = line.values.value("--out");

    const auto data = LoadTemplateWithPicture(input, QStringLiteral("render"));
    if (!data)
        return kFailed;
    const std::optional<std::size_t> area = AreaIndexNamed(data->areas, areaName);
    if (!area) {
        PrintError(QStringLiteral("%1 has no area \"%2\": %3.").arg(input, areaName, AreaNames(data->areas)));
        return kUsage;
    }
    if (!QFileInfo(group).isDir()) {
        PrintError(Messages::kNotFound.arg(QDir::toNativeSeparators(group)));
        return kFailed;
    }
    if (!QDir().mkpath(output)) {
        PrintError(QStringLiteral("The folder %1 could not be made.").arg(QDir::toNativeSeparators(output)));
        return kFailed;
    }

    const QSize picture = data->picture->size();
    CGroupRenderRequest request =
        MakeGroupRequest(options, *area, picture, TextureCatalogue::ListGroupTextures(group), output);
    request.textures = SliceOfGroup(request.textures, request, data->areas[*area], picture, options.shard);
    CRenderSession session(options, static_cast<int>(request.textures.size()));
    session.Render(*data->picture, data->areas, request);
    return session.Finish(output);
}
