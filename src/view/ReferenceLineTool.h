#pragma once

#include "view/Tool.h"

#include <QLineF>

#include <functional>
#include <optional>

// Drags one straight line on the picture: the reference whose real length
// the user then types. The press starts it, the drag shows it inverted, the
// release hands it on in picture pixels; Escape abandons it, and so does a
// release where it was pressed. Either way the tool reports once.
class CReferenceLineTool : public CTool
{
public:
    using Done = std::function<void(std::optional<QLineF> pictureLine)>;

    CReferenceLineTool();
    // Told of the line, or of nothing when it is abandoned.
    void SetDone(Done done) { m_done = std::move(done); }

    void OnLButtonDown(unsigned flags, int x, int y) override;
    void OnMouseMove(unsigned flags, int x, int y) override;
    void OnLButtonUp(unsigned flags, int x, int y) override;
    bool OnCancel() override;
    void DrawFeedback(QPainter& painter) override;

private:
    void Report(std::optional<QLineF> line);

    Done m_done;
    QPointF m_ptEnd;
    bool m_bShown = false;
};
