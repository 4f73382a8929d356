#pragma once

#include "document/AreaEditCommand.h"
#include "view/Tool.h"

#include <QPainterPath>
#include <QString>

#include <array>
#include <memory>

class CDragWarpPreview;

// The common part of the two corner-handle tools: the pointer's picture
// point, the hover test over the four handles, the corner drag and its
// finish. Each move of a drag changes the area in the document, and the
// whole drag, finish included, is one step of the history. The handles
// follow the pointer in the frame after each move; the warp the area shows
// follows as fast as it is built (see CDragWarpPreview).
class CHandleTool : public CTool
{
public:
    using Corners = std::array<QPoint, 4>;
    // Half the handle mark's size: the hit tolerance in screen pixels.
    static constexpr int kHalfMark = 4;
    // The live warp while a corner moves holds about this many pixels, so
    // that it keeps up with the pointer; the release makes the exact one.
    static constexpr qint64 kPreviewPixels = 400000;

    ~CHandleTool() override;

    void SetArea(AreaId area) override;
    void InvalidateOutline() override;
    void OnLButtonDown(unsigned flags, int x, int y) override;
    void OnMouseMove(unsigned flags, int x, int y) override;
    void OnLButtonUp(unsigned flags, int x, int y) override;
    void DrawFeedback(QPainter& painter) override;
    bool GetHandleDrag(Corners& pressCorners, int& grabbed) const override;

    AreaId GetArea() const { return m_nArea; }
    int GetGrabbedCorner() const { return m_nGrabbed; }
    // The warp that follows the drag (tests hold up its worker).
    CDragWarpPreview& Preview() const { return *m_pPreview; }

protected:
    CHandleTool(int mergeKey, const QString& stepName);

    // The four corners in the order top-left, top-right, bottom-left,
    // bottom-right, and writing them back.
    virtual Corners CornersOf(const CArea& area) const = 0;
    virtual void StoreCorners(CArea& area, const Corners& corners) const = 0;
    virtual void MoveCorner(Corners& corners, int corner, QPoint to) const { corners[std::size_t(corner)] = to; }
    // What binding the tool to an area gives it when it has no corners yet.
    virtual void PrepareArea(CArea& area) const = 0;
    // What the release does to the area.
    virtual void Finish(CArea& area) const = 0;
    // The drag's feedback at client corners, and the region it covers.
    virtual void DrawDrag(QPainter& painter, const Corners& client, int corner) const = 0;
    virtual QRegion DragRegion(const Corners& client, int corner) const = 0;
    // Whether the area shows its warp in this window: while its corners are
    // edited only when previewed, otherwise when the skew is applied.
    bool ShowsWarp(const CArea& area) const;

private:
    // The handle marks at client corners, where a drag's frame repaints them.
    static QRegion MarksRegion(const Corners& client);
    // The drag's preview for an area with these corners is there at once or
    // on its way; the window redraws it when it comes.
    void PreviewWarp(const CArea& area);
    void OnPreviewKept(AreaId id, const CAreaWarpInputs& inputs);
    // The closed outline through the corners (top-left, top-right,
    // bottom-right, bottom-left), in picture pixels.
    static QPainterPath OutlinePath(const Corners& corners);
    const CArea* Area() const;
    QPoint PicturePoint(int x, int y) const;
    Corners ClientCorners(const Corners& picture) const;
    void HoverTest(QPoint picture);

    int m_nMergeKey;
    QString m_strStep;
    AreaId m_nArea = 0;
    int m_nGrabbed = -1;
    QPainterPath m_remembered;
    Corners m_pressCorners{};
    Corners m_dragCorners{};
    bool m_bDragging = false;
    bool m_bMoved = false;
    std::unique_ptr<CDragWarpPreview> m_pPreview;
};
