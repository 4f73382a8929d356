#include "panels/ThumbnailList.h"

#include "panels/SwatchLoader.h"
#include "panels/ThumbnailArt.h"
#include "panels/ThumbnailLayout.h"
#include "catalogue/ProductSidecar.h"
#include "catalogue/TextureCatalogue.h"

#include <QFileInfo>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>

#include <algorithm>
#include <optional>

CThumbnailList::CThumbnailList(QWidget* parent)
    : QAbstractScrollArea(parent),
      m_pLoader(std::make_unique<CSwatchLoader>(
          [this](int index, QSize cell, const CPreparedSwatch& prepared) { OnSwatchReady(index, cell, prepared); }))
{
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setAcceptDrops(false);
    viewport()->setAcceptDrops(false);
    // Every paint fills its whole region first: nothing to erase beforehand.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setAccessibleName(tr("Textures"));
    UpdateScrollBar();
}

// The loader goes first: it waits for jobs in flight, whose deliveries are
// then discarded with it.
CThumbnailList::~CThumbnailList()
{
    m_pLoader.reset();
}

void CThumbnailList::SetCellSize(int width, int height)
{
    m_nCellWidth = std::max(1, width);
    m_nCellHeight = std::max(1, height);
    m_nOffset = verticalScrollBar()->value() * m_nCellHeight;
    UpdateScrollBar();
}

void CThumbnailList::ClearList()
{
    CancelQueuedSwatches();
    m_cache.Hide();
    m_nFocus = -1;
    m_strFolder.clear();
    m_strMask.clear();
    verticalScrollBar()->setValue(0);
    UpdateScrollBar();
    viewport()->update();
}

void CThumbnailList::LoadFolder(const QString& folder, const QString& mask)
{
    ClearList();
    m_strFolder = folder;
    m_strMask = mask;
    QStringList files;
    TextureCatalogue::ListFolderEntries(folder, &files, nullptr, false, true, true, mask);
    // A group's list of products describes its pictures and is none.
    files.removeIf([](const QString& path) { return ProductSidecar::IsSidecar(path); });
    std::vector<std::pair<QString, QString>> keyed;
    keyed.reserve(size_t(files.size()));
    for (const QString& path : files)
        keyed.emplace_back(LowerCaseNames(path) ? path.toLower() : path, path);
    m_cache.Show(std::move(keyed));
    UpdateScrollBar();
    viewport()->update();
}

QRect CThumbnailList::CellRect(int position) const
{
    return Layout().CellRect(position);
}

int CThumbnailList::HitTest(QPoint point) const
{
    return Layout().HitTest(point);
}

int CThumbnailList::PendingSwatches() const
{
    return m_pLoader->Pending();
}

bool CThumbnailList::DrawPreparedCell(QPainter& normal, QPainter& selected, const QString& path,
                                      const CPreparedSwatch&)
{
    return DrawCell(normal, selected, path);
}

QString CThumbnailList::Caption(const QString& path) const
{
    const QString title = TextureCatalogue::GetFileTitle(path);
    return LowerCaseNames(path) ? title.toLower() : title;
}

CThumbnailLayout CThumbnailList::Layout() const
{
    return CThumbnailLayout(viewport()->size(), QSize(m_nCellWidth, m_nCellHeight), Count(), m_nOffset);
}

void CThumbnailList::UpdateScrollBar()
{
    // Showing or hiding the bar resizes the viewport, and the resize comes
    // back here with the new column count. It settles: the bar only narrows
    // the viewport, which never shortens the range, so it cannot hide itself
    // again. The guard covers styles that resize at once, inside setRange.
    if (m_bLayingOut)
        return;
    m_bLayingOut = true;
    const CThumbnailLayout layout = Layout();
    QScrollBar* bar = verticalScrollBar();
    bar->setSingleStep(1);
    bar->setPageStep(layout.VisibleRows());
    bar->setRange(0, layout.MaxTopRow());
    m_bLayingOut = false;
}

void CThumbnailList::scrollContentsBy(int, int)
{
    const int offset = verticalScrollBar()->value() * m_nCellHeight;
    const int delta = m_nOffset - offset;
    m_nOffset = offset;
    if (delta != 0)
        viewport()->scroll(0, delta);
}

void CThumbnailList::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBar();
    viewport()->update();
}

void CThumbnailList::paintEvent(QPaintEvent* event)
{
    const QRect area = event->rect();
    RequestSwatches(area);
    const CThumbnailLayout layout = Layout();
    const QPalette& colours = palette();
    QPainter painter(viewport());
    painter.fillRect(area, colours.color(QPalette::Window));
    for (int position = layout.FirstPainted(); position < layout.EndPainted(); ++position) {
        const QRect cell = layout.CellRect(position);
        if (!cell.intersects(area))
            continue;
        const CEntry& entry = m_cache.At(position);
        if (entry.state == EState::Ready) {
            painter.drawPixmap(cell.topLeft(), position == m_nFocus ? entry.selected : entry.normal);
        } else {
            ThumbnailArt::DrawLoadingCell(painter, cell, Caption(entry.path), colours);
        }
    }
    const QRect focus = layout.CellRect(m_nFocus);
    if (focus.intersects(area))
        ThumbnailArt::DrawFocusFrame(painter, focus);
}

