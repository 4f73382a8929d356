#pragma once

#include "analysis/MagicWand.h"

#include <functional>
#include <optional>
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
    // Removes a listener of either kind.
    void RemoveListener(int id);

    // The tolerance a wand drag has reached while it lasts, which the bar
    // shows without taking it (the release takes it, Escape drops it);
    // nothing once the drag ends. Told to the drag listeners.
    void ShowDragTolerance(std::optional<int> tolerance);
    std::optional<int> DragTolerance() const { return m_dragTolerance; }
    using DragListener = std::function<void(std::optional<int>)>;
    int AddDragListener(DragListener listener);

    static constexpr int kMaxSpeck = 1 << 20;

private:
    SWandOptions m_options;
    std::optional<int> m_dragTolerance;
    std::vector<std::pair<int, Listener>> m_listeners;
    std::vector<std::pair<int, DragListener>> m_dragListeners;
    int m_nextId = 1;
};
