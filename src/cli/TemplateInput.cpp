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

std::optional<CTemplateData> LoadTemplateWithPicture(const QString& path, const QString& purpose)
{
    auto data = LoadTemplateOrSay(path);
    if (data && !data->picture) {
        PrintError(QStringLiteral("%1 has no picture to %2.").arg(path, purpose));
        return std::nullopt;
    }
    return data;
}
