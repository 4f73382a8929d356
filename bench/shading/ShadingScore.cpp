#include "ShadingScore.h"

#include <algorithm>
#include <cmath>

namespace {

std::vector<float> LogLuminance(const QImage& image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    std::vector<float> out(std::size_t(rgb.width()) * std::size_t(rgb.height()));
    for (int y = 0; y < rgb.height(); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x)
            out[std::size_t(y) * std::size_t(rgb.width()) + std::size_t(x)] =
                std::log(1.0f + 0.299f * qRed(row[x]) + 0.587f * qGreen(row[x]) + 0.114f * qBlue(row[x]));
    }
    return out;
}

// Correlation and slope (b against a) over the judged pixels.
struct SFit
{
    double correlation = 0, slope = 0;
};

SFit Fit(const std::vector<float>& a, const std::vector<float>& b, const std::vector<char>& judged)
{
    double n = 0, sa = 0, sb = 0;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (judged[i]) {
            n += 1;
            sa += a[i];
            sb += b[i];
        }
    if (n < 2)
        return {};
    const double ma = sa / n, mb = sb / n;
    double aa = 0, bb = 0, ab = 0;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (judged[i]) {
            const double da = a[i] - ma, db = b[i] - mb;
            aa += da * da;
            bb += db * db;
            ab += da * db;
        }
    if (aa <= 0 || bb <= 0)
        return {};
    return {ab / std::sqrt(aa * bb), ab / aa};
}

std::vector<float> Minus(const std::vector<float>& a, const std::vector<float>& b)
{
    std::vector<float> out(a.size());
    for (std::size_t i = 0; i < a.size(); ++i)
        out[i] = a[i] - b[i];
    return out;
}

} // namespace

std::vector<float> CShadingScore::Smooth(const std::vector<float>& v, const std::vector<float>& weight, int w, int h,
                                         double sigma)
{
    const int r = std::max(1, int(std::ceil(3 * sigma)));
    std::vector<float> kernel(std::size_t(2 * r + 1));
    for (int i = -r; i <= r; ++i)
        kernel[std::size_t(i + r)] = float(std::exp(-0.5 * i * i / (sigma * sigma)));
    const auto pass = [&](const std::vector<float>& in, bool rows) {
        std::vector<float> out(in.size(), 0.0f);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                float sum = 0;
                for (int k = -r; k <= r; ++k) {
                    const int xx = rows ? x + k : x, yy = rows ? y : y + k;
                    if (xx < 0 || yy < 0 || xx >= w || yy >= h)
                        continue;
                    sum += kernel[std::size_t(k + r)] * in[std::size_t(yy) * std::size_t(w) + std::size_t(xx)];
                }
                out[std::size_t(y) * std::size_t(w) + std::size_t(x)] = sum;
            }
        return out;
    };
    std::vector<float> weighted(v.size());
    for (std::size_t i = 0; i < v.size(); ++i)
        weighted[i] = v[i] * weight[i];
    const std::vector<float> top = pass(pass(weighted, true), false);
    const std::vector<float> bottom = pass(pass(weight, true), false);
    std::vector<float> out(v.size());
    for (std::size_t i = 0; i < v.size(); ++i)
        out[i] = bottom[i] > 1e-6f ? top[i] / bottom[i] : 0.0f;
    return out;
}

CShadingScore CShadingScore::Measure(const QImage& composed, const QImage& truth, const QImage& photo,
                                     const QImage& floor)
{
    const int w = photo.width(), h = photo.height();
    const double scale = std::max(w, h) / 1800.0;
    const QImage mask = floor.convertToFormat(QImage::Format_Grayscale8);
    const QImage rgb = photo.convertToFormat(QImage::Format_RGB32);
    std::vector<float> weight(std::size_t(w) * std::size_t(h));
    std::vector<char> clipped(weight.size(), 0);
    for (int y = 0; y < h; ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            const std::size_t i = std::size_t(y) * std::size_t(w) + std::size_t(x);
            weight[i] = mask.constScanLine(y)[x] >= 128 ? 1.0f : 0.0f;
            clipped[i] = std::max({qRed(row[x]), qGreen(row[x]), qBlue(row[x])}) >= 250;
        }
    }
    // Judged: inside the floor by a margin, and clear of clipped pixels by
    // as much.
    const int margin = std::max(2, int(std::lround(6 * scale)));
    std::vector<char> judged(weight.size(), 0);
    CShadingScore score;
    for (int y = margin; y < h - margin; ++y)
        for (int x = margin; x < w - margin; ++x) {
            bool ok = true;
            for (int dy = -margin; dy <= margin && ok; dy += margin)
                for (int dx = -margin; dx <= margin && ok; dx += margin) {
                    const std::size_t j = std::size_t(y + dy) * std::size_t(w) + std::size_t(x + dx);
                    ok = weight[j] > 0 && !clipped[j];
                }
            for (int d = -margin; d <= margin && ok; ++d)
                ok = weight[std::size_t(y + d) * std::size_t(w) + std::size_t(x)] > 0 &&
                     weight[std::size_t(y) * std::size_t(w) + std::size_t(x + d)] > 0 &&
                     !clipped[std::size_t(y + d) * std::size_t(w) + std::size_t(x)] &&
                     !clipped[std::size_t(y) * std::size_t(w) + std::size_t(x + d)];
            judged[std::size_t(y) * std::size_t(w) + std::size_t(x)] = ok;
            score.pixels += ok;
        }

    const std::vector<float> e = LogLuminance(composed), t = LogLuminance(truth), p = LogLuminance(photo);
    const std::vector<float> pattern = Minus(p, t);
    const double fine = 3 * scale, broad = 12 * scale;
    const std::vector<float> e3 = Smooth(e, weight, w, h, fine), e12 = Smooth(e, weight, w, h, broad);
    const std::vector<float> t3 = Smooth(t, weight, w, h, fine), t12 = Smooth(t, weight, w, h, broad);
    const std::vector<float> p12 = Smooth(pattern, weight, w, h, broad);
    score.broad = Fit(t12, e12, judged).correlation;
    const SFit band = Fit(Minus(t3, t12), Minus(e3, e12), judged);
    score.band = band.correlation;
    score.contrast = band.slope;
    score.leak = Fit(Minus(pattern, p12), Minus(e, e12), judged).correlation;
    return score;
}
