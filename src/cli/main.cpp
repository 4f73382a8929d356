// tilemont-cli: templates without the editor, for scripts and checks.
#include "CatalogueCommand.h"
#include "DemoWorkspace.h"
#include "CliOutput.h"
#include "ExportCommand.h"
#include "FitPerspectiveCommand.h"
#include "LayCommand.h"
#include "RenderGroupCommand.h"
#include "SelectCommand.h"
#include "TemplateInput.h"
#include "TemplateJson.h"
#include "ThumbnailCommand.h"
#include "document/TemplateFile.h"
#include "document/WarpCache.h"
#include "render/AreaWarpUpdates.h"

#include "TilemontVersion.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QStringList>

namespace {

int Usage()
{
    PrintError(QStringLiteral(
        "usage: tilemont-cli info FILE.tlm\n"
        "       tilemont-cli make DESC.json OUT.tlm\n"
        "       tilemont-cli resave IN.tlm OUT.tlm\n"
        "       tilemont-cli export IN.tlm OUT [--width W] [--height H] [--format bmp|gif|jpeg|png|tiff]\n"
        "                    [--quality Q] [--transformation T] [--compression C] [--color-depth D]\n"
        "                    [--keep-shading] [--shading-strength PERCENT]\n"
        "       tilemont-cli render-group TEMPLATE.tlm --area NAME --group DIR --out DIR\n"
        "                    [--format bmp|gif|jpg|png|tiff] [--width W] [--height H] [encoder options as for export]\n"
        "                    [--jobs N] [--shard K/N|auto/N] [--progress json] [--keep-shading] [--overwrite]\n"
        "                    [--shading-strength PERCENT]\n"
        "       tilemont-cli render-catalogue MANIFEST.json --out DIR [--shard K/N|auto/N] [--jobs N]\n"
        "                    [--format bmp|gif|jpg|png|tiff] [--width W] [--height H] [encoder options as for export]\n"
        "                    [--progress json] [--keep-shading] [--shading-strength PERCENT] [--overwrite]\n"
        "                    [--dry-run]\n"
        "       tilemont-cli fit-perspective TEMPLATE.tlm --area NAME [--focal PIXELS] [--surface auto|floor|wall]\n"
        "                    [--reference X1,Y1,X2,Y2 --length CM --texture-width CM] [--out OUT.tlm]\n"
        "       tilemont-cli lay TEMPLATE.tlm --area NAME --pattern LAYOUT --piece IMG[,IMG...] --size WxH\n"
        "                    [--joint MM] [--joint-colour #RRGGBB] [--angle DEG] [--seed N]\n"
        "                    [--origin X,Y|corner|centre|balanced] [--reference X1,Y1,X2,Y2 --length CM] [--out OUT.tlm]\n"
        "                    (LAYOUT: straight, offset-half, offset-third, random-offset, herringbone, chevron,\n"
        "                    basket, diagonal)\n"
        "       tilemont-cli select TEMPLATE.tlm --area NAME --at X,Y [--method wand|surface] [--tolerance T]\n"
        "                    [--global] [--at X,Y ...] [--not X,Y ...] [--around X,Y,W,H] [--out OUT.tlm]\n"
        "       tilemont-cli thumbnail TEMPLATE.tlm OUT.png [--size N]\n"
        "       tilemont-cli encoders\n"
        "       tilemont-cli demo FOLDER\n"
        "       tilemont-cli --version"));
    return kUsage;
}

int Save(const QString& path, const CTemplateData& data, const IAreaWarpSource* warps = nullptr)
{
    QString error;
    if (!SaveTemplateFile(path, data, &error, warps)) {
        PrintError(error);
        return kFailed;
    }
    return kOk;
}

int Info(const QString& path)
{
    const auto data = LoadTemplateOrSay(path);
    if (!data)
        return kFailed;
    const QByteArray json = QJsonDocument(TemplateToJson(*data)).toJson(QJsonDocument::Indented);
    return WriteStdout(json);
}

int Make(const QString& descPath, const QString& outPath)
{
    QFile file(descPath);
    if (!file.open(QIODevice::ReadOnly)) {
        PrintError(QStringLiteral("%1 could not be opened.").arg(descPath));
        return kFailed;
    }
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (parseError.error != QJsonParseError::NoError || !doc.isObject()) {
        const QString why = parseError.error != QJsonParseError::NoError ? parseError.errorString()
                                                                         : QStringLiteral("an object is expected");
        PrintError(QStringLiteral("%1: not a template description (%2).").arg(descPath, why));
        return kFailed;
    }
    QString error;
    const auto data = TemplateFromJson(doc.object(), QFileInfo(descPath).absolutePath(), &error);
    if (!data) {
        PrintError(QStringLiteral("%1: %2").arg(descPath, error));
        return kFailed;
    }
    // A made template carries the warp of every skewed textured area, as a
    // save in the editor does; a resave writes back what was read.
    CWarpCache warps;
    InstallWarpBuilder(warps);
    return Save(outPath, *data, &warps);
}

int Resave(const QString& inPath, const QString& outPath)
{
    const auto data = LoadTemplateOrSay(inPath);
    return data ? Save(outPath, *data) : kFailed;
}

int Demo(const QString& folder)
{
    CDemoWorkspace::Outcome outcome;
    QString error;
    if (!CDemoWorkspace::Create(folder, &outcome, &error)) {
        PrintError(error);
        return kFailed;
    }
    return WriteStdout(QStringLiteral("%1: %2 files written, %3 kept.\n")
                           .arg(QDir::toNativeSeparators(folder))
                           .arg(outcome.written)
                           .arg(outcome.kept)
                           .toLocal8Bit());
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral(TILEMONT_VERSION));
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return Usage();
    const QString& command = args[0];
    if (command == QLatin1String("info") && args.size() == 2)
        return Info(args[1]);
    if (command == QLatin1String("make") && args.size() == 3)
        return Make(args[1], args[2]);
    if (command == QLatin1String("resave") && args.size() == 3)
        return Resave(args[1], args[2]);
    if (command == QLatin1String("export") && args.size() >= 3)
        return RunExportCommand(args.mid(1));
    if (command == QLatin1String("render-group") && args.size() >= 2)
        return RunRenderGroupCommand(args.mid(1));
    if (command == QLatin1String("render-catalogue") && args.size() >= 2)
        return RunRenderCatalogueCommand(args.mid(1));
    if (command == QLatin1String("fit-perspective") && args.size() >= 2)
        return RunFitPerspectiveCommand(args.mid(1));
    if (command == QLatin1String("lay") && args.size() >= 2)
        return RunLayCommand(args.mid(1));
    if (command == QLatin1String("select") && args.size() >= 2)
        return RunSelectCommand(args.mid(1));
    if (command == QLatin1String("thumbnail") && args.size() >= 2)
        return RunThumbnailCommand(args.mid(1));
    if (command == QLatin1String("encoders") && args.size() == 1)
        return RunEncodersCommand();
    if (command == QLatin1String("--version") && args.size() == 1)
        return WriteStdout(QStringLiteral("tilemont-cli %1\n").arg(QCoreApplication::applicationVersion()).toLocal8Bit());
    if (command == QLatin1String("demo") && args.size() == 2 && !args[1].isEmpty())
        return Demo(args[1]);
    return Usage();
}
