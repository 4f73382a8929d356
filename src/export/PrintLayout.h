#pragma once

#include <QPageLayout>
#include <QRectF>
#include <QSizeF>

// Where a printed template goes on the page: the whole composition, as
// large as the printable area allows with its aspect kept, centred; the
// page turned to landscape when the picture is wider than tall, so that a
// room photograph fills the sheet rather than a strip across it.
class CPrintLayout
{
public:
    static QPageLayout::Orientation OrientationFor(QSizeF picture);

    // The rectangle, inside printable, that the picture fills. Empty when
    // either size is empty, negative or not a number, so that nothing is
    // drawn rather than a stretched or infinite image.
    static QRectF Fit(QSizeF picture, const QRectF& printable);
};
