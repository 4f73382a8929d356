#include "SpinButtons.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

CSpinButtons::CSpinButtons(QWidget* parent) : QWidget(parent)
{
    const auto make = [this](Qt::ArrowType arrow, int direction) {
        auto* button = new QToolButton(this);
        button->setArrowType(arrow);
        button->setAutoRepeat(true);
        // The field keeps the keyboard focus while the arrows are clicked.
        button->setFocusPolicy(Qt::NoFocus);
        button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
        button->setFixedWidth(16);
        connect(button, &QToolButton::clicked, this, [this, direction] { Step(direction); });
        return button;
    };
    m_pUp = make(Qt::UpArrow, +1);
    m_pDown = make(Qt::DownArrow, -1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_pUp);
    layout->addWidget(m_pDown);
}

void CSpinButtons::SetBuddy(QLineEdit* buddy, const QString& what)
{
    if (m_pBuddy)
        m_pBuddy->removeEventFilter(this);
    m_pBuddy = buddy;
    if (m_pBuddy)
        m_pBuddy->installEventFilter(this);
    m_pUp->setText(tr("Increase %1").arg(what));
    m_pUp->setAccessibleName(m_pUp->text());
    m_pUp->setToolTip(m_pUp->text());
    m_pDown->setText(tr("Decrease %1").arg(what));
    m_pDown->setAccessibleName(m_pDown->text());
    m_pDown->setToolTip(m_pDown->text());
}

void CSpinButtons::SetRange(int lowest, int highest)
{
    m_nLow = std::min(lowest, highest);
    m_nHigh = std::max(lowest, highest);
    m_nPos = std::clamp(m_nPos, m_nLow, m_nHigh);
}

void CSpinButtons::SetPosition(int position)
{
    m_nPos = std::clamp(position, m_nLow, m_nHigh);
}

void CSpinButtons::Step(int direction)
{
    double from = m_nPos;
    if (m_pBuddy) {
        bool ok = false;
        const double typed = QLocale::c().toDouble(m_pBuddy->text().trimmed(), &ok);
        if (ok && std::isfinite(typed))
            from = direction > 0 ? std::floor(typed) : std::ceil(typed);
    }
    // Far outside the range the arrows restart from the nearer end.
    from = std::clamp(from, double(m_nLow) - 1.0, double(m_nHigh) + 1.0);
    int next = int(from) + (direction > 0 ? 1 : -1);
    if (next > m_nHigh)
        next = m_bWrap ? m_nLow : m_nHigh;
    else if (next < m_nLow)
        next = m_bWrap ? m_nHigh : m_nLow;
    m_nPos = next;
    if (m_pBuddy)
        m_pBuddy->setText(QString::number(next));
}

bool CSpinButtons::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_pBuddy && event->type() == QEvent::KeyPress && isEnabled()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) {
            Step(key->key() == Qt::Key_Up ? +1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
