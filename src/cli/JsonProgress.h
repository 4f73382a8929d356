#pragma once

#include "export/GroupRender.h"

#include <cstdio>

// Progress for a scheduler or a dashboard: one JSON object per finished
// image, on a line of its own, flushed at once:
// {"file": "out/kitchen/oak.png", "texture": "textures/wood/oak.jpg",
//  "status": "written", "ms": 412, "bytes": 5123456, "error": null}
// status is written, skipped or failed; error is the reason a failed or
// skipped image was not written, null for one written.
class CJsonProgress
{
public:
    explicit CJsonProgress(std::FILE* stream) : m_stream(stream) {}

    // One call at a time.
    void Report(const CGroupRenderResult& result);

private:
    std::FILE* m_stream;
};
