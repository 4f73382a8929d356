#include "JsonProgress.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QString StatusName(CGroupRenderResult::Status status)
{
    switch (status) {
    case CGroupRenderResult::Status::Written:
        return QStringLiteral("written");
    case CGroupRenderResult::Status::Skipped:
        return QStringLiteral("skipped");
    case CGroupRenderResult::Status::Failed:
        return QStringLiteral("failed");
    case CGroupRenderResult::Status::Cancelled:
        break;
    }
    return QStringLiteral("cancelled");
}

} // namespace

void CJsonProgress::Report(const CGroupRenderResult& result)
{
    const bool written = result.status == CGroupRenderResult::Status::Written;
    const QJsonObject line{
        {"file", QDir::toNativeSeparators(result.output)},
        {"texture", QDir::toNativeSeparators(result.texture)},
        {"status", StatusName(result.status)},
        {"ms", result.milliseconds},
        {"bytes", written ? QFileInfo(result.output).size() : 0},
        {"error", written ? QJsonValue(QJsonValue::Null) : QJsonValue(result.message)},
    };
    const QByteArray bytes = QJsonDocument(line).toJson(QJsonDocument::Compact) + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), m_stream);
    std::fflush(m_stream);
}
