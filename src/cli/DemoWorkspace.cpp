#include "DemoWorkspace.h"

#include "DemoRoom.h"
#include "DemoStoneTextures.h"
#include "DemoTileTextures.h"
#include "DemoWoodTextures.h"
#include "analysis/PerspectiveFit.h"
#include "catalogue/TextureSizes.h"
#include "document/Area.h"
#include "document/PerspectiveEdits.h"
#include "document/ImageCodec.h"
#include "document/TemplateFile.h"
#include "document/WarpCache.h"
#include "render/AreaWarpUpdates.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <vector>

namespace {

// Texture and picture files; the template keeps its own images at full
// quality regardless.
constexpr int kFileQuality = 90;

struct DemoTexture
{
    const char* path;
    QImage (*draw)();
};

const DemoTexture kTextures[] = {
    {"textures/tiles/white-ceramic.jpg", &CDemoTileTextures::WhiteCeramic},
    {"textures/tiles/terracotta.jpg", &CDemoTileTextures::Terracotta},
    {"textures/tiles/marble-checkerboard.jpg", &CDemoTileTextures::MarbleCheckerboard},
    {"textures/tiles/blue-mosaic.jpg", &CDemoTileTextures::BlueMosaic},
    {"textures/stone/slate.jpg", &CDemoStoneTextures::Slate},
    {"textures/stone/granite-speckle.jpg", &CDemoStoneTextures::GraniteSpeckle},
    {"textures/stone/travertine.jpg", &CDemoStoneTextures::Travertine},
    {"textures/wood/oak-planks.jpg", &CDemoWoodTextures::OakPlanks},
    {"textures/wood/walnut.jpg", &CDemoWoodTextures::Walnut},
    {"textures/wood/herringbone.jpg", &CDemoWoodTextures::Herringbone},
};

const char* const kFolders[] = {"templates", "textures/tiles", "textures/stone", "textures/wood",
                                "lithavens", "export"};

class CWriter
{
public:
    CWriter(const QDir& root, CDemoWorkspace::Outcome* outcome, QString* error)
        : m_root(root), m_pOutcome(outcome), m_pError(error)
    {
    }

    bool Exists(const QString& relative) const { return QFileInfo::exists(m_root.filePath(relative)); }

    void Keep() { ++m_pOutcome->kept; }

    bool Fail(const QString& message)
    {
        *m_pError = message;
        return false;
    }

    bool MakeFolder(const QString& relative)
    {
        const QString path = m_root.filePath(relative);
        if (QFileInfo(path).isDir() || m_root.mkpath(relative))
            return true;
        return Fail(QStringLiteral("%1 could not be created.").arg(QDir::toNativeSeparators(path)));
    }

    // Through a temporary file, so that a failed write leaves no half file
    // that a later run would take for finished.
    bool WriteJpeg(const QString& relative, const QImage& image)
    {
        const QString path = m_root.filePath(relative);
        const QByteArray bytes = EncodeJpeg(image, kFileQuality);
        QSaveFile file(path);
        if (bytes.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() ||
            !file.commit())
            return Fail(QStringLiteral("%1 could not be written.").arg(QDir::toNativeSeparators(path)));
        ++m_pOutcome->written;
        return true;
    }

