#include "geometry/Selection.h"

#include <algorithm>
#include <cmath>

namespace
{

// Edges count as meeting, so a contour that is a straight line (no area,
// yet drawn) is not dropped.
bool Meets(const QRectF& a, const QRectF& b)
{
    return a.left() <= b.right() && b.left() <= a.right() && a.top() <= b.bottom() && b.top() <= a.bottom();
}

} // namespace

CSelection::CSelection()
{
    // One shared empty value, so empty selections cost no allocation.
    static const std::shared_ptr<const Data> empty = Build(CPolygon());
    m_data = empty;
}

CSelection::CSelection(CPolygon polygon) : m_data(Build(std::move(polygon)))
{
}

std::shared_ptr<const CSelection::Data> CSelection::Build(CPolygon polygon)
{
    auto data = std::make_shared<Data>();
    data->polygon = std::move(polygon);
    PolygonToPath(data->polygon, data->path);
    if (data->path.elementCount() > 0)
        data->bounds = data->path.controlPointRect();
    // Measured on the vertices as the path has them.
    data->contours.reserve(data->polygon.contours.size());
    for (const CContour& contour : data->polygon.contours) {
        ContourBox box;
        for (const QPointF& v : contour) {
            if (!std::isfinite(v.x()) || !std::isfinite(v.y()))
                continue;
            // Not QRectF::united: it passes over rectangles without area.
            const QPointF p = PixelVertex(v);
            if (!box.drawn)
                box.rect = QRectF(p, p);
            box.rect.setLeft(std::min(box.rect.left(), p.x()));
            box.rect.setRight(std::max(box.rect.right(), p.x()));
            box.rect.setTop(std::min(box.rect.top(), p.y()));
            box.rect.setBottom(std::max(box.rect.bottom(), p.y()));
            box.drawn = true;
        }
        data->contours.push_back(box);
        data->vertices += contour.size();
    }
    return data;
}

std::vector<std::size_t> CSelection::ContoursMeeting(const QRectF& rect) const
{
    std::vector<std::size_t> meeting;
    const std::vector<ContourBox>& boxes = m_data->contours;
    for (std::size_t i = 0; i < boxes.size(); ++i)
        if (boxes[i].drawn && Meets(boxes[i].rect, rect))
            meeting.push_back(i);
    return meeting;
}

double CSelection::ExtentMeeting(const QRectF& rect, const QRectF& within) const
{
    double extent = 0.0;
    for (const ContourBox& box : m_data->contours) {
        if (!box.drawn || !Meets(box.rect, rect))
            continue;
        const double w = std::min(box.rect.right(), within.right()) - std::max(box.rect.left(), within.left());
        const double h = std::min(box.rect.bottom(), within.bottom()) - std::max(box.rect.top(), within.top());
        extent += std::max(w, 0.0) + std::max(h, 0.0);
    }
    return extent;
}

QPainterPath CSelection::PathWithin(const QRectF& rect) const
{
    const std::vector<std::size_t> meeting = ContoursMeeting(rect);
    const std::vector<ContourBox>& boxes = m_data->contours;
    const auto drawn = std::count_if(boxes.begin(), boxes.end(), [](const ContourBox& box) { return box.drawn; });
    if (std::ptrdiff_t(meeting.size()) == drawn)
        return m_data->path;
    // Each figure is drawn on its own, its dashes starting afresh, so
    // leaving the others out changes nothing where these are drawn.
    CPolygon within;
    within.contours.reserve(meeting.size());
    for (const std::size_t i : meeting)
        within.contours.push_back(m_data->polygon.contours[i]);
    QPainterPath path;
    PolygonToPath(within, path);
    return path;
}
