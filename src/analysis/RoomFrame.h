#pragma once

#include "analysis/LineSegment.h"
#include "analysis/PlaneFromVanishing.h"
#include "analysis/VanishingPointFinder.h"

#include <QSize>

#include <optional>
#include <vector>

// A room is mostly three directions square to each other: the uprights
// (walls' corners, door and window frames, furniture's edges) and two
// level ones (the walls' feet, skirting, joints, furniture square to the
// room). From the vanishing points of a whole picture's lines this finds
// the uprights' point, the focal length the level points agree on, and
// the planes an area may lie on: level (a floor), whose normal is the
// uprights' direction, or upright (a wall), through the uprights and one
// level direction. A floor without joints then gets its plane from the
// room around it.
class CRoomFrame
{
public:
    enum class ESurface { Auto, Floor, Wall };

    struct SInput
    {
        const std::vector<CLineSegment>* segments = nullptr;  // picture pixels
        const std::vector<char>* onArea = nullptr;           // per segment
        const std::vector<CVanishingFamily>* families = nullptr;
        QSize picture;
        std::optional<double> focal;  // given by the user: wins
        double typicalFocal = 0.0;    // taken when the lines cannot tell
        ESurface surface = ESurface::Auto;
    };

    // A plane the area may lie on, most likely first.
    struct SPlane
    {
        CPlaneFromVanishing plane;
        // The family behind each of the plane's points as they are listed
        // (its rows, its columns, and for a floor the uprights); none where
        // a point was only made square to the others.
        std::vector<std::optional<std::size_t>> families;
        double focal = 0.0;
        bool focalAssumed = false;
        bool wall = false;
    };

    // Nothing when the picture shows no uprights to build on.
    static std::vector<SPlane> Planes(const SInput& input);

    // The family of uprights among families, if any.
    static std::optional<std::size_t> Uprights(const SInput& input);
};
