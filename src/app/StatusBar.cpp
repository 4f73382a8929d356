#include "StatusBar.h"

#include <QLabel>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {
const char* const kTexts[3] = {QT_TRANSLATE_NOOP("CStatusBar", "CAP"), QT_TRANSLATE_NOOP("CStatusBar", "NUM"),
                               QT_TRANSLATE_NOOP("CStatusBar", "SCRL")};
const char* const kNames[3] = {QT_TRANSLATE_NOOP("CStatusBar", "Caps Lock"),
                               QT_TRANSLATE_NOOP("CStatusBar", "Num Lock"),
                               QT_TRANSLATE_NOOP("CStatusBar", "Scroll Lock")};
} // namespace

CStatusBar::CStatusBar(QWidget* parent) : QStatusBar(parent)
{
    m_pMessage = new QLabel(tr("Ready"), this);
    addWidget(m_pMessage, 1);
    for (int i = 0; i < 3; ++i) {
        // A pane that could never show the real state would only mislead
        // (Qt reports modifiers, not lock states, on X11 and Wayland): where
        // the platform does not tell, there is no pane.
        if (!LockState(static_cast<LockKey>(i)))
            continue;
        auto* label = new QLabel(tr(kTexts[i]), this);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setAlignment(Qt::AlignCenter);
        label->setToolTip(tr(kNames[i]));
        // Wide enough for the text whether it is shown or not.
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(tr(kTexts[2])) + 10);
        addPermanentWidget(label);
        m_pIndicators[i] = label;
    }
    UpdateIndicators();
}

std::optional<bool> CStatusBar::LockState(LockKey key)
{
#ifdef Q_OS_WIN
    const int vk = key == LockKey::Caps ? VK_CAPITAL : key == LockKey::Num ? VK_NUMLOCK : VK_SCROLL;
    return (GetKeyState(vk) & 1) != 0;
#else
    Q_UNUSED(key);
    return std::nullopt;
#endif
}

QLabel* CStatusBar::Indicator(LockKey key) const
{
    return m_pIndicators[static_cast<int>(key)];
}

void CStatusBar::UpdateIndicators()
{
    for (int i = 0; i < 3; ++i) {
        QLabel* label = m_pIndicators[i];
        if (!label)
            continue;
        // As is usual, the text shows only while the lock is on.
        const bool on = LockState(static_cast<LockKey>(i)).value_or(false);
        label->setText(on ? tr(kTexts[i]) : QString());
    }
}
