// tilemont-render-icon SVG OUT.png SIZE: the application's icon drawn at one
// of the sizes a desktop's icon theme asks for, so that the installed PNG
// icons are always the drawing in the tree and never drift from it.
#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    bool ok = false;
    const int size = args.size() == 4 ? args[3].toInt(&ok) : 0;
    if (!ok || size < 1 || size > 1024) {
        std::fprintf(stderr, "usage: tilemont-render-icon SVG OUT.png SIZE (1 to 1024)\n");
        return 2;
    }
    QSvgRenderer svg(args[1]);
    if (!svg.isValid()) {
        std::fprintf(stderr, "%s is not an SVG drawing that can be rendered.\n", qPrintable(args[1]));
        return 1;
    }
    QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    {
        QPainter painter(&icon);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        svg.render(&painter, QRectF(0, 0, size, size));
    }
    // Written whole, so that an interrupted build leaves no half icon that
    // a later build would take as done.
    QSaveFile out(args[2]);
    if (!out.open(QIODevice::WriteOnly) || !icon.save(&out, "PNG") || !out.commit()) {
        std::fprintf(stderr, "%s could not be written.\n", qPrintable(args[2]));
        return 1;
    }
    return 0;
}
