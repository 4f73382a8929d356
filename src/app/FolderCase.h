#pragma once

#include <QString>

// Working folders are kept in lower case only where the file system ignores
// case: there the change is harmless and makes names compare equal, while on
// a case-sensitive file system it would name another (usually missing) folder.
namespace FolderCase {

// True when the file system holding path (or its nearest existing parent)
// finds names regardless of case.
bool FileSystemIgnoresCase(const QString& path);

// path lower-cased where its file system ignores case, unchanged elsewhere.
QString Normalise(const QString& path);

} // namespace FolderCase
