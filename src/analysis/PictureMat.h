#pragma once

#include <QImage>

#include <opencv2/core.hpp>

// The picture as OpenCV's 8-bit BGR, the layout its segmentation works on.
// Alpha is dropped: a surface is found by what the pixels show.
class CPictureMat
{
public:
    static cv::Mat Bgr(const QImage& picture);
};
