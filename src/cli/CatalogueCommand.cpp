#include "CatalogueCommand.h"

#include "CliOutput.h"
#include "RenderOptions.h"
#include "RenderSession.h"
#include "catalogue/CatalogueManifest.h"
#include "catalogue/CataloguePlan.h"
#include "document/AreaNames.h"
#include "document/TemplateFile.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>

namespace {

const QString kUsageLine = QStringLiteral(
    "usage: tilemont-cli render-catalogue MANIFEST.json --out DIR [--shard K/N|auto/N] [--jobs N]\n"
    "                    [--format bmp|gif|jpg|png|tiff] [--width W] [--height H] [--quality Q]\n"
    "                    [--transformation T] [--compression C] [--color-depth D]\n"
    "                    [--progress json] [--keep-shading] [--shading-strength PERCENT] [--overwrite]\n"
    "                    [--dry-run]");

// What --dry-run prints: the images of the slice with their estimated
// costs, one JSON line each, so that a split can be checked or tuned
// before anything is rendered.
int ListSlice(const CCataloguePlan& plan, const std::vector<std::size_t>& slice, const CRenderOptions& options,
              const QString& output)
{
    QByteArray lines;
    for (const std::size_t i : slice) {
        const CPlannedImage& image = plan.Images()[i];
        const QString folder = QDir(output).filePath(plan.Rooms()[image.room].title);
        CGroupRenderRequest request = MakeGroupRequest(options, 0, {}, {}, folder);
        const QJsonObject line{{"file", QDir::toNativeSeparators(GroupOutputPath(request, image.texture))},
                               {"texture", QDir::toNativeSeparators(image.texture)},
                               {"cost", image.cost}};
        lines += QJsonDocument(line).toJson(QJsonDocument::Compact) + '\n';
    }
    return WriteStdout(lines);
}

int PrintFaults(const std::vector<QString>& errors)
{
    for (const QString& error : errors)
        PrintError(error);
    return kFailed;
}

// Renders one room's share of the slice; false once the run is interrupted.
bool RenderRoom(CRenderSession& session, const CRenderOptions& options, const CCatalogueRoom& listed,
                const CPlannedRoom& room, const QStringList& textures, const QString& output)
{
    const QString folder = QDir(output).filePath(room.title);
    CGroupRenderRequest request = MakeGroupRequest(options, room.area, room.picture, textures, folder);
    // Opened again when not kept from the check: a catalogue of many rooms
    // would otherwise hold every picture at once.
    QString error;
    std::shared_ptr<const CTemplateData> data = room.opened;
    if (!data) {
        if (std::optional<CTemplateData> opened = LoadTemplateFile(room.templatePath, &error))
            data = std::make_shared<const CTemplateData>(std::move(*opened));
    }
    const std::optional<std::size_t> area = data ? AreaIndexNamed(data->areas, listed.area) : std::nullopt;
    if (!data || !data->picture || !area) {
        session.Fail(request, error.isEmpty() ? QStringLiteral("%1 changed while the catalogue was rendered.")
                                                    .arg(QDir::toNativeSeparators(room.templatePath))
                                              : error);
        return true;
    }
    if (!QDir().mkpath(folder)) {
        session.Fail(request,
                     QStringLiteral("the folder %1 could not be made.").arg(QDir::toNativeSeparators(folder)));
        return true;
    }
    request = MakeGroupRequest(options, *area, data->picture->size(), textures, folder);
    return session.Render(*data->picture, data->areas, request);
}

} // namespace

int RunRenderCatalogueCommand(const QStringList& args)
{
    CRenderCommandLine line;
    try {
        line = ParseRenderCommandLine(args, {"--out"}, {"--dry-run"});
        if (line.positional.size() != 1 || !line.values.contains("--out"))
            throw CUsageError{kUsageLine};
    } catch (const CUsageError& e) {
        PrintError(e.message);
        return kUsage;
    }
    const CRenderOptions& options = line.options;
    const QString output = line.values.value("--out");

    // Every fault of the manifest is found before the first image.
    std::vector<QString> errors;
    const std::optional<CCatalogueManifest> manifest = CCatalogueManifest::Read(line.positional[0], &errors);
    if (!manifest)
        return PrintFaults(errors);
    std::optional<CCataloguePlan> plan =
        CCataloguePlan::Make(*manifest, [&](QSize picture) { return OutputSize(options, picture); }, options.extension, &errors);
    if (!plan)
        return PrintFaults(errors);
    const std::vector<std::size_t> slice = plan->Slice(options.shard.index, options.shard.count);
    if (line.flags.contains("--dry-run"))
        return ListSlice(*plan, slice, options, output);
    if (!QDir().mkpath(output)) {
        PrintError(QStringLiteral("The folder %1 could not be made.").arg(QDir::toNativeSeparators(output)));
        return kFailed;
    }

    // The slice's textures room by room, rooms in manifest order.
    QMap<std::size_t, QStringList> byRoom;
    for (const std::size_t i : slice)
        byRoom[plan->Images()[i].room] << plan->Images()[i].texture;
    for (std::size_t room = 0; room < plan->Rooms().size(); ++room)
        if (!byRoom.contains(room))
            plan->Release(room);

    CRenderSession session(options, static_cast<int>(slice.size()));
    for (auto it = byRoom.cbegin(); it != byRoom.cend(); ++it) {
        const bool going =
            RenderRoom(session, options, manifest->Rooms()[it.key()], plan->Rooms()[it.key()], it.value(), output);
        plan->Release(it.key());
        if (!going)
            break;
    }
    return session.Finish(output);
}
