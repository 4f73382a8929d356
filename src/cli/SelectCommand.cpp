#include "SelectCommand.h"

#include "AreaCommand.h"
#include "CliArgs.h"
#include "CliOutput.h"
#include "analysis/MagicWand.h"
#include "analysis/MaskOutline.h"
#include "analysis/SurfaceSolver.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>

#include <optional>

namespace {

const QString kUsageLine = QStringLiteral(
    "usage: tilemont-cli select TEMPLATE.tlm --area NAME --at X,Y [--method wand|surface] [--tolerance T]\n"
    "                    [--global] [--at X,Y ...] [--not X,Y ...] [--around X,Y,W,H] [--out OUT.tlm]");

// How the region is found. Each method reads its own options below and
// fills in the mask in FindRegion.
enum class Method
{
    Wand,
    Surface,
};

struct CSelectOptions
{
    QString input;
    QString output;
    QString area;
    QPoint at;
    // Every --at and --not in order: the surface finder's round of marks.
    std::vector<SSurfaceMark> marks;
    Method method = Method::Wand;
    SWandOptions wand;
    std::optional<QRect> around;  // the surface finder's rough rectangle
};

int ParseInt(const QString& option, const QString& text, int low, int high)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    if (!ok || v < low || v > high)
        throw CUsageError{QStringLiteral("%1 needs a whole number from %2 to %3, not \"%4\".")
                              .arg(option)
                              .arg(low)
                              .arg(high)
                              .arg(text)};
    return v;
}

QPoint ParsePoint(const QString& option, const QString& text)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 2)
        throw CUsageError{QStringLiteral("%1 needs a picture pixel X,Y.").arg(option)};
    // Any whole number is a valid request; one outside the picture is
    // refused once the picture's size is known.
    return QPoint(ParseInt(option, parts[0], -(1 << 30), 1 << 30), ParseInt(option, parts[1], -(1 << 30), 1 << 30));
}

QRect ParseRect(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4)
        throw CUsageError{QStringLiteral("--around needs a rectangle X,Y,W,H in picture pixels.")};
    const QString option = QStringLiteral("--around");
    return QRect(ParseInt(option, parts[0], -(1 << 30), 1 << 30), ParseInt(option, parts[1], -(1 << 30), 1 << 30),
                 ParseInt(option, parts[2], 1, 1 << 30), ParseInt(option, parts[3], 1, 1 << 30));
}

CSelectOptions ParseOptions(const QStringList& args)
{
    const CliArgs::CCommandLine line = CliArgs::Parse(
        args, {.values = {"--area", "--method", "--tolerance", "--around", "--out"},
               .flags = {"--global"},
               .repeated = {"--at", "--not"}});
    const QStringList& positional = line.positional;
    const QMap<QString, QString>& values = line.values;
    std::vector<SSurfaceMark> marks;
    for (const auto& [option, text] : line.inOrder)
        marks.push_back({option == QLatin1String("--at"), {ParsePoint(option, text)}});
    if (positional.size() != 1 || !values.contains("--area") || !values.contains("--at"))
        throw CUsageError{kUsageLine};
    CSelectOptions o;
    o.input = positional[0];
    o.output = values.value("--out", o.input);
    o.area = values.value("--area");
    if (o.area.isEmpty())
        throw CUsageError{QStringLiteral("--area needs a name.")};
    o.marks = std::move(marks);
    o.at = o.marks.front().points.front();
    const QString method = values.value("--method", QStringLiteral("wand"));
    if (method == QLatin1String("wand"))
        o.method = Method::Wand;
    else if (method == QLatin1String("surface"))
        o.method = Method::Surface;
    else
        throw CUsageError{QStringLiteral("Unknown method \"%1\": the methods are wand and surface.").arg(method)};
    if (o.method != Method::Wand && (values.contains("--tolerance") || line.flags.contains("--global")))
        throw CUsageError{QStringLiteral("--tolerance and --global belong to the wand.")};
    if (o.method == Method::Wand && o.marks.size() > 1)
        throw CUsageError{QStringLiteral("The wand takes one --at; several marks and --not belong to the surface "
                                         "finder (--method surface).")};
    if (values.contains("--around")) {
        if (o.method != Method::Surface)
            throw CUsageError{QStringLiteral("--around belongs to the surface finder (--method surface).")};
        o.around = ParseRect(values.value("--around"));
    }
    if (values.contains("--tolerance"))
        o.wand.tolerance = ParseInt(QStringLiteral("--tolerance"), values.value("--tolerance"), 0,
                                    CMagicWand::kMaxTolerance);
    o.wand.contiguous = !line.flags.contains("--global");
    return o;
}

CRegionMask FindRegion(const CSelectOptions& options, const QImage& picture)
{
    switch (options.method) {
    case Method::Wand:
        return CMagicWand(picture).Select(options.at, options.wand);
    case Method::Surface: {
        std::vector<QPointF> loop;
        if (options.around) {
            const QRectF r(*options.around);
            loop = {r.topLeft(), r.topRight(), r.bottomRight(), r.bottomLeft()};
        }
        const auto prepared = CSurfaceSolver::Prepare(picture);
        return CSurfaceSolver::Solve(*prepared, options.marks, loop).value_or(CRegionMask());
    }
    }
    return CRegionMask();
}

// The one area of that name, a new one at the end when there is none, or
// null (with the reason printed) when several share it.
} // namespace

int RunSelectCommand(const QStringList& args)
{
    CSelectOptions options;
    try {
        options = ParseOptions(args);
    } catch (const CUsageError& e) {
        PrintError(e.message);
        return kUsage;
    }
    const CAreaCommand command{
        .input = options.input,
        .output = options.output,
        .area = options.area,
        .picturePurpose = QStringLiteral("select in"),
        .makeArea = true,
        .check = [&options](const CTemplateData& data) {
            const QImage& picture = *data.picture;
            for (const SSurfaceMark& mark : options.marks)
                if (!picture.rect().contains(mark.points.front())) {
                    PrintError(QStringLiteral("The point %1,%2 lies outside the picture, which is %3 x %4 pixels.")
                                   .arg(mark.points.front().x())
                                   .arg(mark.points.front().y())
                                   .arg(picture.width())
                                   .arg(picture.height()));
                    return int(kFailed);
                }
            return int(kOk);
        },
        .work = [&options](CTemplateData& data, CArea& area, QJsonObject& json) {
            // Timed from the decoded picture to the finished outline, as a
            // click in the editor is.
            QElapsedTimer timer;
            timer.start();
            const CRegionMask region = FindRegion(options, *data.picture);
            const CPolygon outline = MaskOutline(region);
            const double ms = double(timer.nsecsElapsed()) / 1e6;
            area.SetOutline(&outline);
            qint64 vertices = 0;
            for (const CContour& contour : outline.contours)
                vertices += qint64(contour.size());
            json = QJsonObject{{"pixels", qint64(region.Count())},
                               {"contours", qint64(outline.contours.size())},
                               {"vertices", vertices},
                               {"milliseconds", ms}};
            if (options.method == Method::Surface)
                json.insert("marks", qint64(options.marks.size()));
            return int(kOk);
        }};
    return command.Run();
}
