#pragma once

#include <QString>
#include <QStringList>

// The textures on disk: a group is an immediate subfolder of the textures
// folder, its textures are the files directly inside it. Nothing is cached:
// every listing reads the folder again. No widgets here: the command-line
// tool lists groups the same way the editor does.
namespace TextureCatalogue {

// Whether a file beside the textures describes them rather than being one
// (the real sizes of a group, a product's description): JSON, never a
// picture, so never a swatch or a texture to render.
bool IsSidecar(const QString& name);

// Appends the entries found directly in folder, in the order the file system
// gives them ("." and ".." left out, hidden ones kept): subfolders to folders
// and files accepted by mask, sidecars left out, to files (either list may be null). noFiles and
// noFolders leave a kind out; fullPaths gives full paths instead of names.
// A folder that is missing or unreadable appends nothing. Returns true.
bool ListFolderEntries(const QString& folder, QStringList* files, QStringList* folders, bool noFiles,
                       bool noFolders, bool fullPaths, const QString& mask);

// The textures of a group: the full paths of the files directly in folder,
// sorted by name, so that every listing of the same folder, on any machine,
// gives the same list in the same order (the file system's own order
// differs between copies of a folder).
QStringList ListGroupTextures(const QString& folder);

// Whether a file name is accepted by a mask of "|"-separated items such as
// "*.*" or "*.jpg|oak.*": the name and each item are split at their first
// dot into base and extension; "*" matches any part. An empty mask accepts
// everything.
bool MatchesNameMask(const QString& name, const QString& mask);

// Splits text at the first separator into left and right (trimmed of white
// space when trim); false, leaving both untouched, without a separator.
bool SplitAtFirst(const QString& text, const QString& separator, QString& left, QString& right, bool trim);

// Splits text at every separator into array; an empty remainder after the
// last separator adds nothing. Returns the number of elements.
int SplitToArray(const QString& text, const QString& separator, QStringList& array);

// Removes trailing white space, then makes the path end with exactly one
// separator (add) or one fewer (not add). An empty path stays empty.
QString EnsureTrailingBackslash(const QString& path, bool add);

// The file name without its folder and its extension (the part after the
// last dot).
QString GetFileTitle(const QString& path);

} // namespace TextureCatalogue
