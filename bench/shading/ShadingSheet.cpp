#include "ShadingSheet.h"

#include "analysis/FitRoom.h"
#include "render/TemplateCompositor.h"

#include <QDir>
#include <QElapsedTimer>
#include <QPainter>

#include <cstdio>

namespace {

// A light oak floor of planks, 16 x 128 texels a board.
QImage NewFloor()
{
    QImage texture(128, 256, QImage::Format_RGB32);
    for (int y = 0; y < texture.height(); ++y)
        for (int x = 0; x < texture.width(); ++x) {
            const int board = x / 16, along = (y + board * 53) % 256;
            const bool joint = x % 16 == 0 || along == 0;
            const double grain = 6 * std::sin(y * 0.35 + board * 1.7 + 2 * std::sin(x * 0.4));
            const int tone = joint ? -40 : (board * 37 % 11) - 5;
            texture.setPixel(x, y, qRgb(std::clamp(int(196 + tone + grain), 0, 255),
                                        std::clamp(int(160 + tone + grain), 0, 255),
                                        std::clamp(int(118 + tone + grain), 0, 255)));
        }
    return texture;
}

} // namespace

bool CShadingSheet::Draw(const QString& folder, const QString& sheet)
{
    const QDir dir(folder);
    const QStringList entries = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    constexpr int kHeight = 260;
    std::vector<std::array<QImage, 3>> rows;
    int width = 0;
    const QImage texture = NewFloor();
    for (const QString& entry : entries) {
        const QDir sub(dir.filePath(entry));
        QImage photo(sub.filePath(QStringLiteral("photo.jpg")));
        if (photo.isNull())
            photo.load(sub.filePath(QStringLiteral("photo.png")));
        QImage floor(sub.filePath(QStringLiteral("floor.png")));
        if (photo.isNull() || floor.isNull())
            continue;
        photo = photo.convertToFormat(QImage::Format_RGB32);
        floor = floor.convertToFormat(QImage::Format_Grayscale8);
        const QImage ignore = QImage(sub.filePath(QStringLiteral("ignore.png"))).convertToFormat(QImage::Format_Grayscale8);
        if (!ignore.isNull() && ignore.size() == floor.size())
            for (int y = 0; y < floor.height(); ++y)
                for (int x = 0; x < floor.width(); ++x)
                    if (ignore.constScanLine(y)[x] >= 128)
                        floor.scanLine(y)[x] = 0;
        const CPolygon outline = CFitRoom::Outline(floor);
        CArea area;
        area.SetOutline(&outline);
        area.SetTexture(&texture);
        QElapsedTimer clock;
        clock.start();
        const QImage plain = ComposeTemplate(photo, {area});
        const double plainSeconds = clock.restart() / 1000.0;
        const QImage kept = ComposeTemplate(photo, {area}, {}, CComposeOptions{true});
        std::printf("%s %d x %d: compose %.3f s plain, %.3f s with Keep Shading\n", qPrintable(entry), photo.width(),
                    photo.height(), plainSeconds, clock.elapsed() / 1000.0);
        std::array<QImage, 3> row{photo, plain, kept};
        for (QImage& image : row)
            image = image.convertToFormat(QImage::Format_RGB32).scaledToHeight(kHeight, Qt::SmoothTransformation);
        width = std::max(width, 3 * row[0].width() + 20);
        rows.push_back(row);
    }
    if (rows.empty())
        return false;
    QImage out(width, int(rows.size()) * (kHeight + 10), QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter painter(&out);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        int x = 0;
        for (const QImage& image : rows[i]) {
            painter.drawImage(x, int(i) * (kHeight + 10), image);
            x += image.width() + 10;
        }
    }
    painter.end();
    return out.save(sheet);
}
