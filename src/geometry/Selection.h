#pragma once

#include "geometry/Polygon.h"

#include <QPainterPath>
#include <QRectF>

#include <memory>
#include <vector>

// The document's current selection: a polygon set in picture pixels, fixed
// at construction. Its drawing path and bounds are worked out once then, so
// an outline with thousands of holes costs nothing to draw again; copies
// share them. A different selection is a new value: nothing edits one in
// place.
class CSelection
{
public:
    // The empty selection.
    CSelection();
    explicit CSelection(CPolygon polygon);

    const CPolygon& GetPolygon() const { return m_data->polygon; }
    bool IsEmpty() const { return m_data->polygon.IsEmpty(); }

    // The outline as PolygonToPath makes it: whole-pixel vertices, each
    // contour a closed figure, even-odd fill.
    const QPainterPath& GetPath() const { return m_data->path; }
    // The path's bounds in picture pixels; null when it has no vertex.
    QRectF GetBounds() const { return m_data->bounds; }
    // How many vertices the contours hold, all told.
    std::size_t VertexCount() const { return m_data->vertices; }

    // The contours with a finite vertex whose bounds meet rect (edges
    // included), by index, in order.
    std::vector<std::size_t> ContoursMeeting(const QRectF& rect) const;
    // The path of only those contours, the same figures as the whole path
    // has for them; the whole path, shared, when all of them meet rect.
    QPainterPath PathWithin(const QRectF& rect) const;

    // How much outline the contours meeting rect have inside within: the
    // sum of their bounds' width and height cut to within, in picture
    // pixels. A measure of the work of stroking them, not a length.
    double ExtentMeeting(const QRectF& rect, const QRectF& within) const;

    // Whether both are copies of one value, sharing its path.
    bool SharesDataWith(const CSelection& other) const { return m_data == other.m_data; }

    bool operator==(const CSelection& other) const
    {
        return m_data == other.m_data || m_data->polygon == other.m_data->polygon;
    }

private:
    struct ContourBox
    {
        QRectF rect;
        // Whether the contour has a finite vertex; the path leaves out
        // those without.
        bool drawn = false;
    };
    struct Data
    {
        CPolygon polygon;
        QPainterPath path;
        QRectF bounds;
        // Per contour, in the polygon's order.
        std::vector<ContourBox> contours;
        std::size_t vertices = 0;
    };

    static std::shared_ptr<const Data> Build(CPolygon polygon);

    std::shared_ptr<const Data> m_data;
};
