#pragma once

#include <opencv2/core.hpp>

#include <vector>

// The reduced picture cut into segments of like colour (a graph-based
// segmentation of the picture with its thin lines removed), with what the
// surface finder compares them by: colour, brightness, texture contrast and
// which segments touch.
class CSurfaceSegments
{
public:
    struct SSegment
    {
        int area = 0;
        cv::Vec3d lab;        // mean CIE L*a*b*
        double texture = 0;   // mean gradient over brightness, thin lines included
        std::vector<int> neighbours;
    };

    // reduced: the picture at the working scale; fine: the same picture
    // larger (up to full resolution), whose grout and grain give texture.
    CSurfaceSegments(const cv::Mat& reduced, const cv::Mat& fine);

    const cv::Mat& Labels() const { return m_labels; }  // CV_32S, segment per reduced pixel
    const std::vector<SSegment>& Segments() const { return m_segments; }
    // Per reduced pixel: the thin-line-free colour as CIE L*a*b* (CV_32FC3),
    // and the texture contrast (CV_32F).
    const cv::Mat& Lab() const { return m_lab; }
    const cv::Mat& Texture() const { return m_texture; }

private:
    cv::Mat m_labels;
    cv::Mat m_lab;
    cv::Mat m_texture;
    std::vector<SSegment> m_segments;
};
