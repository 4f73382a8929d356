// Measures the surface finder on a folder of labelled photographs laid out
// as NNN/photo.jpg (or .png) with NNN/floor.png (white on the floor) and
// NNN/ignore.png (white where nothing is scored: rugs, unlabelled pixels),
// through the command line as a user's script would run it. Each photo is
// clicked by the usual automatic clicker of interactive segmentation: the
// first mark at the floor pixel farthest from everything else, each next
// mark deepest inside the larger of the two errors (missed floor: --at,
// taken non-floor: --not), until 20 marks. Prints per photo the IoU after
// the first mark, the marks needed to reach 0.85 and 0.90 (20 when never),
// the best IoU, the milliseconds per mark, and what the first mark missed
// and took too much (as shares of the floor), then medians and means.
//
//   tilemont-surface-real CLI FOLDER [--marks N] [--only NNN,...]
//
// The photographs are read where they lie and never kept elsewhere; the
// templates the command line works on live in a temporary folder.
#include "analysis/RegionMask.h"
#include "document/TemplateFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numeric>

namespace {

cv::Mat Binary(const QImage& image)
{
    const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    cv::Mat out(grey.height(), grey.width(), CV_8UC1);
    for (int y = 0; y < grey.height(); ++y)
        for (int x = 0; x < grey.width(); ++x)
            out.at<uchar>(y, x) = grey.constScanLine(y)[x] > 127 ? 255 : 0;
    return out;
}

// The outline read by the even-odd rule at pixel centres, as the editor
// fills it.
cv::Mat Fill(const CPolygon& outline, cv::Size size)
{
    cv::Mat out(size, CV_8UC1, cv::Scalar(0));
    std::vector<double> xs;
    for (int y = 0; y < size.height; ++y) {
        const double cy = y + 0.5;
        xs.clear();
        for (const CContour& c : outline.contours)
            for (std::size_t i = 0; i < c.size(); ++i) {
                const QPointF a = c[i], b = c[(i + 1) % c.size()];
                if ((a.y() <= cy) != (b.y() <= cy))
                    xs.push_back(a.x() + (cy - a.y()) * (b.x() - a.x()) / (b.y() - a.y()));
            }
        std::sort(xs.begin(), xs.end());
        uchar* row = out.ptr<uchar>(y);
        for (std::size_t i = 0; i + 1 < xs.size(); i += 2) {
            const int from = std::max(0, int(std::ceil(xs[i] - 0.5)));
            const int to = std::min(size.width - 1, int(std::ceil(xs[i + 1] - 0.5)) - 1);
            for (int x = from; x <= to; ++x)
                row[x] = 255;
        }
    }
    return out;
}

// The pixel of the mask farthest from anything outside it (the picture's
// edge counts as outside), and that distance.
std::pair<cv::Point, double> Deepest(const cv::Mat& mask)
{
    cv::Mat padded, distance;
    cv::copyMakeBorder(mask, padded, 1, 1, 1, 1, cv::BORDER_CONSTANT, cv::Scalar(0));
    cv::distanceTransform(padded, distance, cv::DIST_L2, cv::DIST_MASK_PRECISE);
    double most = 0;
    cv::Point at;
    cv::minMaxLoc(distance, nullptr, &most, nullptr, &at);
    return {at - cv::Point(1, 1), most};
}

double IoU(const cv::Mat& found, const cv::Mat& floor, const cv::Mat& scored)
{
    const double both = cv::countNonZero(found & floor & scored);
    const double either = cv::countNonZero((found | floor) & scored);
    return either > 0 ? both / either : 0;
}

double Median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

double Mean(const std::vector<double>& v)
{
    return v.empty() ? 0 : std::accumulate(v.begin(), v.end(), 0.0) / double(v.size());
}

struct SPhoto
{
    double first = 0;
    double noc85 = 0, noc90 = 0;
    double msPerMark = 0;
    double best = 0;
    // After the first mark, as shares of the scored floor: floor left out,
    // and other pixels taken.
    double missed = 0, extra = 0;
    cv::Point at;  // the first mark
};

// A template holding the photo and one area, made by the command line.
QString MakeTemplate(const QString& cli, const QString& photo, const QDir& work)
{
    QImage tile(8, 8, QImage::Format_RGB32);
    tile.fill(QColor(180, 120, 90));
    tile.save(work.filePath("tile.png"));
    const QJsonObject area{{"name", "Floor"},
                           {"texture", work.filePath("tile.png")},
                           {"outline", QJsonArray{QJsonArray{QJsonArray{0, 0}, QJsonArray{4, 0}, QJsonArray{4, 4}}}}};
    const QJsonObject desc{{"picture", photo}, {"areas", QJsonArray{area}}};
    QFile json(work.filePath("desc.json"));
    if (!json.open(QIODevice::WriteOnly))
        return {};
    json.write(QJsonDocument(desc).toJson());
    json.close();
    const QString out = work.filePath("photo.tlm");
    QProcess make;
    make.start(cli, {"make", json.fileName(), out});
    make.waitForFinished(-1);
    if (make.exitCode() != 0) {
        std::fprintf(stderr, "make failed: %s\n", make.readAllStandardError().constData());
        return {};
    }
    return out;
}

std::optional<SPhoto> Measure(const QString& cli, const QDir& dir, int marks)
{
    QString photoPath = dir.filePath("photo.jpg");
    if (!QFile::exists(photoPath))
        photoPath = dir.filePath("photo.png");
    const QImage floorImage(dir.filePath("floor.png"));
    const QImage ignoreImage(dir.filePath("ignore.png"));
    if (!QFile::exists(photoPath) || floorImage.isNull())
        return std::nullopt;
    QTemporaryDir work;
    const QString tlm = MakeTemplate(cli, photoPath, QDir(work.path()));
    if (tlm.isEmpty())
        return std::nullopt;
    const cv::Mat floor = Binary(floorImage);
    const cv::Mat ignore = ignoreImage.isNull() ? cv::Mat(floor.size(), CV_8UC1, cv::Scalar(0)) : Binary(ignoreImage);
    const cv::Mat scored = ignore == 0;
    SPhoto result;
    result.noc85 = result.noc90 = 20;
    QStringList args{"select", tlm, "--area", "Floor", "--method", "surface"};
    const cv::Point at = Deepest(floor & scored).first;
    result.at = at;
    args << "--at" << QString("%1,%2").arg(at.x).arg(at.y);
    double ms = 0;
    const QString out = QDir(work.path()).filePath("out.tlm");
    for (int k = 1; k <= marks; ++k) {
        QProcess select;
        select.start(cli, QStringList(args) << "--out" << out);
        select.waitForFinished(-1);
        if (select.exitCode() != 0) {
            std::fprintf(stderr, "%s: select failed: %s\n", qPrintable(dir.dirName()),
                         select.readAllStandardError().constData());
            return std::nullopt;
        }
        ms += QJsonDocument::fromJson(select.readAllStandardOutput()).object().value("milliseconds").toDouble();
        QString error;
        const auto data = LoadTemplateFile(out, &error);
        if (!data || data->areas.empty())
            return std::nullopt;
        const cv::Mat found = Fill(data->areas[0].GetOutline(), floor.size());
        const double iou = IoU(found, floor, scored);
        result.best = std::max(result.best, iou);
        if (k == 1) {
            result.first = iou;
            const double floorArea = std::max(1, cv::countNonZero(floor & scored));
            result.missed = cv::countNonZero(floor & ~found & scored) / floorArea;
            result.extra = cv::countNonZero(found & ~floor & scored) / floorArea;
        }
        if (iou >= 0.85 && result.noc85 == 20)
            result.noc85 = k;
        if (iou >= 0.90 && result.noc90 == 20) {
            result.noc90 = k;
            result.msPerMark = ms / k;
            break;
        }
        result.msPerMark = ms / k;
        const cv::Mat missed = floor & ~found & scored;
        const cv::Mat taken = found & ~floor & scored;
        const bool miss = cv::countNonZero(missed) >= cv::countNonZero(taken);
        const auto [point, depth] = Deepest(miss ? missed : taken);
        if (depth <= 0)
            break;
        args << (miss ? "--at" : "--not") << QString("%1,%2").arg(point.x).arg(point.y);
    }
    return result;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: tilemont-surface-real CLI FOLDER [--marks N] [--only NNN,...]\n");
        return 2;
    }
    const QString cli = args[1];
    const QDir folder(args[2]);
    if (!folder.exists()) {
        std::printf("no photographs at %s: nothing measured\n", qPrintable(args[2]));
        return 0;
    }
    int marks = 20;
    QStringList only;
    for (int i = 3; i + 1 < args.size(); ++i) {
        if (args[i] == "--marks")
            marks = std::clamp(args[i + 1].toInt(), 1, 20);
        else if (args[i] == "--only")
            only = args[i + 1].split(',');
    }
    std::vector<double> first, noc85, noc90, ms;
    std::printf("%-6s %8s %6s %6s %8s %8s %7s %7s %9s\n", "photo", "IoU@1", "NoC85", "NoC90", "best", "ms/mark", "missed",
                "extra", "first at");
    for (const QString& name : folder.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        if (!only.isEmpty() && !only.contains(name))
            continue;
        const auto photo = Measure(cli, QDir(folder.filePath(name)), marks);
        if (!photo)
            continue;
        std::printf("%-6s %8.3f %6.0f %6.0f %8.3f %8.1f %7.3f %7.3f %4d,%d\n", qPrintable(name), photo->first,
                    photo->noc85, photo->noc90, photo->best, photo->msPerMark, photo->missed, photo->extra,
                    photo->at.x, photo->at.y);
        std::fflush(stdout);
        first.push_back(photo->first);
        noc85.push_back(photo->noc85);
        noc90.push_back(photo->noc90);
        ms.push_back(photo->msPerMark);
    }
    std::printf("%-6s %8.3f %6.1f %6.1f %8s %8.1f\n", "median", Median(first), Median(noc85), Median(noc90), "",
                Median(ms));
    std::printf("%-6s %8.3f %6.2f %6.2f %8s %8.1f\n", "mean", Mean(first), Mean(noc85), Mean(noc90), "", Mean(ms));
    return 0;
}
