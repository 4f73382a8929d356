#include "catalogue/TextureCatalogue.h"

#include "catalogue/ProductSidecar.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace TextureCatalogue {

namespace {

bool EndsWithSeparator(const QString& path)
{
    return path.endsWith(u'/') || path.endsWith(QDir::separator());
}

} // namespace

bool IsSidecar(const QString& name)
{
    return name.endsWith(QStringLiteral(".json"), Qt::CaseInsensitive);
}

bool ListFolderEntries(const QString& folder, QStringList* files, QStringList* folders, bool noFiles,
                       bool noFolders, bool fullPaths, const QString& mask)
{
    const QString base = EnsureTrailingBackslash(folder, true);
    const QDir dir(base);
    if (base.isEmpty() || !dir.exists())
        return true;
    // Unsorted: the file system's own order; hidden and system entries too.
    const QFileInfoList entries =
        dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Unsorted);
    for (const QFileInfo& entry : entries) {
        const QString name = entry.fileName();
        const QString value = fullPaths ? base + name : name;
        if (entry.isDir()) {
            if (folders && !noFolders)
                folders->append(value);
        } else if (files && !noFiles && !IsSidecar(name) && MatchesNameMask(name, mask)) {
            files->append(value);
        }
    }
    return true;
}

QStringList ListGroupTextures(const QString& folder)
{
    QStringList files;
    ListFolderEntries(folder, &files, nullptr, false, true, true, QString());
    // A group's list of products describes its pictures and is none.
    files.removeIf([](const QString& path) { return ProductSidecar::IsSidecar(path); });
    // By code unit rather than the locale's collation, which differs
    // between machines.
    std::sort(files.begin(), files.end());
    return files;
}

bool MatchesNameMask(const QString& name, const QString& mask)
{
    if (mask.isEmpty())
        return true;
    QString base, extension;
    SplitAtFirst(name, QStringLiteral("."), base, extension, false);
    QStringList items;
    SplitToArray(mask, QStringLiteral("|"), items);
    for (const QString& item : items) {
        QString patternBase, patternExtension;
        SplitAtFirst(item.toLower(), QStringLiteral("."), patternBase, patternExtension, false);
        const bool anyBase = patternBase == u"*", anyExtension = patternExtension == u"*";
        if ((anyBase && anyExtension) || (anyBase && patternExtension == extension) ||
            (patternBase == base && patternExtension == extension) || (patternBase == base && anyExtension))
            return true;
    }
    return false;
}

bool SplitAtFirst(const QString& text, const QString& separator, QString& left, QString& right, bool trim)
{
    const qsizetype at = text.indexOf(separator);
    if (at < 0)
        return false;
    left = text.left(at);
    right = text.mid(at + separator.size());
    if (trim) {
        left = left.trimmed();
        right = right.trimmed();
    }
    return true;
}

int SplitToArray(const QString& text, const QString& separator, QStringList& array)
{
    int count = 0;
    qsizetype from = 0;
    while (!separator.isEmpty()) {
        const qsizetype at = text.indexOf(separator, from);
        if (at < 0)
            break;
        array.append(text.mid(from, at - from));
        ++count;
        from = at + separator.size();
    }
    if (from < text.size()) {
        array.append(text.mid(from));
        ++count;
    }
    return count;
}

QString EnsureTrailingBackslash(const QString& path, bool add)
{
    QString result = path;
    while (!result.isEmpty() && result.back().isSpace())
        result.chop(1);
    if (result.isEmpty())
        return result;
    if (add) {
        if (!EndsWithSeparator(result))
            result += QDir::separator();
    } else if (EndsWithSeparator(result)) {
        result.chop(1);
    }
    return result;
}

QString GetFileTitle(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? name : name.left(dot);
}

} // namespace TextureCatalogue
