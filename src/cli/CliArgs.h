#pragma once

#include "document/Area.h"

#include <QLineF>
#include <QMap>
#include <QString>
#include <QStringList>
#include <vector>

// The pieces of a command line that the area commands share; each raises
// CUsageError with the reason when the text is not what it should be.
namespace CliArgs {

// Splits args into positional arguments and --option values; an option
// not in valueOptions, or one without its value, is refused.
void Split(const QStringList& args, const QStringList& valueOptions, QStringList& positional,
           QMap<QString, QString>& values);

double Number(const QString& option, const QString& text);
double Positive(const QString& option, const QString& text);
// Four numbers X1,Y1,X2,Y2 joining two different points.
QLineF Line(const QString& option, const QString& text);

// The one area of that name; otherwise prints why there is none and
// gives null.
CArea* FindOnlyArea(std::vector<CArea>& areas, const QString& name, const QString& path);

} // namespace CliArgs
