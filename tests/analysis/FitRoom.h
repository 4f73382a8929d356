#pragma once

#include "RoomScene.h"

#include "geometry/Homography.h"
#include "geometry/Polygon.h"

#include <QImage>

#include <string>

// A rendered room the perspective fit is measured on: the scene and its
// camera, which area the user outlines (the floor or a wall), and the truth
// that follows from the camera.
class CFitRoom
{
public:
    std::string name;
    std::string material;  // for the reports
    std::string features;
    CRoomScene scene;
    int wall = -1;         // the area: the floor (-1) or this wall
    int shownWall = CRoomScene::kBack;  // a floor room's wall in view
    int jpegQuality = 0;   // above 0: the photograph goes through JPEG at it

    struct SRendered
    {
        QImage picture;    // what the fit gets
        QImage floorMask;  // white: floor
        QImage wallMask;   // white: the wall shown (the area's, else one in view)
        QImage rugMask;    // white: a rug on the floor (null without rugs)
        CPolygon outline;  // the area as the user outlines it on the picture
        double seconds = 0;
    };
    // samples: per pixel along each axis, 0 for the room's own.
    SRendered Render(int threads, int samples = 0) const;
    // Rendered on all cores once per test program, the room known by its
    // name and the samples. With TILEMONT_FIT_DUMP set to a folder, the
    // picture, the masks, the outline drawn on the picture and the truth go
    // there as well (of the room's own renders).
    const SRendered& Rendered(int samples = 0) const;

    bool IsWall() const { return wall >= 0; }
    // The wall whose mask and map every room gives: the area's, or for a
    // floor the wall in view.
    int WallShown() const { return IsWall() ? wall : shownWall; }
    const QImage& AreaMask(const SRendered& r) const { return IsWall() ? r.wallMask : r.floorMask; }
    // The area's plane coordinates (floor x, z; a wall's along, up) to
    // undistorted picture pixels.
    CHomography Truth() const;
    CHomography FloorTruth() const { return CHomography(scene.FloorToPicture()); }
    CHomography WallTruth() const { return CHomography(scene.WallToPicture(WallShown())); }
    double Focal() const { return scene.camera.Focal(); }
    // The outline taken to the undistorted picture, where the fit's corners
    // lie.
    CPolygon Undistorted(const CPolygon& outline) const;

    // A mask's outline as a user's careful tracing gives it: the parts of
    // the area big enough to matter (a sliver of floor seen between chair
    // legs is left out), pixel edge by pixel edge.
    static CPolygon Outline(const QImage& mask);

private:
    void Dump(const SRendered& r, const QString& folder) const;
};
