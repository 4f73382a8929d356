#include "HeifDecoder.h"

#include <libheif/heif.h>

#include <cstring>

namespace {

struct SContextFree
{
    void operator()(heif_context* c) const { heif_context_free(c); }
};
struct SHandleRelease
{
    void operator()(heif_image_handle* h) const { heif_image_handle_release(h); }
};
struct SImageRelease
{
    void operator()(heif_image* i) const { heif_image_release(i); }
};
struct SOptionsFree
{
    void operator()(heif_decoding_options* o) const { heif_decoding_options_free(o); }
};

const uint8_t* Data(const QByteArray& bytes)
{
    return reinterpret_cast<const uint8_t*>(bytes.constData());
}

} // namespace

QString CHeifDecoder::FormatOf(const QByteArray& bytes)
{
    // The file type box comes first: "....ftyp" and the brands.
    if (bytes.size() < 12 || std::memcmp(bytes.constData() + 4, "ftyp", 4) != 0)
        return {};
    const int length = static_cast<int>(std::min<qsizetype>(bytes.size(), 1 << 16));
    if (heif_check_filetype(Data(bytes), length) == heif_filetype_no)
        return {};
    if (heif_has_compatible_brand(Data(bytes), length, "avif") || heif_has_compatible_brand(Data(bytes), length, "avis"))
        return QStringLiteral("AVIF");
    for (const char* brand : {"heic", "heix", "heim", "heis", "hevc", "hevx"})
        if (heif_has_compatible_brand(Data(bytes), length, brand))
            return QStringLiteral("HEIC");
    return QStringLiteral("HEIF");
}

std::unique_ptr<QImage> CHeifDecoder::Decode(const QByteArray& bytes, bool applyOrientation, qint64 maxPixels,
                                             QString* why)
{
    const auto fail = [why](const heif_error& error) -> std::unique_ptr<QImage> {
        if (why)
            *why = QString::fromUtf8(error.message ? error.message : "unknown error");
        return nullptr;
    };
    std::unique_ptr<heif_context, SContextFree> context(heif_context_alloc());
    if (!context)
        return fail({heif_error_Memory_allocation_error, heif_suberror_Unspecified, "out of memory"});
    // Read from the caller's bytes, which outlive the context.
    heif_error error =
        heif_context_read_from_memory_without_copy(context.get(), bytes.constData(), std::size_t(bytes.size()), nullptr);
    if (error.code != heif_error_Ok)
        return fail(error);
    heif_image_handle* rawHandle = nullptr;
    error = heif_context_get_primary_image_handle(context.get(), &rawHandle);
    if (error.code != heif_error_Ok)
        return fail(error);
    std::unique_ptr<heif_image_handle, SHandleRelease> handle(rawHandle);
    const qint64 width = heif_image_handle_get_width(handle.get()), height = heif_image_handle_get_height(handle.get());
    if (width <= 0 || height <= 0 || width * height > maxPixels)
        return fail({heif_error_Unsupported_feature, heif_suberror_Unspecified, "the image is too large"});

    const bool alpha = heif_image_handle_has_alpha_channel(handle.get()) != 0;
    std::unique_ptr<heif_decoding_options, SOptionsFree> options(heif_decoding_options_alloc());
    options->ignore_transformations = applyOrientation ? 0 : 1;
    heif_image* rawImage = nullptr;
    error = heif_decode_image(handle.get(), &rawImage, heif_colorspace_RGB,
                              alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB, options.get());
    if (error.code != heif_error_Ok)
        return fail(error);
    std::unique_ptr<heif_image, SImageRelease> image(rawImage);
    const int w = heif_image_get_width(image.get(), heif_channel_interleaved);
    const int h = heif_image_get_height(image.get(), heif_channel_interleaved);
    int stride = 0;
    const uint8_t* plane = heif_image_get_plane_readonly(image.get(), heif_channel_interleaved, &stride);
    if (!plane || w <= 0 || h <= 0)
        return fail({heif_error_Decoder_plugin_error, heif_suberror_Unspecified, "no pixels were decoded"});
    const QImage view(plane, w, h, stride, alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
    // A copy: the decoder's buffer goes with its image.
    auto result = std::make_unique<QImage>(
        view.convertToFormat(alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32));
    if (result->isNull())
        return fail({heif_error_Memory_allocation_error, heif_suberror_Unspecified, "out of memory"});
    return result;
}
