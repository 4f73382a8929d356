#include "TiffEncoder.h"

#include "ColourQuantiser.h"
#include "EncoderGuids.h"
#include "TiffMemoryFile.h"

#include <functional>
#include <vector>

namespace {

struct Layout
{
    uint16_t bitsPerSample = 8;
    uint16_t samplesPerPixel = 3;
    uint16_t photometric = PHOTOMETRIC_RGB;
    bool alpha = false;
    QList<QRgb> palette;                     // for PHOTOMETRIC_PALETTE
    std::function<void(int, uchar*)> fill;   // one row in libtiff's layout
};

// Packs 8-bit indices into rows of `bits` bits per pixel, leftmost pixel in
// the high bits as TIFF wants it.
std::function<void(int, uchar*)> PackIndices(const QImage& indexed, int bits)
{
    return [indexed, bits](int y, uchar* row) {
        const uchar* src = indexed.constScanLine(y);
        const int perByte = 8 / bits;
        const int w = indexed.width();
        for (int x = 0; x < w; x += perByte) {
            uchar byte = 0;
            for (int k = 0; k < perByte && x + k < w; ++k)
                byte |= static_cast<uchar>(src[x + k] << (8 - bits * (k + 1)));
            row[x / perByte] = byte;
        }
    };
}

// flat is the image composited on white.
std::optional<Layout> MakeLayout(const QImage& flat, int depth)
{
    Layout layout;
    if (depth == 32) {
        // The fourth sample is an opaque alpha: the pixels are those
        // composited on white, like every other depth.
        layout.samplesPerPixel = 4;
        layout.alpha = true;
        layout.fill = [flat](int y, uchar* row) {
            const QRgb* src = reinterpret_cast<const QRgb*>(flat.constScanLine(y));
            for (int x = 0; x < flat.width(); ++x, row += 4) {
                row[0] = static_cast<uchar>(qRed(src[x]));
                row[1] = static_cast<uchar>(qGreen(src[x]));
                row[2] = static_cast<uchar>(qBlue(src[x]));
                row[3] = 0xFF;
            }
        };
    } else if (depth == 24) {
        layout.fill = [flat](int y, uchar* row) {
            const QRgb* src = reinterpret_cast<const QRgb*>(flat.constScanLine(y));
            for (int x = 0; x < flat.width(); ++x, row += 3) {
                row[0] = static_cast<uchar>(qRed(src[x]));
                row[1] = static_cast<uchar>(qGreen(src[x]));
                row[2] = static_cast<uchar>(qBlue(src[x]));
            }
        };
    } else if (depth == 8 || depth == 4) {
        const QImage indexed = CColourQuantiser::Quantise(flat, 1 << depth);
        if (indexed.isNull())
            return std::nullopt;
        layout.bitsPerSample = static_cast<uint16_t>(depth);
        layout.samplesPerPixel = 1;
        layout.photometric = PHOTOMETRIC_PALETTE;
        layout.palette = indexed.colorTable();
        layout.fill = PackIndices(indexed, depth);
    } else {
        // Index 1 is black, which is what min-is-white means by a set bit.
        const QImage bw = CColourQuantiser::DitherToBlackAndWhite(flat);
        if (bw.isNull())
            return std::nullopt;
        layout.bitsPerSample = 1;
        layout.samplesPerPixel = 1;
        layout.photometric = PHOTOMETRIC_MINISWHITE;
        layout.fill = PackIndices(bw, 1);
    }
    return layout;
}

uint16_t LibtiffCompression(int value)
{
    switch (value) {
    case kCompressionLzw:
        return COMPRESSION_LZW;
    case kCompressionCcitt3:
        return COMPRESSION_CCITTFAX3;
    case kCompressionCcitt4:
        return COMPRESSION_CCITTFAX4;
    case kCompressionRle:
        return COMPRESSION_PACKBITS;
    case kCompressionNone:
        return COMPRESSION_NONE;
    default:
        return 0;
    }
}

bool SetFields(TIFF* tif, const QImage& image, const Layout& layout, uint16_t compression)
{
    bool ok = TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(image.width())) &&
              TIFFSetField(tif, TIFFTAG_IMAGELENGTH, static_cast<uint32_t>(image.height())) &&
              TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, layout.bitsPerSample) &&
              TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, layout.samplesPerPixel) &&
              TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, layout.photometric) &&
              TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG) &&
              TIFFSetField(tif, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT) &&
              TIFFSetField(tif, TIFFTAG_COMPRESSION, compression);
    if (ok && layout.alpha) {
        const uint16_t extra[] = {EXTRASAMPLE_UNASSALPHA};
        ok = TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, 1, extra);
    }
    if (ok && compression == COMPRESSION_LZW && layout.bitsPerSample == 8 &&
        layout.photometric == PHOTOMETRIC_RGB) {
        // Differences between neighbours compress far better than colours;
        // indices of a palette have no such order.
        ok = TIFFSetField(tif, TIFFTAG_PREDICTOR, PREDICTOR_HORIZONTAL);
    }
    if (ok && layout.photometric == PHOTOMETRIC_PALETTE) {
        const int entries = 1 << layout.bitsPerSample;
        std::vector<uint16_t> red(entries, 0), green(entries, 0), blue(entries, 0);
        for (qsizetype i = 0; i < layout.palette.size() && i < entries; ++i) {
            red[i] = static_cast<uint16_t>(qRed(layout.palette[i]) * 257);
            green[i] = static_cast<uint16_t>(qGreen(layout.palette[i]) * 257);
            blue[i] = static_cast<uint16_t>(qBlue(layout.palette[i]) * 257);
        }
        ok = TIFFSetField(tif, TIFFTAG_COLORMAP, red.data(), green.data(), blue.data());
    }
    if (ok && image.dotsPerMeterX() > 0 && image.dotsPerMeterY() > 0) {
        ok = TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH) &&
             TIFFSetField(tif, TIFFTAG_XRESOLUTION, static_cast<float>(image.dotsPerMeterX() * 0.0254)) &&
             TIFFSetField(tif, TIFFTAG_YRESOLUTION, static_cast<float>(image.dotsPerMeterY() * 0.0254));
    }
    // About 8 KB per strip: small enough to stream, few enough to index.
    return ok && TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(tif, 0));
}

} // namespace

