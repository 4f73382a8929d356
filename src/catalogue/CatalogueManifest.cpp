#include "catalogue/CatalogueManifest.h"

#include "catalogue/TextureCatalogue.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>

namespace {

// Far beyond any list of rooms a person or a script writes; a larger file
// is no manifest and is not read into memory.
constexpr qint64 kMaxManifestBytes = 64 << 20;

const QStringList kRoomKeys{QStringLiteral("template"), QStringLiteral("area"), QStringLiteral("textures")};

QString Quoted(const QString& text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// Collects the faults of one reading.
class CFaults
{
public:
    CFaults(const CCatalogueManifest& manifest, std::vector<QString>* errors) : m_manifest(manifest), m_errors(errors)
    {
    }
    void Add(const QString& place, const QString& sentence)
    {
        ++m_count;
        if (m_errors)
            m_errors->push_back(m_manifest.Fault(place, sentence));
    }
    int Count() const { return m_count; }

private:
    const CCatalogueManifest& m_manifest;
    std::vector<QString>* m_errors;
    int m_count = 0;
};

// A non-empty string at key of object, or nothing once the fault is added.
std::optional<QString> ReadString(const QJsonObject& object, const QString& key, const QString& place, CFaults& faults)
{
    const QJsonValue value = object.value(key);
    if (value.isUndefined()) {
        faults.Add(place, QStringLiteral("%1 is missing.").arg(Quoted(key)));
    } else if (!value.isString()) {
        faults.Add(place + QLatin1Char('.') + key, QStringLiteral("a string is expected."));
    } else if (value.toString().isEmpty()) {
        faults.Add(place + QLatin1Char('.') + key, QStringLiteral("the text is empty."));
    } else {
        return value.toString();
    }
    return std::nullopt;
}

} // namespace

QString CCatalogueManifest::Fault(const QString& place, const QString& sentence) const
{
    return place.isEmpty() ? QStringLiteral("%1: %2").arg(m_name, sentence)
                           : QStringLiteral("%1: %2: %3").arg(m_name, place, sentence);
}

QString CCatalogueManifest::RoomPlace(std::size_t room)
{
    return QStringLiteral("rooms[%1]").arg(room);
}

QString CCatalogueManifest::TexturePlace(std::size_t room, std::size_t texture)
{
    return QStringLiteral("rooms[%1].textures[%2]").arg(room).arg(texture);
}

std::optional<CCatalogueManifest> CCatalogueManifest::Read(const QString& path, std::vector<QString>* errors)
{
    CCatalogueManifest manifest(QDir::toNativeSeparators(path));
    CFaults faults(manifest, errors);
    QFile file(path);
    if (!QFileInfo(path).isFile()) {
        faults.Add({}, QStringLiteral("the file does not exist."));
        return std::nullopt;
    }
    if (file.size() > kMaxManifestBytes) {
        faults.Add({}, QStringLiteral("the file is too large to be a manifest."));
        return std::nullopt;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        faults.Add({}, QStringLiteral("the file could not be opened: %1.").arg(file.errorString()));
        return std::nullopt;
    }
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        faults.Add({}, QStringLiteral("not JSON (%1 at character %2).").arg(parseError.errorString()).arg(parseError.offset));
        return std::nullopt;
    }
    if (!doc.isObject()) {
        faults.Add({}, QStringLiteral("an object with \"rooms\" is expected."));
        return std::nullopt;
    }
    const QJsonObject top = doc.object();
    for (auto it = top.begin(); it != top.end(); ++it)
        if (it.key() != QLatin1String("rooms"))
            faults.Add({}, QStringLiteral("%1 is not a key of a manifest (only \"rooms\" is).").arg(Quoted(it.key())));
    const QJsonValue rooms = top.value(QLatin1String("rooms"));
    if (rooms.isUndefined()) {
        faults.Add({}, QStringLiteral("\"rooms\" is missing."));
        return std::nullopt;
    }
    if (!rooms.isArray()) {
        faults.Add(QStringLiteral("rooms"), QStringLiteral("a list is expected."));
        return std::nullopt;
    }
    if (rooms.toArray().isEmpty())
        faults.Add(QStringLiteral("rooms"), QStringLiteral("the list is empty."));

    const QDir base = QFileInfo(path).absoluteDir();
    const auto resolve = [&](const QString& written) {
        return CManifestPath{written, QDir::cleanPath(base.absoluteFilePath(written))};
    };
    // Each room's images go into a folder named after its template.
    QMap<QString, std::size_t> titles;
    const QJsonArray list = rooms.toArray();
    for (qsizetype r = 0; r < list.size(); ++r) {
        const std::size_t index = static_cast<std::size_t>(r);
        const QString place = RoomPlace(index);
        if (!list[r].isObject()) {
            faults.Add(place, QStringLiteral("an object is expected."));
            continue;
        }
        const QJsonObject object = list[r].toObject();
        for (auto it = object.begin(); it != object.end(); ++it)
            if (!kRoomKeys.contains(it.key()))
                faults.Add(place, QStringLiteral("%1 is not a key of a room (\"template\", \"area\", \"textures\").")
                                      .arg(Quoted(it.key())));
        CCatalogueRoom room;
        if (const auto written = ReadString(object, QStringLiteral("template"), place, faults)) {
            room.templateFile = resolve(*written);
            const QFileInfo info(room.templateFile.path);
            const QString title = TextureCatalogue::GetFileTitle(room.templateFile.path);
            if (!info.exists()) {
                faults.Add(place + QStringLiteral(".template"), QStringLiteral("%1 does not exist.").arg(Quoted(*written)));
            } else if (info.isDir()) {
                faults.Add(place + QStringLiteral(".template"),
                           QStringLiteral("%1 is a folder, not a template.").arg(Quoted(*written)));
            } else if (titles.contains(title)) {
                faults.Add(place + QStringLiteral(".template"),
                           QStringLiteral("%1 has the file title \"%2\" of %3: each room's images go into a folder "
                                          "named after its template, so each needs a title of its own.")
                               .arg(Quoted(*written), title, RoomPlace(titles.value(title))));
            } else {
                titles.insert(title, index);
            }
        }
        if (const auto area = ReadString(object, QStringLiteral("area"), place, faults))
            room.area = *area;
        const QJsonValue textures = object.value(QLatin1String("textures"));
        if (textures.isUndefined()) {
            faults.Add(place, QStringLiteral("\"textures\" is missing."));
        } else if (!textures.isArray()) {
            faults.Add(place + QStringLiteral(".textures"), QStringLiteral("a list is expected."));
        } else if (textures.toArray().isEmpty()) {
            faults.Add(place + QStringLiteral(".textures"), QStringLiteral("the list is empty."));
        }
        const QJsonArray textureList = textures.toArray();
        for (qsizetype t = 0; t < textureList.size(); ++t) {
            const QString texturePlace = TexturePlace(index, static_cast<std::size_t>(t));
            if (!textureList[t].isString() || textureList[t].toString().isEmpty()) {
                faults.Add(texturePlace, textureList[t].isString() ? QStringLiteral("the text is empty.")
                                                                   : QStringLiteral("a string is expected."));
                continue;
            }
            const CManifestPath texture = resolve(textureList[t].toString());
            if (!QFileInfo::exists(texture.path))
                faults.Add(texturePlace, QStringLiteral("%1 does not exist.").arg(Quoted(texture.written)));
            room.textures.push_back(texture);
        }
        manifest.m_rooms.push_back(std::move(room));
    }
    if (faults.Count() > 0)
        return std::nullopt;
    return manifest;
}
