#include "UiText.h"

#include <QCoreApplication>

QString CUiText::Translated() const
{
    return QCoreApplication::translate(m_context, m_source);
}

QString CUiText::Counted(const QString& text, int n)
{
    return QString(text).replace(QLatin1String("(s)"), n == 1 ? QString() : QStringLiteral("s"));
}
