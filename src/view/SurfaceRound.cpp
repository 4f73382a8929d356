#include "view/SurfaceRound.h"

#include "geometry/PolygonClip.h"

void CSurfaceRound::Start(qint64 picture, CPolygon before, bool ctrl, bool shift, SSurfaceMark first)
{
    End();
    m_picture = picture;
    m_before = std::move(before);
    m_ctrl = ctrl;
    m_shift = shift;
    m_marks.push_back(std::move(first));
}

bool CSurfaceRound::Resume(qint64 picture, const CPolygon& selection)
{
    if (!IsOpen())
        return false;  // an ended round's change stays droppable
    if (picture != m_picture) {
        End();
        return false;
    }
    // The latest result the selection still is: later marks were undone.
    // At the latest one, marks still being solved stay.
    for (std::size_t n = m_results.size(); n > 0; --n)
        if (m_results[n - 1] && *m_results[n - 1] == selection) {
            if (n < m_results.size()) {
                m_marks.resize(n);
                m_results.resize(n);
            }
            return true;
        }
    End();
    return false;
}

void CSurfaceRound::DropLast()
{
    if (!m_marks.empty())
        m_marks.pop_back();
    if (m_results.size() > m_marks.size())
        m_results.resize(m_marks.size());
}

CPolygon CSurfaceRound::Combine(CPolygon region) const
{
    if (!m_ctrl && !m_shift)
        return region;
    return PolygonClip(m_ctrl ? ClipOp::Difference : ClipOp::Union, m_before, region);
}

void CSurfaceRound::Record(const CPolygon& selection)
{
    if (m_marks.empty())
        return;
    m_results.resize(m_marks.size() - 1);
    m_results.push_back(selection);
}

bool CSurfaceRound::IsAt(const CPolygon& selection) const
{
    for (auto it = m_results.rbegin(); it != m_results.rend(); ++it)
        if (*it)
            return **it == selection;
    return false;
}

void CSurfaceRound::End(bool keepUndo)
{
    m_undoTo.reset();
    m_undoFrom.reset();
    if (keepUndo && IsOpen() && !m_results.empty()) {
        m_undoTo = m_before;
        for (auto it = m_results.rbegin(); it != m_results.rend() && !m_undoFrom; ++it)
            m_undoFrom = *it;
    }
    m_marks.clear();
    m_results.clear();
}

std::optional<CPolygon> CSurfaceRound::Drop(const CPolygon& selection)
{
    std::optional<CPolygon> to;
    if (m_undoFrom && *m_undoFrom == selection)
        to = std::move(m_undoTo);
    m_undoTo.reset();
    m_undoFrom.reset();
    return to;
}
