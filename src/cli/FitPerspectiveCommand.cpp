#include "FitPerspectiveCommand.h"

#include "AreaCommand.h"
#include "CliArgs.h"
#include "CliOutput.h"
#include "TemplateInput.h"
#include "analysis/PerspectiveFit.h"
#include "document/Messages.h"
#include "document/PerspectiveEdits.h"
#include "render/AreaWarpUpdates.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>

#include <cmath>
#include <optional>

namespace {

const QString kUsageLine = QStringLiteral(
    "usage: tilemont-cli fit-perspective TEMPLATE.tlm --area NAME [--focal PIXELS] [--surface auto|floor|wall]\n"
    "                    [--reference X1,Y1,X2,Y2 --length CM --texture-width CM] [--out OUT.tlm]");

struct CFitOptions
{
    QString input;
    QString output;
    QString area;
    std::optional<double> focal;
    EFitSurface surface = EFitSurface::Auto;
    std::optional<CRealSize> realSize;
};

CFitOptions ParseOptions(const QStringList& args)
{
    static const QStringList kValueOptions{"--area",   "--focal",         "--surface", "--reference",
                                           "--length", "--texture-width", "--out"};
    const CliArgs::CCommandLine line = CliArgs::Parse(args, {kValueOptions});
    const QStringList& positional = line.positional;
    const QMap<QString, QString>& values = line.values;
    if (positional.size() != 1 || !values.contains("--area"))
        throw CUsageError{kUsageLine};
    CFitOptions o;
    o.input = positional[0];
    o.output = values.value("--out", o.input);
    o.area = values.value("--area");
    if (values.contains("--focal"))
        o.focal = CliArgs::Positive(QStringLiteral("--focal"), values.value("--focal"));
    if (values.contains("--surface")) {
        const QString surface = values.value("--surface");
        if (surface == QLatin1String("floor"))
            o.surface = EFitSurface::Floor;
        else if (surface == QLatin1String("wall"))
            o.surface = EFitSurface::Wall;
        else if (surface != QLatin1String("auto"))
            throw CUsageError{QStringLiteral("--surface is auto, floor or wall, not \"%1\".").arg(surface)};
    }
    const int realSizeParts = int(values.contains("--reference")) + int(values.contains("--length")) +
                              int(values.contains("--texture-width"));
    if (realSizeParts != 0 && realSizeParts != 3)
        throw CUsageError{QStringLiteral("--reference, --length and --texture-width go together: give all three.")};
    if (realSizeParts == 3) {
        CRealSize real;
        real.reference = CliArgs::Line(QStringLiteral("--reference"), values.value("--reference"));
        real.referenceCm = CliArgs::Positive(QStringLiteral("--length"), values.value("--length"));
        real.textureWidthCm = CliArgs::Positive(QStringLiteral("--texture-width"), values.value("--texture-width"));
        o.realSize = real;
    }
    return o;
}

QJsonArray Point(double x, double y)
{
    return QJsonArray{x, y};
}

QJsonObject FitJson(const CArea& area, const CPerspectiveFit& fit, qint64 ms)
{
    QJsonArray corners;
    for (const QPoint& p : area.GetSkewCorners())
        corners.append(Point(p.x(), p.y()));
    QJsonArray vanishing, support;
    for (const auto& v : fit.vanishingPoints)
        vanishing.append(QJsonArray{v[0], v[1], v[2]});
    for (const CPerspectiveFit::SPointSupport& s : fit.pointSupport)
        support.append(QJsonObject{{"lines", s.lines}, {"from", s.fromArea ? "area" : "room"}});
    return QJsonObject{{"corners", corners},
                       {"canvas", QJsonArray{fit.canvas.width(), fit.canvas.height()}},
                       {"vanishingPoints", vanishing},
                       {"vanishingSupport", support},
                       {"surface", fit.wall ? "wall" : "floor"},
                       {"distortion", fit.distortion},
                       {"focal", fit.focal},
                       {"focalAssumed", fit.focalAssumed},
                       {"lines", fit.supportingLines},
                       {"scale", area.GetScale()},
                       {"ms", ms}};
}

} // namespace

int RunFitPerspectiveCommand(const QStringList& args)
{
    CFitOptions options;
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
        .picturePurpose = QStringLiteral("fit a perspective in"),
        .work = [&options](CTemplateData& data, CArea& area, QJsonObject& json) {
            QElapsedTimer timer;
            timer.start();
            CPerspectiveFitOptions fitOptions;
            fitOptions.focal = options.focal;
            fitOptions.surface = options.surface;
            const std::optional<CPerspectiveFit> fit = FitPerspective(*data.picture, area.GetOutline(), fitOptions);
            const qint64 ms = timer.elapsed();
            if (!fit) {
                PrintError(Messages::kNoPerspective.arg(options.area));
                return int(kFailed);
            }
            // The real size first: the fit then sets the scale through the
            // new plane.
            if (options.realSize)
                area.SetRealSize(*options.realSize);
            // The fit applies the skew; the save builds the warp the file
            // carries for readers that know nothing of perspective.
            ApplyPerspectiveFit(area, *fit);
            json = FitJson(area, *fit, ms);
            return int(kOk);
        }};
    return command.Run();
}
