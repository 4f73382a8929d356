#include "document/HeifDecoder.h"
#include "document/ImageCodec.h"

#include <QColor>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <libheif/heif.h>

#include <cstring>

namespace {

// Four flat quadrants, red at the top left, so that a turn or a mirror shows.
QImage Quadrants(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool right = x >= w / 2, bottom = y >= h / 2;
            image.setPixel(x, y, !right && !bottom ? qRgb(220, 30, 30)
                                 : right && !bottom ? qRgb(30, 200, 40)
                                 : !right           ? qRgb(30, 40, 210)
                                                    : qRgb(230, 220, 40));
        }
    return image;
}

heif_error Append(heif_context*, const void* data, size_t size, void* userdata)
{
    static_cast<QByteArray*>(userdata)->append(static_cast<const char*>(data), qsizetype(size));
    return {heif_error_Ok, heif_suberror_Unspecified, "ok"};
}

// A phone's file made with libheif's own encoders, the orientation stored
// as the phone stores it: the pixels as the sensor saw them, and a turn.
QByteArray Encode(const QImage& picture, heif_compression_format format, heif_orientation orientation)
{
    heif_context* context = heif_context_alloc();
    heif_encoder* encoder = nullptr;
    QByteArray bytes;
    if (heif_context_get_encoder_for_format(context, format, &encoder).code == heif_error_Ok) {
        heif_encoder_set_lossy_quality(encoder, 90);
        heif_image* image = nullptr;
        heif_image_create(picture.width(), picture.height(), heif_colorspace_RGB, heif_chroma_interleaved_RGB, &image);
        heif_image_add_plane(image, heif_channel_interleaved, picture.width(), picture.height(), 8);
        int stride = 0;
        uint8_t* plane = heif_image_get_plane(image, heif_channel_interleaved, &stride);
        const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
        for (int y = 0; y < rgb.height(); ++y)
            std::memcpy(plane + y * stride, rgb.constScanLine(y), std::size_t(rgb.width()) * 3);
        heif_encoding_options* options = heif_encoding_options_alloc();
        options->image_orientation = orientation;
        if (heif_context_encode_image(context, image, encoder, options, nullptr).code == heif_error_Ok) {
            heif_writer writer{1, &Append};
            heif_context_write(context, &writer, &bytes);
        }
        heif_encoding_options_free(options);
        heif_image_release(image);
        heif_encoder_release(encoder);
    }
    heif_context_free(context);
    return bytes;
}

QString Write(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
}

void ExpectColour(const QImage& image, QPoint at, QRgb want, const char* what)
{
    const QColor got = image.pixelColor(at);
    EXPECT_NEAR(got.red(), qRed(want), 24) << what;
    EXPECT_NEAR(got.green(), qGreen(want), 24) << what;
    EXPECT_NEAR(got.blue(), qBlue(want), 24) << what;
}

// A phone's HEIC or AVIF photo opens as a picture, upright as the phone
// held it; a file of the family cut short names its format and why.
TEST(HeifDecoder, PhonePhotosOpenUprightAndADamagedOneNamesItsFormat)
{
    QTemporaryDir dir;
    const QImage sensor = Quadrants(64, 32);
    for (const auto& [format, name, file] : {std::tuple{heif_compression_HEVC, "HEIC", "phone.heic"},
                                            std::tuple{heif_compression_AV1, "AVIF", "phone.avif"}}) {
        const QByteArray bytes = Encode(sensor, format, heif_orientation_rotate_90_cw);
        ASSERT_FALSE(bytes.isEmpty()) << name << ": libheif here has no encoder for it";
        EXPECT_EQ(CHeifDecoder::FormatOf(bytes), QLatin1String(name));

        QString error;
        const auto upright = LoadStoredImage(Write(dir, file, bytes), &error);
        ASSERT_TRUE(upright) << error.toStdString();
        const QImage& shown = upright->Image();
        ASSERT_EQ(shown.size(), QSize(32, 64)) << name;
        // Turned clockwise: the red top-left quadrant is now at the top right,
        // the blue bottom-left one at the top left.
        ExpectColour(shown, {24, 8}, qRgb(220, 30, 30), name);
        ExpectColour(shown, {8, 8}, qRgb(30, 40, 210), name);
        ExpectColour(shown, {24, 56}, qRgb(30, 200, 40), name);

        const QString cut = Write(dir, QStringLiteral("cut-") + file, bytes.left(bytes.size() / 2));
        EXPECT_FALSE(LoadImageFile(cut, &error));
        EXPECT_TRUE(error.contains(QStringLiteral("%1 pictures cannot be read: ").arg(name))) << error.toStdString();
        EXPECT_TRUE(error.contains(cut)) << error.toStdString();
    }
    // Not of the family: the plain message, no format named.
    QString error;
    EXPECT_FALSE(LoadImageFile(Write(dir, "note.heic", "not a picture at all"), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("could not be read as a picture"))) << error.toStdString();
}

} // namespace
