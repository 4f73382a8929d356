#include "TextureSizes.h"

#include "document/Messages.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <cmath>

namespace {

// Far more than any folder of textures needs; a larger file is no sidecar
// of ours and is not read into memory.
constexpr qint64 kMaxSidecarBytes = 4 << 20;

QString SidecarPath(const QFileInfo& texture)
{
    return texture.dir().filePath(TextureSizes::kFileName);
}

QJsonObject ReadSidecar(const QString& path)
{
    QFile file(path);
    if (file.size() > kMaxSidecarBytes || !file.open(QIODevice::ReadOnly))
        return {};
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll());
    return doc.isObject() ? doc.object() : QJsonObject();
}

bool IsWidth(double cm)
{
    return std::isfinite(cm) && cm > 0.0;
}

void SetError(QString* error, const QString& message)
{
    if (error)
        *error = message;
}

} // namespace

namespace TextureSizes {

std::optional<double> ReadTextureWidth(const QString& texturePath)
{
    const QFileInfo texture(texturePath);
    const QJsonValue value = ReadSidecar(SidecarPath(texture)).value(texture.fileName());
    if (!value.isDouble() || !IsWidth(value.toDouble()))
        return std::nullopt;
    return value.toDouble();
}

bool WriteTextureWidth(const QString& texturePath, double cm, QString* error)
{
    const QFileInfo texture(texturePath);
    const QString path = SidecarPath(texture);
    if (!IsWidth(cm) || texture.fileName().isEmpty()) {
        SetError(error,
                 QCoreApplication::translate("TextureSizes", "A texture's real width must be a length of more than 0 cm."));
        return false;
    }
    QJsonObject sizes = ReadSidecar(path);
    sizes.insert(texture.fileName(), cm);
    const QByteArray bytes = QJsonDocument(sizes).toJson(QJsonDocument::Indented);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        SetError(error, Messages::kWriteDenied.arg(QDir::toNativeSeparators(path)));
        return false;
    }
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        SetError(error, Messages::kWriteError.arg(QDir::toNativeSeparators(path)));
        return false;
    }
    return true;
}

} // namespace TextureSizes
