#include "BannerBar.h"

#include "controls/BannerArt.h"

#include <QDesktopServices>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <QTimer>

std::vector<CBannerBar::Tip> CBannerBar::DefaultTips()
{
    // Made afresh for each banner, in the language of the translators
    // installed by then.
    return {
        {tr("Pick an area, then click a swatch to lay in a texture.")},
        {tr("Skew: drag the four corners to match the floor's perspective.")},
        {tr("Ctrl+Z undoes every change \u2014 try textures freely.")},
    };
}

CBannerBar::CBannerBar(QWidget* parent) : CBannerBar(DefaultTips(), parent) {}

CBannerBar::CBannerBar(const std::vector<Tip>& tips, QWidget* parent)
    : QWidget(parent), m_opener([](const QUrl& url) { QDesktopServices::openUrl(url); }),
      m_pTimer(new QTimer(this))
{
    for (const Tip& tip : tips)
        if (!tip.text.isEmpty())
            m_texts << tip.text;
    setFixedHeight(kHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    // The cursor changes over the picture without a button held.
    setMouseTracking(true);
    setAccessibleName(tr("Banner"));
    UpdateDescription();

    connect(m_pTimer, &QTimer::timeout, this, &CBannerBar::Advance);
    m_pTimer->start(kIntervalMs);
}

QRect CBannerBar::ImageRect(QSize image, QSize client)
{
    const int left = (client.width() - image.width()) >> 1;
    const int top = (client.height() - image.height()) >> 1;
    return QRect(left, top, image.width(), image.height());
}

QRect CBannerBar::ImageRect() const
{
    if (m_texts.isEmpty())
        return QRect();
    return ImageRect(CBannerArt::kSize, size());
}

QSize CBannerBar::sizeHint() const
{
    // As wide as whatever holds it lets it be.
    return QSize(4096, kHeight);
}

QSize CBannerBar::minimumSizeHint() const
{
    return QSize(0, kHeight);
}

void CBannerBar::Advance()
{
    ++m_nIndex;
    if (m_nIndex >= ImageCount())
        m_nIndex = 0;
    UpdateDescription();
    if (underMouse())
        UpdateCursor(mapFromGlobal(QCursor::pos()));
    update();
}

void CBannerBar::UpdateDescription()
{
    setAccessibleDescription(m_texts.isEmpty() ? QString() : m_texts[m_nIndex]);
}

void CBannerBar::UpdateCursor(const QPoint& pos)
{
    const Qt::CursorShape shape = ImageRect().contains(pos) ? Qt::PointingHandCursor : Qt::ArrowCursor;
    if (cursor().shape() != shape)
        setCursor(shape);
}

void CBannerBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect image = ImageRect();
    // Only the strips are filled, so the picture does not flicker over a fill.
    const QRegion strips = QRegion(rect()).subtracted(QRegion(image));
    const QColor face = palette().color(QPalette::Button);
    for (const QRect& strip : strips)
        painter.fillRect(strip, face);
    if (!m_texts.isEmpty())
        CBannerArt::Paint(painter, image.topLeft(), m_texts[m_nIndex]);
}

void CBannerBar::mouseMoveEvent(QMouseEvent* event)
{
    UpdateCursor(event->position().toPoint());
    QWidget::mouseMoveEvent(event);
}

void CBannerBar::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && ImageRect().contains(event->position().toPoint()) && m_opener) {
        m_opener(m_url);
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

void CBannerBar::resizeEvent(QResizeEvent* event)
{
    // The picture moves under a cursor that stands still.
    if (underMouse())
        UpdateCursor(mapFromGlobal(QCursor::pos()));
    QWidget::resizeEvent(event);
}
