#pragma once

#include "catalogue/CatalogueManifest.h"
#include "document/TemplateFile.h"

#include <QSize>
#include <QString>
#include <QtGlobal>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

// A room of the plan, its template opened once to check it.
struct CPlannedRoom
{
    QString templatePath;
    // The template's file title: the name of the room's output folder.
    QString title;
    // The area the textures go into, by its place in the template's list.
    std::size_t area = 0;
    QSize picture;
    QSize output;
    // The template as the check opened it, kept for rendering while the
    // pictures kept stay within a budget (null past it, and once let go):
    // opening each template once saves every process of a split run that
    // time again.
    std::shared_ptr<const CTemplateData> opened;
};

// One image to make: a texture laid into a room.
struct CPlannedImage
{
    std::size_t room = 0;
    QString texture;
    qint64 cost = 0;
};

// Every image of a catalogue, in a fixed order (rooms as the manifest
// lists them, each room's textures as listed, a folder's files sorted by
// name) with the cost of each estimated, so that any number of processes
// can split the work between them alike.
class CCataloguePlan
{
public:
    // The size of the images written for a picture of the given size.
    using OutputSize = std::function<QSize(QSize picture)>;

    // Opens every template of the manifest and lists every texture, or
    // returns nothing with one sentence per fault in errors: a template
    // that cannot be opened or has no picture, an area it lacks, a texture
    // file named in the manifest that is no picture, and two textures of a
    // room whose images would have the same name.
    // extension names the format written, which weighs in the costs.
    static std::optional<CCataloguePlan> Make(const CCatalogueManifest& manifest, const OutputSize& outputSize,
                                              const QString& extension, std::vector<QString>* errors);

    const std::vector<CPlannedRoom>& Rooms() const { return m_rooms; }
    const std::vector<CPlannedImage>& Images() const { return m_images; }

    // The images of slice index (0-based) of count, in plan order.
    std::vector<std::size_t> Slice(int index, int count) const;

    // Lets go of the opened template of a room, whose rendering is done or
    // not needed.
    void Release(std::size_t room) { m_rooms[room].opened.reset(); }

private:
    std::vector<CPlannedRoom> m_rooms;
    std::vector<CPlannedImage> m_images;
};