QString CTiffEncoder::MimeType() const
{
    return QStringLiteral("image/tiff");
}

QUuid CTiffEncoder::Clsid() const
{
    static const QUuid kId{"{70190CD1-17C5-40DB-8B3C-72750B2B5A96}"};
    return kId;
}

std::vector<CEncoderParameterInfo> CTiffEncoder::Parameters() const
{
    // The last entries are the options page's preselection and therefore
    // also the defaults when a value is not given.
    CEncoderParameterInfo compression{
        EncoderGuid::kCompression, kValueTypeLong, 5,
        {kCompressionLzw, kCompressionCcitt3, kCompressionCcitt4, kCompressionRle, kCompressionNone}};
    CEncoderParameterInfo depth{EncoderGuid::kColorDepth, kValueTypeLong, 5, {1, 4, 8, 24, 32}};
    return {compression, depth};
}

std::optional<QByteArray> CTiffEncoder::Encode(const QImage& image, const CEncoderParameters& params,
                                               QString* error) const
{
    const int compressionValue =
        ParameterValue(params, EncoderGuid::kCompression, kDefaultCompression);
    const int depth = ParameterValue(params, EncoderGuid::kColorDepth, kDefaultColorDepth);
    const uint16_t compression = LibtiffCompression(compressionValue);
    if (!compression) {
        return Fail(error, tr("The TIFF compression %1 is not supported.")
                               .arg(compressionValue));
    }
    if (depth != 1 && depth != 4 && depth != 8 && depth != 24 && depth != 32)
        return Fail(error, tr("The TIFF colour depth %1 is not supported.").arg(depth));
    if ((compression == COMPRESSION_CCITTFAX3 || compression == COMPRESSION_CCITTFAX4) && depth != 1)
        return Fail(error, tr("CCITT compression needs a colour depth of 1 bit."));
    if (!TIFFIsCODECConfigured(compression))
        return Fail(error, tr("This TIFF library cannot write compression %1.")
                               .arg(compressionValue));
    if (!CheckImage(image, error))
        return std::nullopt;

    const std::optional<Layout> layout =
        MakeLayout(FlattenOnWhite(image), depth);
    if (!layout)
        return Fail(error, tr("There is not enough memory to prepare the TIFF image."));

    CTiffMemoryFile file;
    TIFF* tif = file.OpenForWriting();
    if (!tif) {
        return Fail(error, tr("The TIFF image could not be started: %1.").arg(file.LastError()));
    }
    bool ok = SetFields(tif, image, *layout, compression);
    if (ok) {
        std::vector<uchar> row(static_cast<size_t>(TIFFScanlineSize(tif)), 0);
        ok = !row.empty();
        for (int y = 0; ok && y < image.height(); ++y) {
            layout->fill(y, row.data());
            ok = TIFFWriteScanline(tif, row.data(), static_cast<uint32_t>(y), 0) == 1;
        }
    }
    ok = ok && TIFFWriteDirectory(tif);
    TIFFClose(tif);
    if (!ok) {
        const QString reason = file.LastError().isEmpty() ? tr("unknown libtiff error")
                                                          : file.LastError();
        return Fail(error, tr("The TIFF image could not be written: %1.").arg(reason));
    }
    return file.Bytes();
}
