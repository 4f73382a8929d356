#include "ExportFormats.h"

#include <algorithm>

namespace {

qsizetype NameStart(const QString& path)
{
    return std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\'))) + 1;
}

} // namespace

QString ReplaceExtension(const QString& path, const QString& extension)
{
    const qsizetype nameStart = NameStart(path);
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    return (dot >= nameStart ? path.left(dot) : path) + extension;
}

QString WithExtension(const QString& path, const QString& extension)
{
    const qsizetype nameStart = NameStart(path);
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    // A leading dot names a hidden file rather than starting an extension; a
    // trailing one ends the name without giving one, and would otherwise
    // double up with the extension's own. A bare folder is no file name and
    // is left for the export to refuse.
    if (nameStart == path.size() || (dot > nameStart && dot < path.size() - 1))
        return path;
    return (dot == path.size() - 1 && dot > nameStart ? path.left(dot) : path) + extension;
}
