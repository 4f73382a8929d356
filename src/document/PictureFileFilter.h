#pragma once

#include <QString>
#include <QStringList>

// The "Select picture" dialog's filter, in the program's "Label|patterns|"
// form: the picture formats this program handles that the image reader
// installed here can actually read, then every file.
namespace PictureFileFilter {

// "*.bmp", "*.png", ... in a fixed order; only those the reader reads.
QStringList Patterns();
// "All available formats(*.bmp *.png ...)|*.bmp;*.png;...|All files(*.*)|*.*|"
QString Filter();

} // namespace PictureFileFilter
