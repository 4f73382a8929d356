#pragma once

#include "document/Area.h"

#include <QLineF>
#include <QMap>
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

// The pieces of a command line that the area commands share; each raises
// CUsageError with the reason when the text is not what it should be.
namespace CliArgs {

// The options a command takes.
struct COptions
{
    // --name VALUE; given twice, the last counts.
    QStringList values;
    // --name alone.
    QStringList flags = {};
    // --name VALUE any number of times, kept in the order given (they also
    // count as values, the last one's).
    QStringList repeated = {};
};

// A command's arguments read: what is not an option, the options' values,
// the flags given, and the repeated options in order.
struct CCommandLine
{
    QStringList positional;
    QMap<QString, QString> values;
    QStringList flags;
    std::vector<std::pair<QString, QString>> inOrder;

    bool Has(const QString& option) const { return values.contains(option) || flags.contains(option); }
    QString Value(const QString& option, const QString& fallback = {}) const { return values.value(option, fallback); }
};

// The one reading of every command's arguments: an option the command does
// not take, or one without its value, is refused with the reason.
CCommandLine Parse(const QStringList& args, const COptions& options);

double Number(const QString& option, const QString& text);
double Positive(const QString& option, const QString& text);
// Four numbers X1,Y1,X2,Y2 joining two different points.
QLineF Line(const QString& option, const QString& text);

// The one area of that name; otherwise prints why there is none and
// gives null. With make, a name no area has gets a new, empty area.
CArea* FindOnlyArea(std::vector<CArea>& areas, const QString& name, const QString& path, bool make = false);

} // namespace CliArgs
