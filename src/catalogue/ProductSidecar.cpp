#include "ProductSidecar.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

namespace ProductSidecar {

namespace {

// A sidecar larger than this is no list of products.
constexpr qint64 kMaxBytes = 1 << 20;

std::optional<CLayingPattern> PatternOf(const QJsonObject& product, const QDir& folder)
{
    CLayingPattern p;
    const QJsonArray size = product.value(QLatin1String("size")).toArray();
    if (size.size() != 2)
        return std::nullopt;
    p.widthCm = size[0].toDouble();
    p.heightCm = size[1].toDouble();
    for (const QJsonValue& v : product.value(QLatin1String("variants")).toArray()) {
        const auto piece = LoadPieceImage(folder.filePath(v.toString()));
        if (!piece)
            return std::nullopt;
        p.variants.push_back(*piece);
    }
    const QJsonArray layouts = product.value(QLatin1String("layouts")).toArray();
    if (!layouts.isEmpty()) {
        const auto layout = LayoutFromName(layouts.first().toString());
        if (!layout)
            return std::nullopt;
        p.layout = *layout;
    }
    p.jointMm = product.value(QLatin1String("jointMm")).toDouble(0.0);
    const QString colour = product.value(QLatin1String("jointColour")).toString();
    if (!colour.isEmpty()) {
        const QColor c = QColor::fromString(colour);
        if (!c.isValid())
            return std::nullopt;
        p.jointColour = c.rgb();
    }
    p.origin = EPatternOrigin::Balanced;
    if (!std::isfinite(p.widthCm) || !std::isfinite(p.heightCm) || !std::isfinite(p.jointMm) || !p.IsUsable())
        return std::nullopt;
    return p;
}

} // namespace

bool IsSidecar(const QString& path)
{
    return QFileInfo(path).fileName().compare(kFileName, Qt::CaseInsensitive) == 0;
}

std::optional<CLayingPattern> PatternFor(const QString& texturePath, QString* productName)
{
    const QFileInfo texture(texturePath);
    const QDir folder = texture.absoluteDir();
    QFile file(folder.filePath(kFileName));
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxBytes)
        return std::nullopt;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll());
    for (const QJsonValue& entry : doc.object().value(QLatin1String("products")).toArray()) {
        const QJsonObject product = entry.toObject();
        bool listed = false;
        for (const QJsonValue& v : product.value(QLatin1String("variants")).toArray())
            listed = listed || QFileInfo(folder.filePath(v.toString())) == texture;
        if (!listed)
            continue;
        if (productName)
            *productName = product.value(QLatin1String("name")).toString();
        return PatternOf(product, folder);
    }
    return std::nullopt;
}

} // namespace ProductSidecar
