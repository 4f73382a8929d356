#include "EncoderOptions.h"

#include "CliOutput.h"
#include "codecs/EncoderGuids.h"

#include <QStringList>
#include <algorithm>

namespace {

const QString kNotAnInteger = QStringLiteral("Please enter an integer.");
const QString kIntegerBetween = QStringLiteral("Please enter an integer between %1 and %2.");

// A value given by name or by number; the number must be one the encoder
// offers, as the dialog's lists hold only those.
std::int32_t ParseChoice(const QString& option, const QString& text, const QMap<QString, int>& names,
                         const CEncoderParameterInfo& info)
{
    const int value = names.contains(text.toLower()) ? names.value(text.toLower()) : ParseInteger(text);
    if (std::find(info.values.begin(), info.values.end(), value) == info.values.end()) {
        QStringList offered;
        for (std::int32_t v : info.values)
            offered << QString::number(v);
        throw CUsageError{QStringLiteral("%1 must be one of %2 (or %3).")
                              .arg(option, QStringList(names.keys()).join(QStringLiteral(", ")),
                                   offered.join(QStringLiteral(", ")))};
    }
    return value;
}

const CEncoderParameterInfo* FindParameter(const std::vector<CEncoderParameterInfo>& params, const QUuid& guid)
{
    for (const CEncoderParameterInfo& p : params)
        if (p.guid == guid)
            return &p;
    return nullptr;
}

} // namespace

int ParseInteger(const QString& text)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    if (!ok)
        throw CUsageError{kNotAnInteger};
    return v;
}

QString MimeForFormat(const QString& format)
{
    static const QMap<QString, QString> mimes{
        {"bmp", "image/bmp"},   {"gif", "image/gif"},  {"jpeg", "image/jpeg"}, {"jpg", "image/jpeg"},
        {"png", "image/png"},   {"tiff", "image/tiff"}, {"tif", "image/tiff"},
    };
    return mimes.value(format.toLower());
}

CEncoderParameters ChooseParameters(const CImageEncoder& encoder, const QMap<QString, QString>& values)
{
    const auto params = encoder.Parameters();
    CEncoderParameters chosen;
    for (const CEncoderParameterInfo& p : params)
        if (!p.values.empty())
            chosen.push_back({p.guid, p.values.back()});
    const auto set = [&](const QUuid& guid, std::int32_t value) {
        for (CEncoderParameterValue& v : chosen)
            if (v.guid == guid)
                v.value = value;
    };
    const auto need = [&](const QString& option, const QUuid& guid) -> const CEncoderParameterInfo& {
        const CEncoderParameterInfo* info = FindParameter(params, guid);
        if (!info)
            throw CUsageError{QStringLiteral("%1 does not apply to %2.").arg(option, encoder.MimeType())};
        return *info;
    };
    if (values.contains("--quality")) {
        const CEncoderParameterInfo& info = need("--quality", EncoderGuid::kQuality);
        const int q = ParseInteger(values.value("--quality"));
        const int lo = info.values.size() == 2 ? info.values[0] : 0;
        const int hi = info.values.size() == 2 ? info.values[1] : 100;
        if (q < lo || q > hi)
            throw CUsageError{kIntegerBetween.arg(lo).arg(hi)};
        set(EncoderGuid::kQuality, q);
    }
    if (values.contains("--transformation")) {
        static const QMap<QString, int> names{
            {"none", kTransformNone},           {"rotate90", kTransformRotate90},
            {"rotate180", kTransformRotate180}, {"rotate270", kTransformRotate270},
            {"flip-horizontal", kTransformFlipHorizontal}, {"flip-vertical", kTransformFlipVertical}};
        set(EncoderGuid::kTransformation,
            ParseChoice("--transformation", values.value("--transformation"), names,
                        need("--transformation", EncoderGuid::kTransformation)));
    }
    if (values.contains("--compression")) {
        static const QMap<QString, int> names{{"none", kCompressionNone},     {"lzw", kCompressionLzw},
                                              {"ccitt3", kCompressionCcitt3}, {"ccitt4", kCompressionCcitt4},
                                              {"rle", kCompressionRle}};
        set(EncoderGuid::kCompression, ParseChoice("--compression", values.value("--compression"), names,
                                                   need("--compression", EncoderGuid::kCompression)));
    }
    if (values.contains("--color-depth"))
        set(EncoderGuid::kColorDepth, ParseChoice("--color-depth", values.value("--color-depth"), {},
                                                  need("--color-depth", EncoderGuid::kColorDepth)));
    return chosen;
}

QSize ExportSize(QSize picture, std::optional<int> width, std::optional<int> height)
{
    const int w = picture.width(), h = picture.height();
    const double aspect = double(w) / h;
    return QSize(width.value_or(height ? int(*height * aspect) : w),
                 height.value_or(width ? int(*width / aspect) : h));
}
