#include "BrowseEdit.h"

#include <QLineEdit>
#include <QPushButton>
#include <QResizeEvent>

#include <algorithm>

CBrowseEdit::CBrowseEdit(QWidget* parent) : QWidget(parent)
{
    m_pEdit = new QLineEdit(this);
    m_pButton = new QPushButton(tr("..."), this);
    // "..." says nothing to a screen reader.
    m_pButton->setAccessibleName(tr("Browse"));
    m_pButton->setToolTip(tr("Browse"));
    m_pButton->setAutoDefault(false);
    setFocusProxy(m_pEdit);
    setFocusPolicy(Qt::StrongFocus);
    connect(m_pEdit, &QLineEdit::textChanged, this, &CBrowseEdit::textChanged);
    connect(m_pButton, &QPushButton::clicked, this, [this] {
        OnBrowse();
        m_pEdit->setFocus();
    });
    setSizePolicy(m_pEdit->sizePolicy());
}

QString CBrowseEdit::text() const
{
    return m_pEdit->text();
}

void CBrowseEdit::setText(const QString& text)
{
    m_pEdit->setText(text);
}

QSize CBrowseEdit::sizeHint() const
{
    const QSize edit = m_pEdit->sizeHint();
    return QSize(edit.width() + kButtonWidth, edit.height());
}

QSize CBrowseEdit::minimumSizeHint() const
{
    const QSize edit = m_pEdit->minimumSizeHint();
    return QSize(edit.width() + kButtonWidth, edit.height());
}

void CBrowseEdit::resizeEvent(QResizeEvent* event)
{
    const int w = event->size().width(), h = event->size().height();
    m_pEdit->setGeometry(0, 0, std::max(0, w - kButtonWidth), h);
    m_pButton->setGeometry(w - kButtonWidth, 0, kButtonWidth, h);
    QWidget::resizeEvent(event);
}
