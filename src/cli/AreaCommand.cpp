#include "AreaCommand.h"

#include "CliArgs.h"
#include "CliOutput.h"
#include "TemplateInput.h"
#include "document/WarpCache.h"
#include "render/AreaWarpUpdates.h"

#include <QJsonDocument>

int CAreaCommand::Run() const
{
    auto data = picturePurpose.isEmpty() ? LoadTemplateOrSay(input) : LoadTemplateWithPicture(input, picturePurpose);
    if (!data)
        return kFailed;
    if (check)
        if (const int status = check(*data); status != kOk)
            return status;
    CArea* target = CliArgs::FindOnlyArea(data->areas, area, input, makeArea);
    if (!target)
        return kUsage;
    QJsonObject json;
    if (const int status = work(*data, *target, json); status != kOk)
        return status;
    // A changed area can move a skewed area's warp (its canvas, a
    // perspective's part): the file holds the warp of the new values.
    CWarpCache warps;
    InstallWarpBuilder(warps);
    QString error;
    if (!SaveTemplateFile(output, *data, &error, &warps)) {
        PrintError(error);
        return kFailed;
    }
    return WriteStdout(QJsonDocument(json).toJson(QJsonDocument::Compact) + '\n');
}
