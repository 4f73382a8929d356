#include "QuietNotices.h"

#include <QString>

CQuietNotices::CQuietNotices()
{
    s_previous = qInstallMessageHandler(&Handle);
}

CQuietNotices::~CQuietNotices()
{
    qInstallMessageHandler(s_previous);
}

void CQuietNotices::Handle(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.startsWith(QLatin1String("This plugin does not support")) ||
        qstrcmp(context.category, "qt.gui.imageio.jpeg") == 0)
        return;
    if (s_previous)
        s_previous(type, context, message);
}
