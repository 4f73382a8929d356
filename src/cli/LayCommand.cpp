#include "LayCommand.h"

#include "AreaCommand.h"
#include "CliArgs.h"
#include "CliOutput.h"
#include "TemplateInput.h"
#include "render/AreaPattern.h"
#include "render/AreaWarpUpdates.h"

#include <QColor>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <limits>
#include <optional>

namespace {

const QString kUsageLine = QStringLiteral(
    "usage: tilemont-cli lay TEMPLATE.tlm --area NAME --pattern "
    "straight|offset-half|offset-third|random-offset|herringbone|chevron|basket|diagonal\n"
    "                    --piece IMG[,IMG...] --size WxH [--joint MM] [--joint-colour #RRGGBB] [--angle DEG]\n"
    "                    [--seed N] [--origin X,Y|corner|centre|balanced] [--reference X1,Y1,X2,Y2 --length CM]\n"
    "                    [--out OUT.tlm]");

struct CLayOptions
{
    QString input, output, area;
    QStringList pieces;
    CLayingPattern pattern;
    std::optional<CRealSize> reference;
};

CLayOptions ParseOptions(const QStringList& args)
{
    static const QStringList kValueOptions{"--area",  "--pattern", "--piece",  "--size",      "--joint", "--joint-colour",
                                           "--angle", "--seed",    "--origin", "--reference", "--length", "--out"};
    const CliArgs::CCommandLine line = CliArgs::Parse(args, {kValueOptions});
    const QStringList& positional = line.positional;
    const QMap<QString, QString>& values = line.values;
    for (const char* needed : {"--area", "--pattern", "--piece", "--size"})
        if (!values.contains(QLatin1String(needed)))
            throw CUsageError{kUsageLine};
    if (positional.size() != 1)
        throw CUsageError{kUsageLine};
    CLayOptions o;
    o.input = positional[0];
    o.output = values.value("--out", o.input);
    o.area = values.value("--area");
    CLayingPattern& p = o.pattern;
    const auto layout = LayoutFromName(values.value("--pattern"));
    if (!layout)
        throw CUsageError{QStringLiteral("--pattern is straight, offset-half, offset-third, random-offset, "
                                         "herringbone, chevron, basket or diagonal, not \"%1\".")
                              .arg(values.value("--pattern"))};
    p.layout = *layout;
    o.pieces = values.value("--piece").split(QLatin1Char(','), Qt::SkipEmptyParts);
    if (o.pieces.isEmpty())
        throw CUsageError{QStringLiteral("--piece needs at least one picture.")};
    const QStringList size = values.value("--size").split(QLatin1Char('x'));
    if (size.size() != 2)
        throw CUsageError{QStringLiteral("--size needs the piece's width and height in cm as WxH.")};
    p.widthCm = CliArgs::Positive(QStringLiteral("--size"), size[0]);
    p.heightCm = CliArgs::Positive(QStringLiteral("--size"), size[1]);
    if (values.contains("--joint")) {
        p.jointMm = CliArgs::Number(QStringLiteral("--joint"), values.value("--joint"));
        if (p.jointMm < 0)
            throw CUsageError{QStringLiteral("--joint cannot be less than 0.")};
    }
    if (values.contains("--joint-colour")) {
        const QString text = values.value("--joint-colour");
        const QColor colour = QColor::fromString(text);
        if (!text.startsWith(QLatin1Char('#')) || text.size() != 7 || !colour.isValid())
            throw CUsageError{QStringLiteral("--joint-colour needs a colour as #RRGGBB, not \"%1\".").arg(text)};
        p.jointColour = colour.rgb();
    }
    if (values.contains("--angle"))
        p.angleDeg = CliArgs::Number(QStringLiteral("--angle"), values.value("--angle"));
    if (values.contains("--seed")) {
        bool ok = false;
        const qulonglong seed = values.value("--seed").toULongLong(&ok);
        if (!ok || seed > std::numeric_limits<std::uint32_t>::max())
            throw CUsageError{QStringLiteral("--seed needs a whole number from 0 to 4294967295.")};
        p.seed = static_cast<std::uint32_t>(seed);
    }
    p.origin = EPatternOrigin::Balanced;
    if (values.contains("--origin")) {
        const QString origin = values.value("--origin");
        if (origin == QLatin1String("corner"))
            p.origin = EPatternOrigin::Corner;
        else if (origin == QLatin1String("centre") || origin == QLatin1String("center"))
            p.origin = EPatternOrigin::Centre;
        else if (origin != QLatin1String("balanced")) {
            const QStringList xy = origin.split(QLatin1Char(','));
            if (xy.size() != 2)
                throw CUsageError{QStringLiteral("--origin is X,Y, corner, centre or balanced.")};
            p.origin = EPatternOrigin::Point;
            p.originPoint = QPointF(CliArgs::Number(QStringLiteral("--origin"), xy[0]),
                                    CliArgs::Number(QStringLiteral("--origin"), xy[1]));
        }
    }
    if (values.contains("--reference") != values.contains("--length"))
        throw CUsageError{QStringLiteral("--reference and --length go together: give both.")};
    if (values.contains("--reference")) {
        CRealSize real;
        real.reference = CliArgs::Line(QStringLiteral("--reference"), values.value("--reference"));
        real.referenceCm = CliArgs::Positive(QStringLiteral("--length"), values.value("--length"));
        o.reference = real;
    }
    return o;
}

} // namespace

int RunLayCommand(const QStringList& args)
{
    CLayOptions options;
    try {
        options = ParseOptions(args);
    } catch (const CUsageError& e) {
        PrintError(e.message);
        return kUsage;
    }
    for (const QString& path : options.pieces) {
        QString error;
        auto piece = LoadPieceImage(path, &error);
        if (!piece) {
            PrintError(error);
            return kFailed;
        }
        options.pattern.variants.push_back(std::move(*piece));
    }
    const CAreaCommand command{
        .input = options.input,
        .output = options.output,
        .area = options.area,
        .work = [&options](CTemplateData&, CArea& area, QJsonObject& json) {
            if (options.reference) {
                CRealSize real = area.GetRealSize();
                real.reference = options.reference->reference;
                real.referenceCm = options.reference->referenceCm;
                area.SetRealSize(real);
            }
            QElapsedTimer timer;
            timer.start();
            const auto result = CAreaPattern::Apply(area, options.pattern);
            const qint64 ms = timer.elapsed();
            if (!result) {
                PrintError(QStringLiteral("The area \"%1\" has no surface to lay on: it needs an outline, and its "
                                          "corners must make a plane.")
                               .arg(options.area));
                return int(kFailed);
            }
            const QImage* texture = area.GetTexture();
            json = QJsonObject{{"pattern", LayoutName(options.pattern.layout)},
                               {"pieces", result->laid},
                               {"cut", result->cut},
                               {"smallestCut", std::round(result->smallestCut * 1000) / 1000},
                               {"realSize", result->realScale},
                               {"texture", QJsonArray{texture->width(), texture->height()}},
                               {"pixelsPerCm", std::round(result->pxPerCm * 1000) / 1000},
                               {"ms", ms}};
            return int(kOk);
        }};
    return command.Run();
}
