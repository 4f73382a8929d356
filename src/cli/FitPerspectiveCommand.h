#pragma once

#include <QStringList>

// tilemont-cli fit-perspective TEMPLATE.tlm --area NAME [--focal PIXELS]
// [--reference X1,Y1,X2,Y2 --length CM --texture-width CM] [--out OUT.tlm]:
// finds the plane of the named area in the picture, lays it into the area
// and writes the template, printing the fit as one line of JSON. Returns
// the exit status (0 written, 1 no perspective found or a file failed,
// 2 wrong command line).
int RunFitPerspectiveCommand(const QStringList& args);
