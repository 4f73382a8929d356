#pragma once

#include <QStatusBar>
#include <optional>

class QLabel;

// The message pane ("Ready" or the prompt of the command under the mouse)
// and the CAP, NUM and SCRL key indicators where the platform reports lock
// states (Windows); elsewhere the bar has no indicator panes.
class CStatusBar : public QStatusBar
{
    Q_OBJECT

public:
    enum class LockKey { Caps, Num, Scroll };

    explicit CStatusBar(QWidget* parent = nullptr);

    // On, off, or nothing when the platform does not tell.
    static std::optional<bool> LockState(LockKey key);

    void UpdateIndicators();
    // The key's pane, or null where the platform does not tell its state.
    QLabel* Indicator(LockKey key) const;
    QLabel* MessagePane() const { return m_pMessage; }

private:
    QLabel* m_pMessage;
    QLabel* m_pIndicators[3] = {nullptr, nullptr, nullptr};
};