    bool WriteTemplate(const QString& relative, const QImage& picture, const std::vector<CArea>& areas,
                       const CWarpCache& warps)
    {
        QString why;
        if (!SaveTemplateFile(m_root.filePath(relative), &picture, areas, &why, &warps))
            return Fail(why);
        ++m_pOutcome->written;
        return true;
    }

private:
    QDir m_root;
    CDemoWorkspace::Outcome* m_pOutcome;
    QString* m_pError;
};

// The texture as its file holds it, so that the template shows what picking
// the same swatch in the editor would give.
QImage AsStored(const QImage& texture)
{
    const auto decoded = DecodeImage(EncodeJpeg(texture, kFileQuality), false);
    return decoded ? *decoded : QImage();
}

// The oak planks' texture holds eight boards of 18 cm side by side; the
// room's back wall is 4 m wide.
constexpr double kOakTextureCm = 8 * 18.0;
constexpr double kBackWallCm = 400.0;

CArea FloorArea(const QImage& wood, const QImage& picture)
{
    CArea floor;
    floor.SetName(QStringLiteral("Floor"));
    const CPolygon outline = CDemoRoom::FloorOutline();
    floor.SetOutline(&outline);
    // Boards run away from the viewer.
    floor.SetRotation(90.0);
    floor.SetScale(2.0);
    const auto corners = CDemoRoom::FloorCorners();
    std::copy(corners.begin(), corners.end(), floor.GetSkewCorners().begin());
    // Seen flat, the floor is about as deep as it is wide at the front.
    floor.SetInitialRect(CIntRect{0, CDemoRoom::kHeight - 1000, CDemoRoom::kWidth, CDemoRoom::kHeight});
    floor.SetSkewApplied(true);
    floor.SetTexture(&wood);
    // What the editor does best, shown first: the floor's plane found from
    // the room's own lines, the boards at their real width measured along
    // the back wall's foot, shrinking toward it as a real floor's do.
    if (const auto fit = FitPerspective(picture, outline, {}, nullptr)) {
        CRealSize real;
        real.reference = QLineF(CDemoRoom::kBackLeft, CDemoRoom::kBackBottom, CDemoRoom::kBackRight,
                                CDemoRoom::kBackBottom);
        real.referenceCm = kBackWallCm;
        real.textureWidthCm = kOakTextureCm;
        floor.SetRealSize(real);
        ApplyPerspectiveFit(floor, *fit);
    }
    return floor;
}

CArea WallArea(const QImage& tiles)
{
    CArea wall;
    wall.SetName(QStringLiteral("Back wall"));
    const CPolygon outline = CDemoRoom::WallOutline();
    wall.SetOutline(&outline);
    // Whole tiles start in the wall's top-left corner.
    wall.SetScale(0.75);
    wall.SetShift(CDemoRoom::kBackLeft, CDemoRoom::kBackTop);
    wall.ResetSkew();
    wall.ResetInitialRect();
    wall.SetTexture(&tiles);
    return wall;
}

bool WriteTemplate(CWriter& writer, const QImage& picture)
{
    const QImage wood = AsStored(CDemoWoodTextures::OakPlanks());
    const QImage tiles = AsStored(CDemoTileTextures::WhiteCeramic());
    if (wood.isNull() || tiles.isNull())
        return writer.Fail(QStringLiteral("The demo textures could not be encoded."));
    std::vector<CArea> areas;
    areas.push_back(FloorArea(wood, picture));
    CWarpCache warps;
    if (!KeepExactWarp(warps, areas.back()))
        return writer.Fail(QStringLiteral("The demo floor's texture could not be warped."));
    areas.push_back(WallArea(tiles));
    return writer.WriteTemplate(CDemoWorkspace::TemplatePath(), picture, areas, warps);
}

} // namespace

bool CDemoWorkspace::Create(const QString& folder, Outcome* outcome, QString* error)
{
    *outcome = Outcome();
    const QFileInfo info(folder);
    if (info.exists() && !info.isDir()) {
        *error = QStringLiteral("%1 is not a folder.").arg(QDir::toNativeSeparators(folder));
        return false;
    }
    const QDir root(folder);
    CWriter writer(root, outcome, error);
    for (const char* relative : kFolders)
        if (!writer.MakeFolder(QString::fromLatin1(relative)))
            return false;

    for (const DemoTexture& texture : kTextures) {
        const QString relative = QString::fromLatin1(texture.path);
        if (writer.Exists(relative))
            writer.Keep();
        else if (!writer.WriteJpeg(relative, texture.draw()))
            return false;
    }
    const QString picturePath = QStringLiteral("templates/demo-room.jpg");
    const bool needPicture = !writer.Exists(picturePath);
    const bool needTemplate = !writer.Exists(TemplatePath());
    const QImage picture = needPicture || needTemplate ? CDemoRoom::DrawPicture() : QImage();
    if (!needPicture)
        writer.Keep();
    else if (!writer.WriteJpeg(picturePath, picture))
        return false;
    if (!needTemplate) {
        writer.Keep();
        return true;
    }
    return WriteTemplate(writer, picture);
}
