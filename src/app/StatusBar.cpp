#include "StatusBar.h"

#include <QLabel>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {
const char* const kTexts[3] = {"CAP", "NUM", "SCRL"};
const char* const kNames[3] = {"Caps Lock", "Num Lock", "Scroll Lock"};
} // namespace

CStatusBar::CStatusBar(QWidget* parent) : QStatusBar(parent)
{
    m_pMessage = new QLabel(QStringLiteral("Ready"), this);
    addWidget(m_pMessage, 1);
    for (int i = 0; i < 3; ++i) {
        auto* label = new QLabel(QLatin1String(kTexts[i]), this);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setAlignment(Qt::AlignCenter);
        // Wide enough for the text whether it is shown or not.
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("SCRL")) + 10);
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
    // Qt reports modifiers, not lock states, on the other platforms.
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
        const auto state = LockState(static_cast<LockKey>(i));
        QLabel* label = m_pIndicators[i];
        if (!state) {
            label->setText(QLatin1String(kTexts[i]));
            label->setEnabled(false);
            label->setToolTip(QStringLiteral("The state of %1 is not known on this system").arg(
                QLatin1String(kNames[i])));
        } else {
            // As is usual, the text shows only while the lock is on.
            label->setText(*state ? QLatin1String(kTexts[i]) : QString());
            label->setEnabled(true);
            label->setToolTip(QLatin1String(kNames[i]));
        }
    }
}
