#include "view/AntsCycle.h"

#include <QPaintEngine>
#include <QPainter>
#include <QTransform>

namespace
{

// A cycle of more steps than this is not worth keeping: the ants would
// have moved on before the steps came round again.
constexpr std::size_t kMaxSteps = 8;
// The largest window whose steps are kept (a 64 MB layer).
constexpr qint64 kMaxWindowPixels = qint64(4096) * 4096;
// Ants covering more than this share of the window (a selection like a
// checkerboard) would take more memory than stroking them takes time.
constexpr qint64 kMostCoveredShare = 4;

bool WholeFormat(QImage::Format format)
{
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
           format == QImage::Format_ARGB32_Premultiplied;
}

} // namespace

bool CAntsCycle::Paint(QPainter& painter, const QRegion& clip, const CSelection& selection,
                       const CViewGeometry& geometry, const Style& style, int position, const Stroke& stroke)
{
    if (style.cycleLength <= 0 || position < 0 || position >= style.cycleLength)
        return false;
    const QSize window = geometry.client;
    if (window.isEmpty() || qint64(window.width()) * window.height() > kMaxWindowPixels)
        return false;
    // The kept pixels go back one to one onto the device's own pixels and
    // must replace what is there just as the strokes' opaque pixels do.
    if (!painter.worldTransform().isIdentity() || painter.opacity() != 1.0 ||
        painter.compositionMode() != QPainter::CompositionMode_SourceOver)
        return false;
    const QTransform device = painter.deviceTransform();
    const QPoint offset(TruncPixel(device.dx()), TruncPixel(device.dy()));
    if (device.type() > QTransform::TxTranslate || offset.x() != device.dx() || offset.y() != device.dy())
        return false;
    // Strokes are clipped to the bounds of the device they are drawn on, and
    // where a line is cut decides where its dashes fall further on: the
    // steps are stroked on an image of the window's device's own size.
    const QPaintEngine* engine = painter.paintEngine();
    if (!engine || engine->type() != QPaintEngine::Raster || !engine->paintDevice() ||
        engine->paintDevice()->devType() != QInternal::Image)
        return false;
    const QImage& target = *static_cast<const QImage*>(engine->paintDevice());
    if (!WholeFormat(target.format()) || target.devicePixelRatio() != 1.0)
        return false;

    const Key key{selection, geometry, style, target.size(), offset, true};
    if (!m_key.Matches(key)) {
        Clear();
        m_key = key;
    }
    if (m_bRefused)
        return false;
    int index = Find(position);
    if (index < 0)
        index = Keep(position, stroke);
    if (index < 0 || !Show(index)) {
        Clear();
        m_key = key;
        m_bRefused = true;
        return false;
    }
    painter.save();
    // The clip's own rectangles, one at a time: a blit under a clip of many
    // rectangles goes through the clip's spans pixel by pixel.
    painter.setClipping(false);
    for (const QRect& part : clip)
        painter.drawImage(part.topLeft(), m_layer, part);
    painter.restore();
    return true;
}

void CAntsCycle::Clear()
{
    m_key = Key();
    m_bRefused = false;
    m_steps.clear();
    m_steps.shrink_to_fit();
    m_layer = QImage();
    m_nShown = -1;
}

int CAntsCycle::Find(int position) const
{
    for (std::size_t i = 0; i < m_steps.size(); ++i)
        if (m_steps[i].position == position)
            return int(i);
    return -1;
}

int CAntsCycle::Keep(int position, const Stroke& stroke)
{
    if (m_steps.size() >= kMaxSteps)
        return -1;
    QImage scratch(m_key.device, QImage::Format_ARGB32_Premultiplied);
    if (scratch.isNull())
        return -1;
    scratch.fill(Qt::transparent);
    {
        QPainter p(&scratch);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setTransform(QTransform::fromTranslate(m_key.offset.x(), m_key.offset.y()));
        p.setTransform(m_key.geometry.Transform(), true);
        stroke(p);
    }
    const QSize window = m_key.geometry.client;
    const QRect onDevice = QRect(m_key.offset, window) & scratch.rect();
    const std::size_t most = std::size_t(qint64(window.width()) * window.height() / kMostCoveredShare);
    Step step;
    step.position = position;
    for (int y = onDevice.top(); y <= onDevice.bottom(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(scratch.constScanLine(y));
        const std::uint32_t row = std::uint32_t(y - m_key.offset.y()) * std::uint32_t(window.width());
        for (int x = onDevice.left(); x <= onDevice.right(); ++x) {
            const QRgb c = line[x];
            if (c == 0)
                continue;
            // A pixel painted partly would blend with what lies under it,
            // which the kept colour cannot do.
            if (qAlpha(c) != 255)
                return -1;
            step.pixels.push_back(Pixel{row + std::uint32_t(x - m_key.offset.x()), c});
        }
        if (step.pixels.size() > most)
            return -1;
    }
    m_steps.push_back(std::move(step));
    return int(m_steps.size()) - 1;
}

bool CAntsCycle::Show(int index)
{
    const QSize window = m_key.geometry.client;
    if (m_layer.size() != window) {
        m_layer = QImage(window, QImage::Format_ARGB32_Premultiplied);
        if (m_layer.isNull())
            return false;
        m_layer.fill(Qt::transparent);
        m_nShown = -1;
    }
    if (index == m_nShown)
        return true;
    // Rows of 32-bit pixels are never padded.
    QRgb* bits = reinterpret_cast<QRgb*>(m_layer.bits());
    if (m_nShown >= 0)
        for (const Pixel& p : m_steps[std::size_t(m_nShown)].pixels)
            bits[p.index] = 0;
    for (const Pixel& p : m_steps[std::size_t(index)].pixels)
        bits[p.index] = p.colour;
    m_nShown = index;
    return true;
}
