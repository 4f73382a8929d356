#include "document/AreaNames.h"

#include <QStringList>

std::optional<std::size_t> AreaIndexNamed(const std::vector<CArea>& areas, const QString& name)
{
    for (std::size_t i = 0; i < areas.size(); ++i)
        if (areas[i].GetName() == name)
            return i;
    return std::nullopt;
}

QString AreaNames(const std::vector<CArea>& areas)
{
    QStringList names;
    for (const CArea& area : areas)
        names << QStringLiteral("\"%1\"").arg(area.GetName());
    return names.isEmpty() ? QStringLiteral("it has none") : QStringLiteral("its areas are ") + names.join(", ");
}
