#pragma once

#include "document/TemplateFile.h"

#include <QJsonObject>
#include <QString>

#include <functional>

class CArea;

// The run every command on one area of a template shares: the template
// read (with its picture when the command needs one), the area found or
// made, the command's own work, the save carrying the warps of every
// skewed textured area, as the editor's does, and the JSON line printed.
struct CAreaCommand
{
    QString input;
    QString output;
    QString area;
    // Not empty: a template without a picture is refused as having "no
    // picture to <purpose>".
    QString picturePurpose = {};
    // A missing area is made under that name (select outlines a new one).
    bool makeArea = false;
    // Before the area is looked for: kOk, or the exit code once the reason
    // is printed.
    std::function<int(const CTemplateData&)> check = {};
    // Changes the area and fills the JSON line: kOk, or the exit code once
    // the reason is printed (nothing is saved then).
    std::function<int(CTemplateData&, CArea&, QJsonObject&)> work;

    int Run() const;
};
