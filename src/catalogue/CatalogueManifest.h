#pragma once

#include <QString>
#include <optional>
#include <vector>

// A path as the manifest writes it (relative to the manifest, for messages)
// and as it is opened.
struct CManifestPath
{
    QString written;
    QString path;
};

// One room of a catalogue: a template, the area the textures go into and
// what is laid into it, texture files and folders (every file directly in
// a folder, as a texture group).
struct CCatalogueRoom
{
    CManifestPath templateFile;
    QString area;
    std::vector<CManifestPath> textures;
};

// The list of rooms a catalogue renders, read from a JSON file:
// {"rooms": [{"template": "rooms/kitchen.tlm", "area": "Floor",
//             "textures": ["textures/tiles", "textures/wood/oak.jpg"]}]}
// with paths relative to the file. Everything that can be told without
// opening a template is checked here, so that a mistake is found before
// any image is rendered rather than hours into a run.
class CCatalogueManifest
{
public:
    // The manifest at path, or nothing; then errors holds one sentence per
    // fault found, each naming the manifest and the place in it
    // ("manifest.json: rooms[2].textures[1]: ...").
    static std::optional<CCatalogueManifest> Read(const QString& path, std::vector<QString>* errors);

    const std::vector<CCatalogueRoom>& Rooms() const { return m_rooms; }

    // A fault at a place in this manifest, as Read words its own.
    QString Fault(const QString& place, const QString& sentence) const;
    static QString RoomPlace(std::size_t room);
    static QString TexturePlace(std::size_t room, std::size_t texture);

private:
    explicit CCatalogueManifest(const QString& name) : m_name(name) {}

    QString m_name;
    std::vector<CCatalogueRoom> m_rooms;
};
