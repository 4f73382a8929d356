#pragma once

#include "panels/PreparedSwatch.h"
#include "panels/ThumbnailCache.h"
#include "panels/ThumbnailNotification.h"

#include <QAbstractScrollArea>
#include <QPixmap>
#include <QString>

#include <memory>

class CSwatchLoader;
class CThumbnailLayout;
class QPainter;

// A scrolling grid of same-sized cells, one per file of one folder. Every
// file ever shown keeps its rendered cell for the life of the control, so
// going back to a folder redraws from memory. Cells are rendered when they
// first come into view; subclasses that can prepare them off the UI thread
// (SwatchJob) keep large folders of large files from stalling the window.
class CThumbnailList : public QAbstractScrollArea
{
    Q_OBJECT

public:
    static constexpr int kDefaultControlId = 103;

    explicit CThumbnailList(QWidget* parent = nullptr);
    ~CThumbnailList() override;

    // Takes effect for cells rendered from now on; nothing is repainted and
    // cells already rendered keep their size.
    void SetCellSize(int width, int height);
    void ClearList();
    // Shows the files of folder accepted by mask, sorted by name; a missing
    // or empty folder shows an empty grid.
    void LoadFolder(const QString& folder, const QString& mask);

    int FocusedPosition() const { return m_nFocus; }
    int Count() const { return m_cache.Count(); }
    QString PathAt(int position) const { return m_cache.IsShown(position) ? m_cache.At(position).path : QString(); }
    int CellWidth() const { return m_nCellWidth; }
    int CellHeight() const { return m_nCellHeight; }
    int ScrollOffset() const { return m_nOffset; }
    QString Folder() const { return m_strFolder; }
    QString Mask() const { return m_strMask; }
    QRect CellRect(int position) const;
    int HitTest(QPoint point) const;
    // Cells being prepared on a worker and not yet handed back.
    int PendingSwatches() const;
    // The rendered cell of position, null until it has been rendered.
    QPixmap SwatchAt(int position, bool selected) const
    {
        if (!m_cache.IsShown(position))
            return QPixmap();
        return selected ? m_cache.At(position).selected : m_cache.At(position).normal;
    }

    // Renders path's cell onto both canvases (the size of the cell, in the
    // screen's pixels: their painters work in the cell's own units), on the
    // UI thread; false when the file cannot be shown.
    virtual bool DrawCell(QPainter& normal, QPainter& selected, const QString& path) = 0;

    int ControlId() const { return m_nControlId; }
    void SetControlId(int id) { m_nControlId = id; }

signals:
    void notified(const CThumbnailNotification& notification);

protected:
    // Whether names sort without regard to case and captions are lower case.
    virtual bool LowerCaseNames(const QString&) const { return true; }
    // The slow part of rendering, to run on a worker, for a cell of pixels
    // screen pixels; an empty job makes the cell render synchronously
    // through DrawCell.
    virtual CSwatchJob SwatchJob(const QString&, QSize) const { return {}; }
    // Renders from what the job prepared, on the UI thread.
    virtual bool DrawPreparedCell(QPainter& normal, QPainter& selected, const QString& path,
                                  const CPreparedSwatch& prepared);
    // The caption under a cell: the file title, lower case when names are.
    QString Caption(const QString& path) const;

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool viewportEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    using EState = CThumbnailCache::EState;
    using CEntry = CThumbnailCache::CEntry;

    CThumbnailLayout Layout() const;
    void UpdateScrollBar();
    void ChangeSelection(int to);
    void ScrollFocusIntoView();
    void OnClick(QMouseEvent* event);
    void RequestSwatches(const QRect& area);
    void RenderEntry(int index, QSize cell, const CPreparedSwatch* prepared);
    void OnSwatchReady(int index, QSize cell, const CPreparedSwatch& prepared);
    void CancelQueuedSwatches();

    CThumbnailCache m_cache;
    int m_nFocus = -1;
    int m_nOffset = 0;
    int m_nCellWidth = 50;
    int m_nCellHeight = 50;
    int m_nControlId = kDefaultControlId;
    bool m_bLayingOut = false;
    QString m_strFolder;
    QString m_strMask;
    std::unique_ptr<CSwatchLoader> m_pLoader;
};
