// Fits the floor's plane in every photograph of a folder laid out as
// NNN/photo.jpg (or .png) with NNN/floor.png (white where the floor is), and
// draws each fit for a person to judge: the floor's outline, and the fitted
// canvas's grid laid over the photo through the plane (and the lens's bend),
// as a tiled floor would run. Prints a line per photo.
//
//   tilemont-fit-photos FOLDER OUT-FOLDER [--wall]
//
// With --wall, walls.png is outlined instead of floor.png.
#include "analysis/LensDistortion.h"
#include "analysis/MaskOutline.h"
#include "analysis/PerspectiveFit.h"
#include "geometry/Homography.h"

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <cstdio>

namespace {

// The largest connected piece of the mask, as a user outlines the surface.
CRegionMask MaskOf(const QImage& image)
{
    const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    CRegionMask mask(grey.width(), grey.height());
    for (int y = 0; y < grey.height(); ++y)
        for (int x = 0; x < grey.width(); ++x)
            mask.Row(y)[x] = grey.constScanLine(y)[x] > 127 ? 1 : 0;
    return mask;
}

void DrawFit(QImage& canvas, const CPerspectiveFit& fit, const CPolygon& outline)
{
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath area;
    area.setFillRule(Qt::OddEvenFill);
    for (const CContour& c : outline.contours) {
        QPolygonF ring(c.begin(), c.end());
        area.addPolygon(ring);
        area.closeSubpath();
    }
    painter.setPen(QPen(QColor(255, 220, 0), 2));
    painter.drawPath(area);
    const QRectF rect(0, 0, fit.canvas.width(), fit.canvas.height());
    const auto map = CHomography::FromRect(rect, fit.corners);
    if (!map)
        return;
    const CLensDistortion lens(fit.distortion, canvas.size());
    painter.setClipPath(area);
    constexpr int kCells = 12;
    const auto drawLine = [&](QPointF a, QPointF b) {
        QPolygonF line;
        for (int i = 0; i <= 200; ++i) {
            const QPointF q = a + (b - a) * (i / 200.0);
            if (map->Weight(q) <= 0)
                continue;
            if (const auto p = map->Map(q))
                line << lens.Distort(*p);
        }
        painter.drawPolyline(line);
    };
    const double step = std::max(rect.width(), rect.height()) / kCells;
    for (int pass = 0; pass < 2; ++pass) {
        painter.setPen(QPen(pass ? QColor(255, 60, 60) : QColor(0, 0, 0), pass ? 1.5 : 3.5));
        for (double x = 0; x <= rect.width() + 1e-6; x += step)
            drawLine(QPointF(x, 0), QPointF(x, rect.height()));
        for (double y = 0; y <= rect.height() + 1e-6; y += step)
            drawLine(QPointF(0, y), QPointF(rect.width(), y));
    }
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: tilemont-fit-photos FOLDER OUT-FOLDER [--wall]\n");
        return 2;
    }
    const bool wall = args.contains("--wall");
    const QDir in(args[1]);
    QDir().mkpath(args[2]);
    const QDir out(args[2]);
    std::printf("%-6s %6s %8s %6s %7s %6s %s\n", "photo", "found", "focal", "k", "ms", "lines", "note");
    for (const QString& name : in.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        const QDir dir(in.filePath(name));
        QString photoPath = dir.filePath("photo.jpg");
        if (!QFile::exists(photoPath))
            photoPath = dir.filePath("photo.png");
        const QImage photo(photoPath);
        const QImage maskImage(dir.filePath(wall ? "walls.png" : "floor.png"));
        if (photo.isNull() || maskImage.isNull())
            continue;
        const CPolygon outline = MaskOutline(MaskOf(maskImage));
        QElapsedTimer timer;
        timer.start();
        QString reason;
        CPerspectiveFitOptions options;
        options.surface = wall ? EFitSurface::Wall : EFitSurface::Floor;
        const auto fit = FitPerspective(photo, outline, options, &reason);
        const qint64 ms = timer.elapsed();
        QImage drawn = photo.convertToFormat(QImage::Format_RGB32);
        if (fit) {
            DrawFit(drawn, *fit, outline);
            QString points;
            for (const auto& s : fit->pointSupport)
                points += QString(" %1%2").arg(s.lines).arg(s.fromArea ? "a" : "r");
            std::printf("%-6s %6s %8.0f %6.3f %7lld %6d %s%s%s\n", qPrintable(name), "yes", fit->focal,
                        fit->distortion, static_cast<long long>(ms), fit->supportingLines,
                        fit->focalAssumed ? "focal assumed;" : "", fit->wall ? " wall;" : "", qPrintable(points));
        } else {
            std::printf("%-6s %6s %8s %6s %7lld %6s %s\n", qPrintable(name), "no", "-", "-", static_cast<long long>(ms),
                        "-", qPrintable(reason));
        }
        drawn.save(out.filePath(name + ".jpg"), "JPG", 85);
    }
    return 0;
}
