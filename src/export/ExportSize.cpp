#include "ExportSize.h"

#include "document/ImageCodec.h"

#include <QCoreApplication>

ExportSizeCheck CheckExportSize(int width, int height)
{
    if (width <= 0 || height <= 0)
        return ExportSizeCheck::TooSmall;
    if (qint64(width) * height > kMaxImagePixels)
        return ExportSizeCheck::TooLarge;
    return ExportSizeCheck::Ok;
}

QString ExportTooLargeMessage(int width, int height)
{
    return QCoreApplication::translate("ExportSize",
                                       "%1 × %2 pixels is larger than the %3 megapixels an export may have.")
        .arg(width)
        .arg(height)
        .arg(kMaxImagePixels / 1'000'000);
}

QString ExportSizeRefusal(int width, int height)
{
    switch (CheckExportSize(width, height)) {
    case ExportSizeCheck::TooSmall:
        return QCoreApplication::translate("ExportSize", "Please enter a width and a height of at least 1 pixel.");
    case ExportSizeCheck::TooLarge:
        return ExportTooLargeMessage(width, height);
    case ExportSizeCheck::Ok:
        break;
    }
    return QString();
}
