#pragma once

#include "document/RealSize.h"

#include <QString>

// The Real Size dialog as the editor's perspective commands see it: the
// editor shows the dialog, tests answer from a script. The dialog cannot
// draw on the picture itself, so drawing the reference line is an answer
// of its own: the line is dragged in the view and the dialog asked again.
class IRealSizePrompt
{
public:
    enum class Action { Cancel, DrawLine, Apply };
    struct Answer
    {
        Action action = Action::Cancel;
        // What the dialog held when it closed (the line as it was given).
        CRealSize values;
    };

    virtual ~IRealSizePrompt() = default;
    // values: what the dialog starts with; areaName names the area in its
    // caption.
    virtual Answer AskRealSize(const CRealSize& values, const QString& areaName) = 0;
};
