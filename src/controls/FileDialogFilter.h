#pragma once

#include <QString>
#include <QStringList>

// The file dialogs' filters as the program writes them,
// "Label|patterns|Label|patterns|", turned into what Qt's dialogs take.
namespace FileDialogFilter {

// One "Label (patterns)" per entry, the patterns separated by spaces.
QStringList Convert(const QString& filter);
// "*.tlm" -> "tlm"; empty stays empty.
QString SuffixOf(const QString& defaultExt);

} // namespace FileDialogFilter
