#pragma once

#include "SurfaceSegments.h"

#include <QImage>
#include <QPoint>

#include <opencv2/core.hpp>

#include <atomic>
#include <memory>
#include <vector>

// What the surface finder knows of a picture before any mark: the picture
// reduced and cut into small pieces (each a part of one graph-based segment
// and of one compact cell, so that a piece never spans two surfaces the
// segmentation told apart yet stays small enough for a mark to move the
// boundary), and how unlike neighbouring pieces are. Built once per picture
// and kept while it is open: every mark of a round is solved on it.
class CSurfacePicture
{
public:
    struct SPiece
    {
        int area = 0;
        int segment = 0;          // the graph-based segment it is part of
        cv::Vec3d lab;            // mean CIE L*a*b*
        double texture = 0;       // mean gradient over brightness
        std::vector<int> neighbours;
        // The brightness step along the border with each neighbour, squared
        // on the scale where 1 is a clear edge between surfaces.
        std::vector<double> edge;
        // Mean CIE L*a*b* of a window a few pieces wide around it: the
        // colours of a coarse pattern (a rug's motifs, two-tone tiles)
        // mixed as they are seen from afar.
        cv::Vec3d around;
    };

    // Nothing when cancel turned true on the way.
    static std::shared_ptr<const CSurfacePicture> Make(const QImage& picture, const std::atomic<bool>* cancel = nullptr);

    QSize Size() const { return m_size; }
    qint64 CacheKey() const { return m_cacheKey; }
    double Scale() const { return m_scale; }        // reduced over full size
    const cv::Mat& Bgr() const { return m_bgr; }    // the whole picture
    const cv::Mat& Fine() const { return m_fine; }  // at most kFineSide, for the boundary
    const cv::Mat& Pieces() const { return m_pieces; } // CV_32S, piece per reduced pixel
    const std::vector<SPiece>& PieceList() const { return m_list; }
    const CSurfaceSegments& Segments() const { return *m_segments; }

    // The piece under a picture pixel; -1 outside the picture.
    int PieceAt(QPoint pixel) const;
    // How unlike segment b is to segment a it might continue: 0 alike, 1 or
    // more another surface. A sliver along an edge carries that edge's
    // gradient as texture: its texture is not compared.
    double Unlike(int a, int b) const;
    // How far segment b has drifted in texture from the marked segment a:
    // 1 or more a different kind of surface.
    double Drift(int a, int b) const;
    // How unlike piece b looks to piece a from afar, on the scale of Unlike
    // (see SPiece::around).
    double UnlikeAround(int a, int b) const;
    bool Sliver(int segment) const { return m_segments->Segments()[static_cast<std::size_t>(segment)].area < m_sliver; }

private:
    CSurfacePicture() = default;

    QSize m_size;
    qint64 m_cacheKey = 0;
    double m_scale = 1;
    int m_sliver = 0;
    cv::Mat m_bgr, m_fine, m_pieces;
    std::unique_ptr<CSurfaceSegments> m_segments;
    std::vector<SPiece> m_list;
};