void CThumbnailList::RequestSwatches(const QRect& area)
{
    const CThumbnailLayout layout = Layout();
    const QSize cell(m_nCellWidth, m_nCellHeight);
    // Cells are rendered in the screen's pixels; the job prepares as many
    // picture pixels as the cell has screen pixels.
    const qreal scale = devicePixelRatioF();
    const QSize pixels = (QSizeF(cell) * scale).toSize();
    std::vector<std::pair<int, CSwatchJob>> jobs;
    for (int position = layout.FirstPainted(); position < layout.EndPainted(); ++position) {
        const int index = m_cache.IndexAt(position);
        CEntry& entry = m_cache.Entry(index);
        // A window moved to a screen of another scale renders its cells anew.
        if (entry.state == EState::Ready && entry.normal.devicePixelRatio() != scale)
            entry.state = EState::Blank;
        if (entry.state != EState::Blank || !layout.CellRect(position).intersects(area))
            continue;
        if (CSwatchJob job = SwatchJob(entry.path, pixels)) {
            entry.state = EState::Loading;
            jobs.emplace_back(index, std::move(job));
        } else {
            RenderEntry(index, cell, nullptr);
        }
    }
    // The loader serves the newest request first; queued backwards, the
    // screen fills from its top-left cell.
    for (auto job = jobs.rbegin(); job != jobs.rend(); ++job)
        m_pLoader->Request(job->first, cell, std::move(job->second));
}

void CThumbnailList::RenderEntry(int index, QSize cell, const CPreparedSwatch* prepared)
{
    const qreal scale = devicePixelRatioF();
    QPixmap normal((QSizeF(cell) * scale).toSize()), selected(normal.size());
    normal.setDevicePixelRatio(scale);
    selected.setDevicePixelRatio(scale);
    bool drawn;
    {
        const QString path = m_cache.Entry(index).path;
        QPainter normalPainter(&normal), selectedPainter(&selected);
        drawn = prepared ? DrawPreparedCell(normalPainter, selectedPainter, path, *prepared)
                         : DrawCell(normalPainter, selectedPainter, path);
        if (!drawn)
            ThumbnailArt::DrawCrossedBox(normalPainter, selectedPainter, palette(), cell);
    }
    m_cache.Entry(index) = CEntry{m_cache.Entry(index).path, m_cache.Entry(index).key, normal, selected,
                                  EState::Ready, drawn, prepared && drawn ? prepared->imageSize : QSize()};
}

void CThumbnailList::OnSwatchReady(int index, QSize cell, const CPreparedSwatch& prepared)
{
    if (!m_cache.IsIndex(index) || m_cache.Entry(index).state != EState::Loading)
        return;
    RenderEntry(index, cell, &prepared);
    const int position = m_cache.PositionOf(index);
    if (position >= 0)
        viewport()->update(CellRect(position));
}

void CThumbnailList::CancelQueuedSwatches()
{
    // Unstarted requests are dropped; their cells ask again when next painted.
    for (const int index : m_pLoader->CancelQueued())
        m_cache.Entry(index).state = EState::Blank;
}

void CThumbnailList::ChangeSelection(int to)
{
    if (to < 0 || to >= Count())
        return;
    const int from = m_nFocus;
    m_nFocus = to;
    QRegion dirty(CellRect(to));
    if (from >= 0 && from != to)
        dirty += CellRect(from);
    // Painted before the owner hears of it, as the owner may take a while
    // loading the texture it names.
    viewport()->repaint(dirty & viewport()->rect());
    setAccessibleDescription(QFileInfo(PathAt(to)).fileName());
    const int code = from == to ? CThumbnailNotification::kSameClicked : CThumbnailNotification::kSelChanged;
    emit notified(CThumbnailNotification{this, m_nControlId, code, from, to});
}

void CThumbnailList::ScrollFocusIntoView()
{
    // One row at a time, as far as the range allows; a cell taller than the
    // viewport would otherwise swing back and forth.
    int previous = 0;
    for (int round = 0; round <= Layout().TotalRows(); ++round) {
        const QRect cell = CellRect(m_nFocus);
        const int direction = cell.top() < 0 ? -1 : cell.bottom() >= viewport()->height() ? 1 : 0;
        if (direction == 0 || direction == -previous)
            return;
        const int row = verticalScrollBar()->value();
        verticalScrollBar()->setValue(row + direction);
        if (verticalScrollBar()->value() == row)
            return;
        previous = direction;
    }
}

void CThumbnailList::OnClick(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    ChangeSelection(HitTest(event->position().toPoint()));
    if (event->button() == Qt::RightButton)
        emit notified(CThumbnailNotification{this, m_nControlId, CThumbnailNotification::kRightClick, -1, -1});
}

void CThumbnailList::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton)
        OnClick(event);
    else
        QAbstractScrollArea::mousePressEvent(event);
}

// The press did all there is to do; taken so it goes to no one else.
void CThumbnailList::mouseReleaseEvent(QMouseEvent* event)
{
    event->setAccepted(event->button() == Qt::LeftButton || event->button() == Qt::RightButton);
}

// A double click counts as a second click: the owner sees "same cell clicked".
void CThumbnailList::mouseDoubleClickEvent(QMouseEvent* event)
{
    mousePressEvent(event);
}

void CThumbnailList::keyPressEvent(QKeyEvent* event)
{
    const std::optional<int> target = Layout().ArrowTarget(m_nFocus, event->key());
    if (!target) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    event->accept();
    if (*target < 0 || *target >= Count() || *target == m_nFocus)
        return;
    ChangeSelection(*target);
    ScrollFocusIntoView();
}

bool CThumbnailList::viewportEvent(QEvent* event)
{
    if (event->type() != QEvent::ToolTip)
        return QAbstractScrollArea::viewportEvent(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const int position = HitTest(help->pos());
    const QString text = m_cache.ToolTip(position);
    if (text.isEmpty()) {
        QToolTip::hideText();
        event->ignore();
    } else {
        QToolTip::showText(help->globalPos(), text, viewport(), CellRect(position));
    }
    return true;
}
