#pragma once

#include <QStringList>

// tilemont-cli select TEMPLATE.tlm --area NAME --at X,Y [--method wand]
// [--tolerance T] [--global] [--out OUT.tlm]: finds the region around the
// picture pixel X,Y and makes it the outline of the named area (a new area
// without texture when there is none of that name), then writes the
// template and prints the region as one line of JSON. Returns the exit
// status (0 written, 1 a point outside the picture, no picture or a file
// failed, 2 wrong command line or an area name several areas share).
int RunSelectCommand(const QStringList& args);
