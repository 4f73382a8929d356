#pragma once

#include "document/LayingPattern.h"

#include <QString>
#include <functional>
#include <optional>

// The Pattern dialog as the editor's pattern command sees it: the editor
// shows the dialog, tests answer from a script. Every change made in the
// dialog is shown at once through preview; the answer is the pattern to
// keep, or nothing for Cancel.
class IPatternPrompt
{
public:
    using Preview = std::function<void(const CLayingPattern&)>;

    virtual ~IPatternPrompt() = default;
    // start: what the dialog opens with; realSize: whether the area has a
    // reference line, without which the pieces cannot lie at their real
    // size.
    virtual std::optional<CLayingPattern> AskPattern(const CLayingPattern& start, const QString& areaName,
                                                     bool realSize, const Preview& preview) = 0;
};
