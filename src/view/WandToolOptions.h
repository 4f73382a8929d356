#pragma once

#include "analysis/MagicWand.h"

#include <functional>
#include <vector>

// The wand's options as the user last set them: one set for the whole
// editor, shared by every view's wand, shown in the Tool Options bar and
// kept in the settings. Whoever changes them tells the listeners.
class CWandToolOptions
{
public:
    static CWandToolOptions& Instance();

    const SWandOptions& Get() const { return m_options; }
    // Takes new values (held within their ranges) and tells every listener
    // when they differ from the current ones.
    void Set(SWandOptions options);

    using Listener = std::function<void(const SWandOptions&)>;
    // Returns a number for RemoveListener.
    int AddListener(Listener listener);
    void RemoveListener(int id);

    static constexpr int kMaxSpeck = 1 << 20;

private:
    SWandOptions m_options;
    std::vector<std::pair<int, Listener>> m_listeners;
    int m_nextId = 1;
};
