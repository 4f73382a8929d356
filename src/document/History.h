#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>
#include <memory>
#include <vector>

class CDocCommand;

// A document's undo history: QUndoStack's model (push runs the step and may
// merge it into the previous one by their ids, a clean point marks what was
// saved), bounded by a number of steps and by the bytes of the images the
// steps keep alive, whichever is reached first; the oldest steps go.
// QUndoStack can only bound the count, hence this small stack of our own.
class CHistory
{
public:
    static constexpr int kDefaultMaxSteps = 200;
    static constexpr qint64 kDefaultMaxImageBytes = qint64(1) << 30;

    explicit CHistory(int maxSteps = kDefaultMaxSteps, qint64 maxImageBytes = kDefaultMaxImageBytes);
    ~CHistory();
    CHistory(const CHistory&) = delete;
    CHistory& operator=(const CHistory&) = delete;

    // Runs the step and records it after the current one, dropping what
    // could be redone. A step that merges into the current one (same id
    // other than -1, and the current one is not the clean point) is folded
    // in; when the merge leaves nothing to do, the current step goes too.
    void Push(std::unique_ptr<CDocCommand> command);
    bool CanUndo() const { return m_nIndex > 0; }
    bool CanRedo() const { return m_nIndex < Count(); }
    QString UndoText() const;
    QString RedoText() const;
    void Undo();
    void Redo();

    // Forgets every step; the present becomes the clean point.
    void Clear();
    void SetClean() { m_nClean = m_nIndex; }
    // -1 when the clean state can no longer be reached.
    int CleanIndex() const { return m_nClean; }
    int Index() const { return m_nIndex; }
    int Count() const { return int(m_steps.size()); }
    const CDocCommand* Command(int i) const;
    // Whether a step that changes the content lies between the clean point
    // and now; true when the clean point is gone.
    bool ContentDiffersFromClean() const;
    // Bytes of the distinct images the steps hold.
    qint64 ImageBytes() const;

    // Told after every change of the index, the steps or the clean point.
    void SetListener(std::function<void()> listener) { m_listener = std::move(listener); }

private:
    void DropOldest(int n);
    void Trim();
    void Changed() const;

    std::vector<std::unique_ptr<CDocCommand>> m_steps;
    int m_nIndex = 0;
    int m_nClean = 0;
    int m_nMaxSteps;
    qint64 m_nMaxImageBytes;
    std::function<void()> m_listener;
};
