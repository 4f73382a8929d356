#include "controls/BannerArt.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPoint>

#include <iterator>

namespace {

const QColor kWallTop(0xf2, 0xed, 0xe4);
const QColor kWallBottom(0xd9, 0xcf, 0xbf);
const QColor kFloor(0xb0, 0x7a, 0x45);
const QColor kFloorDark(0x8f, 0x5f, 0x32);
const QColor kGrout(0x5e, 0x3d, 0x1f);
const QColor kFrame(0x8a, 0x7d, 0x6b);
const QColor kEdge(0xf7, 0xf3, 0xea);
const QColor kWindow(0x9c, 0xc3, 0xea);

// Where the sentence may go: right of the floor, left of the help sign.
const QRectF kTextBox(72, 6, 362, 48);
constexpr int kLargestText = 15;
constexpr int kSmallestText = 9;

QFont TextFont(int pixels)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(pixels);
    return font;
}

// The largest size at which the wrapped sentence fits the box.
QFont FittingFont(const QString& text)
{
    for (int pixels = kLargestText; pixels > kSmallestText; --pixels) {
        const QFont font = TextFont(pixels);
        const QRectF needed =
            QFontMetricsF(font).boundingRect(kTextBox, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, text);
        if (needed.height() <= kTextBox.height() && needed.width() <= kTextBox.width())
            return font;
    }
    return TextFont(kSmallestText);
}

void PaintFloor(QPainter& painter)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(kFloor);
    painter.drawPolygon(QPolygonF{{20, 13}, {46, 13}, {60, 50}, {6, 50}});
    painter.setBrush(kFloorDark);
    painter.drawPolygon(QPolygonF{{10, 40}, {56, 40}, {60, 50}, {6, 50}});
    painter.setPen(QPen(kGrout, 1.5));
    // The joints run to the vanishing point the floor's sides meet in.
    const QLineF joints[] = {{28.7, 13, 24, 50}, {37.3, 13, 42, 50}, {16.4, 22, 49.6, 22},
                             {12.2, 31, 53.8, 31}, {8.7, 40, 57.3, 40}};
    painter.drawLines(joints, int(std::size(joints)));
    painter.setPen(QPen(kEdge, 2));
    painter.drawLine(QLineF(20, 13, 46, 13));
}

void PaintHelpSign(QPainter& painter)
{
    painter.setPen(QPen(kFrame, 1.5));
    painter.setBrush(kWindow);
    painter.drawEllipse(QPointF(455, 30), 14, 14);
    painter.setPen(kGrout);
    painter.setFont(TextFont(20));
    painter.drawText(QRectF(441, 16, 28, 28), Qt::AlignCenter, QStringLiteral("?"));
}

} // namespace

void CBannerArt::Paint(QPainter& painter, QPoint origin, const QString& text)
{
    painter.save();
    painter.translate(origin);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QLinearGradient wall(0, 0, 0, kSize.height());
    wall.setColorAt(0, kWallTop);
    wall.setColorAt(1, kWallBottom);
    painter.fillRect(QRect(QPoint(0, 0), kSize), wall);
    painter.setPen(QPen(kFrame, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(0.5, 0.5, kSize.width() - 1, kSize.height() - 1));
    PaintFloor(painter);
    PaintHelpSign(painter);
    painter.setPen(kGrout);
    painter.setFont(FittingFont(text));
    painter.drawText(kTextBox, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, text);
    painter.restore();
}
