#include "PictureMat.h"

#include <opencv2/imgproc.hpp>

cv::Mat CPictureMat::Bgr(const QImage& picture)
{
    QImage image = picture;
    if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32)
        image = image.convertToFormat(QImage::Format_RGB32);
    // Qt's 32-bit formats are B, G, R, A in memory on little-endian machines.
    const cv::Mat view(image.height(), image.width(), CV_8UC4, const_cast<uchar*>(image.constBits()),
                       static_cast<std::size_t>(image.bytesPerLine()));
    cv::Mat out;
    cv::cvtColor(view, out, cv::COLOR_BGRA2BGR);
    return out;
}
