#pragma once

#include "EncoderParameter.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QImage>
#include <QString>
#include <QUuid>
#include <optional>

// One installed image encoder, addressed by its MIME type and identifier.
class CImageEncoder
{
    // Its refusals are sentences the editor shows in the user's language.
    Q_DECLARE_TR_FUNCTIONS(CImageEncoder)

public:
    virtual ~CImageEncoder() = default;

    virtual QString MimeType() const = 0;
    virtual QUuid Clsid() const = 0;
    // The parameters the encoder accepts, in its own order; empty for none.
    virtual std::vector<CEncoderParameterInfo> Parameters() const { return {}; }
    // The whole encoded file. On failure returns nothing and sets error to a
    // sentence for the user (without the file name), for example when a
    // parameter value cannot be honoured. Parameters it does not know, and
    // the value -1 of a parameter, leave its default in force.
    virtual std::optional<QByteArray> Encode(const QImage& image, const CEncoderParameters& params,
                                             QString* error) const = 0;
    // Whether params can be honoured at all, tried on a tiny image so that
    // options the encoder refuses are told before any long work; on refusal
    // sets error as Encode does.
    bool Accepts(const CEncoderParameters& params, QString* error) const;

protected:
    // The value given for guid; fallback when it is absent or -1. The first
    // entry for a parameter counts.
    static std::int32_t ParameterValue(const CEncoderParameters& params, const QUuid& guid,
                                       std::int32_t fallback);
    // An opaque 32-bit copy with transparency composited on white, for
    // formats that cannot store alpha.
    static QImage FlattenOnWhite(const QImage& image);
    // Sets *error (when given) and returns nothing, to keep failure paths short.
    static std::optional<QByteArray> Fail(QString* error, const QString& message);
    // Refuses a null or zero-sized image.
    static bool CheckImage(const QImage& image, QString* error);
    // Encodes through Qt's writer for format; quality -1 keeps the writer's default.
    static std::optional<QByteArray> WriteWithQt(const QImage& image, const char* format,
                                                 int quality, QString* error);
};
