#include "CliArgs.h"

#include "CliOutput.h"
#include "document/AreaNames.h"

#include <cmath>

namespace CliArgs {

CCommandLine Parse(const QStringList& args, const COptions& options)
{
    CCommandLine line;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (!a.startsWith(QLatin1String("--"))) {
            line.positional << a;
            continue;
        }
        if (options.flags.contains(a)) {
            if (!line.flags.contains(a))
                line.flags << a;
            continue;
        }
        const bool repeated = options.repeated.contains(a);
        if (!repeated && !options.values.contains(a))
            throw CUsageError{QStringLiteral("Unknown option %1.").arg(a)};
        if (i + 1 >= args.size())
            throw CUsageError{QStringLiteral("%1 needs a value.").arg(a)};
        const QString& value = args[++i];
        line.values[a] = value;
        if (repeated)
            line.inOrder.emplace_back(a, value);
    }
    return line;
}

double Number(const QString& option, const QString& text)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v))
        throw CUsageError{QStringLiteral("%1 needs a number, not \"%2\".").arg(option, text)};
    return v;
}

double Positive(const QString& option, const QString& text)
{
    const double v = Number(option, text);
    if (!(v > 0.0))
        throw CUsageError{QStringLiteral("%1 must be more than 0.").arg(option)};
    return v;
}

QLineF Line(const QString& option, const QString& text)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4)
        throw CUsageError{QStringLiteral("%1 needs four numbers X1,Y1,X2,Y2.").arg(option)};
    double v[4];
    for (int i = 0; i < 4; ++i)
        v[i] = Number(option, parts[i]);
    const QLineF line(v[0], v[1], v[2], v[3]);
    if (!(line.length() > 0.0))
        throw CUsageError{QStringLiteral("%1 must join two different points.").arg(option)};
    return line;
}

CArea* FindOnlyArea(std::vector<CArea>& areas, const QString& name, const QString& path, bool make)
{
    CArea* found = nullptr;
    int count = 0;
    for (CArea& area : areas) {
        if (area.GetName() == name) {
            found = &area;
            ++count;
        }
    }
    if (count == 1)
        return found;
    if (count == 0 && make) {
        CArea area;
        area.SetName(name);
        areas.push_back(std::move(area));
        return &areas.back();
    }
    if (count > 1)
        PrintError(QStringLiteral("%1 has %2 areas named \"%3\": rename all but one.").arg(path).arg(count).arg(name));
    else
        PrintError(QStringLiteral("%1 has no area \"%2\": %3.").arg(path, name, AreaNames(areas)));
    return nullptr;
}

} // namespace CliArgs
