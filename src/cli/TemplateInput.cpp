#include "TemplateInput.h"

#include "CliOutput.h"

std::optional<CTemplateData> LoadTemplateOrSay(const QString& path)
{
    QString error;
    auto data = LoadTemplateFile(path, &error);
    if (!data)
        PrintError(error);
    else if (!data->warning.isEmpty())
        PrintError(QStringLiteral("warning: ") + data->warning);
    return data;
}

QString AreaNames(const std::vector<CArea>& areas)
{
    QStringList names;
    for (const CArea& area : areas)
        names << QStringLiteral("\"%1\"").arg(area.GetName());
    return names.isEmpty() ? QStringLiteral("it has none") : QStringLiteral("its areas are ") + names.join(", ");
}

std::optional<CTemplateData> LoadTemplateWithPicture(const QString& path, const QString& purpose)
{
    auto data = LoadTemplateOrSay(path);
    if (data && !data->picture) {
        PrintError(QStringLiteral("%1 has no picture to %2.").arg(path, purpose));
        return std::nullopt;
    }
    return data;
}
