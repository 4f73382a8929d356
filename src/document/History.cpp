#include "History.h"

#include "DocCommand.h"

#include <QImage>

#include <algorithm>
#include <unordered_set>

CHistory::CHistory(int maxSteps, qint64 maxImageBytes)
    : m_nMaxSteps(std::max(1, maxSteps)), m_nMaxImageBytes(maxImageBytes)
{
}

CHistory::~CHistory() = default;

const CDocCommand* CHistory::Command(int i) const
{
    return i >= 0 && i < Count() ? m_steps[std::size_t(i)].get() : nullptr;
}

QString CHistory::UndoText() const
{
    return CanUndo() ? m_steps[std::size_t(m_nIndex - 1)]->text() : QString();
}

QString CHistory::RedoText() const
{
    return CanRedo() ? m_steps[std::size_t(m_nIndex)]->text() : QString();
}

void CHistory::Push(std::unique_ptr<CDocCommand> command)
{
    if (!command)
        return;
    command->redo();

    if (m_nIndex < Count()) {
        // The redo tail goes. If only selection steps stood between here and
        // the clean point, the content is still what was saved.
        if (m_nClean > m_nIndex) {
            bool contentAhead = false;
            for (int i = m_nIndex; i < m_nClean; ++i)
                contentAhead = contentAhead || m_steps[std::size_t(i)]->ChangesContent();
            m_nClean = contentAhead ? -1 : m_nIndex;
        }
        m_steps.erase(m_steps.begin() + m_nIndex, m_steps.end());
    }

    CDocCommand* current = m_nIndex > 0 ? m_steps[std::size_t(m_nIndex - 1)].get() : nullptr;
    if (current && command->id() != -1 && current->id() == command->id() && m_nIndex != m_nClean &&
        current->mergeWith(command.get())) {
        if (current->isObsolete()) {
            m_steps.pop_back();
            --m_nIndex;
        }
    } else if (!command->isObsolete()) {
        m_steps.push_back(std::move(command));
        ++m_nIndex;
    }
    Trim();
    Changed();
}

void CHistory::Undo()
{
    if (!CanUndo())
        return;
    --m_nIndex;
    m_steps[std::size_t(m_nIndex)]->undo();
    Changed();
}

void CHistory::Redo()
{
    if (!CanRedo())
        return;
    m_steps[std::size_t(m_nIndex)]->redo();
    ++m_nIndex;
    Changed();
}

void CHistory::Clear()
{
    m_steps.clear();
    m_nIndex = 0;
    m_nClean = 0;
    Changed();
}

bool CHistory::ContentDiffersFromClean() const
{
    if (m_nClean < 0)
        return true;
    const int from = std::min(m_nClean, m_nIndex), to = std::max(m_nClean, m_nIndex);
    for (int i = from; i < to; ++i)
        if (m_steps[std::size_t(i)]->ChangesContent())
            return true;
    return false;
}

qint64 CHistory::ImageBytes() const
{
    // Steps share images with each other and with the document; each
    // distinct image counts once.
    std::unordered_set<qint64> seen;
    qint64 bytes = 0;
    for (const auto& step : m_steps) {
        step->VisitImages([&](const QImage& image) {
            if (!image.isNull() && seen.insert(image.cacheKey()).second)
                bytes += image.sizeInBytes();
        });
    }
    return bytes;
}

void CHistory::DropOldest(int n)
{
    n = std::min(n, m_nIndex);
    if (n <= 0)
        return;
    m_steps.erase(m_steps.begin(), m_steps.begin() + n);
    m_nIndex -= n;
    m_nClean = m_nClean >= n ? m_nClean - n : -1;
}

void CHistory::Trim()
{
    if (Count() > m_nMaxSteps)
        DropOldest(Count() - m_nMaxSteps);
    // The newest step always stays, however large: it is what the user
    // expects to undo first.
    while (m_nIndex > 1 && ImageBytes() > m_nMaxImageBytes)
        DropOldest(1);
}

void CHistory::Changed() const
{
    if (m_listener)
        m_listener();
}
