#include "UiText.h"

#include <QCoreApplication>

QString CUiText::Translated() const
{
    return QCoreApplication::translate(m_context, m_source);
}
