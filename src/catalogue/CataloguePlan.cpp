#include "catalogue/CataloguePlan.h"

#include "catalogue/RenderCost.h"
#include "catalogue/ShardPartition.h"
#include "catalogue/TextureCatalogue.h"
#include "document/AreaNames.h"
#include "document/TemplateFile.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>

namespace {

// The decoded pictures kept open from the check to the rendering; a larger
// catalogue opens its later templates again when it renders them.
constexpr qint64 kKeptBytes = qint64(512) << 20;

QString Quoted(const QString& text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// The name an image of the texture gets, as the group render names it.
QString ImageTitle(const QString& texture)
{
    return QFileInfo(texture).completeBaseName();
}

} // namespace

std::optional<CCataloguePlan> CCataloguePlan::Make(const CCatalogueManifest& manifest, const OutputSize& outputSize,
                                                   const QString& extension, std::vector<QString>* errors)
{
    CCataloguePlan plan;
    bool failed = false;
    const auto fault = [&](const QString& place, const QString& sentence) {
        failed = true;
        if (errors)
            errors->push_back(manifest.Fault(place, sentence));
    };
    const std::vector<CCatalogueRoom>& rooms = manifest.Rooms();
    qint64 kept = 0;
    for (std::size_t r = 0; r < rooms.size(); ++r) {
        const CCatalogueRoom& room = rooms[r];
        const QString place = CCatalogueManifest::RoomPlace(r);
        CPlannedRoom planned{room.templateFile.path, TextureCatalogue::GetFileTitle(room.templateFile.path), 0, {}, {}, {}};
        qint64 roomCost = 0;
        QString error;
        std::optional<CTemplateData> data = LoadTemplateFile(room.templateFile.path, &error);
        if (!data) {
            fault(place + QStringLiteral(".template"), error);
        } else if (!data->picture) {
            fault(place + QStringLiteral(".template"),
                  QStringLiteral("%1 has no picture to render.").arg(Quoted(room.templateFile.written)));
        } else {
            planned.picture = data->picture->size();
            planned.output = outputSize(planned.picture);
            if (const std::optional<std::size_t> named = AreaIndexNamed(data->areas, room.area)) {
                planned.area = *named;
                roomCost = RenderCost::RoomCost(data->areas[*named], planned.picture, planned.output, extension);
            } else {
                fault(place + QStringLiteral(".area"), QStringLiteral("%1 is not an area of %2: %3.")
                                                           .arg(Quoted(room.area), Quoted(room.templateFile.written),
                                                                AreaNames(data->areas)));
            }
            if (kept + data->picture->sizeInBytes() <= kKeptBytes) {
                kept += data->picture->sizeInBytes();
                planned.opened = std::make_shared<const CTemplateData>(std::move(*data));
            }
        }

        // Which texture, by the place that brought it in, has taken each
        // image name.
        QMap<QString, QString> claimed;
        for (std::size_t t = 0; t < room.textures.size(); ++t) {
            const CManifestPath& entry = room.textures[t];
            const QString texturePlace = CCatalogueManifest::TexturePlace(r, t);
            const bool folder = QFileInfo(entry.path).isDir();
            const QStringList files = folder ? TextureCatalogue::ListGroupTextures(entry.path) : QStringList{entry.path};
            for (const QString& file : files) {
                const QString written = folder ? entry.written + QLatin1Char('/') + QFileInfo(file).fileName()
                                               : entry.written;
                const QSize size = RenderCost::TextureSize(file);
                if (!size.isValid() && !folder) {
                    fault(texturePlace, QStringLiteral("%1 is not a picture.").arg(Quoted(written)));
                    continue;
                }
                // A folder's other files are skipped when rendering, as a
                // group's are, and take no image name.
                if (size.isValid()) {
                    const QString title = ImageTitle(file);
                    if (claimed.contains(title)) {
                        fault(texturePlace, QStringLiteral("%1 would give the image \"%2\" that %3 gives: each texture "
                                                           "of a room needs a file title of its own.")
                                                .arg(Quoted(written), title, claimed.value(title)));
                        continue;
                    }
                    claimed.insert(title, QStringLiteral("%1 (%2)").arg(Quoted(written), texturePlace));
                }
                plan.m_images.push_back({r, file, RenderCost::Estimate(roomCost, size)});
            }
        }
        plan.m_rooms.push_back(std::move(planned));
    }
    if (failed)
        return std::nullopt;
    return plan;
}

std::vector<std::size_t> CCataloguePlan::Slice(int index, int count) const
{
    QStringList keys;
    std::vector<qint64> costs;
    for (const CPlannedImage& image : m_images) {
        keys << m_rooms[image.room].title + QLatin1Char('/') + image.texture;
        costs.push_back(image.cost);
    }
    return ShardPartition::Select(keys, costs, index, count);
}
