#include "view/WandToolOptions.h"

#include <algorithm>

CWandToolOptions& CWandToolOptions::Instance()
{
    static CWandToolOptions options;
    return options;
}

void CWandToolOptions::Set(SWandOptions options)
{
    options.tolerance = std::clamp(options.tolerance, 0, CMagicWand::kMaxTolerance);
    options.minSpeck = std::clamp(options.minSpeck, 0, kMaxSpeck);
    if (options.tolerance == m_options.tolerance && options.contiguous == m_options.contiguous
        && options.minSpeck == m_options.minSpeck)
        return;
    m_options = options;
    // A copy: a listener may add or remove listeners.
    const auto listeners = m_listeners;
    for (const auto& [id, listener] : listeners)
        listener(m_options);
}

int CWandToolOptions::AddListener(Listener listener)
{
    m_listeners.emplace_back(m_nextId, std::move(listener));
    return m_nextId++;
}

int CWandToolOptions::AddDragListener(DragListener listener)
{
    m_dragListeners.emplace_back(m_nextId, std::move(listener));
    return m_nextId++;
}

void CWandToolOptions::RemoveListener(int id)
{
    std::erase_if(m_listeners, [id](const auto& entry) { return entry.first == id; });
    std::erase_if(m_dragListeners, [id](const auto& entry) { return entry.first == id; });
}

void CWandToolOptions::ShowDragTolerance(std::optional<int> tolerance)
{
    if (tolerance == m_dragTolerance)
        return;
    m_dragTolerance = tolerance;
    const auto listeners = m_dragListeners;
    for (const auto& [id, listener] : listeners)
        listener(tolerance);
}
