#include "GifEncoder.h"

#include "ColourQuantiser.h"

#include <gif_lib.h>

namespace {

int AppendToBuffer(GifFileType* gif, const GifByteType* data, int length)
{
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(data), length);
    return length;
}

QString GifFailure(int code)
{
    const char* text = GifErrorString(code);
    return CGifEncoder::tr("The GIF image could not be written: %1.")
        .arg(text ? QString::fromLatin1(text) : CGifEncoder::tr("error %1").arg(code));
}

} // namespace

QString CGifEncoder::MimeType() const
{
    return QStringLiteral("image/gif");
}

QUuid CGifEncoder::Clsid() const
{
    static const QUuid kId{"{F013E89C-96EF-4459-9794-A20B8A412FCD}"};
    return kId;
}

std::optional<QByteArray> CGifEncoder::Encode(const QImage& image, const CEncoderParameters&,
                                              QString* error) const
{
    if (!CheckImage(image, error))
        return std::nullopt;
    if (image.width() > 0xffff || image.height() > 0xffff)
        return Fail(error, tr("A GIF image can be at most 65535 pixels wide and high."));

    const QImage indexed = CColourQuantiser::Quantise(FlattenOnWhite(image), 256);
    if (indexed.isNull())
        return Fail(error, tr("There is not enough memory to reduce the image's colours."));

    // giflib wants a power-of-two colour map; the unused tail stays black.
    const QList<QRgb> table = indexed.colorTable();
    int mapSize = 2;
    while (mapSize < table.size())
        mapSize *= 2;
    std::vector<GifColorType> colours(mapSize, GifColorType{0, 0, 0});
    for (qsizetype i = 0; i < table.size(); ++i) {
        colours[i] = GifColorType{static_cast<GifByteType>(qRed(table[i])),
                                  static_cast<GifByteType>(qGreen(table[i])),
                                  static_cast<GifByteType>(qBlue(table[i]))};
    }
    ColorMapObject* map = GifMakeMapObject(mapSize, colours.data());
    if (!map)
        return Fail(error, GifFailure(E_GIF_ERR_NOT_ENOUGH_MEM));

    QByteArray bytes;
    int code = E_GIF_SUCCEEDED;
    GifFileType* gif = EGifOpen(&bytes, AppendToBuffer, &code);
    if (!gif) {
        GifFreeMapObject(map);
        return Fail(error, GifFailure(code));
    }

    bool ok = EGifPutScreenDesc(gif, indexed.width(), indexed.height(), GifBitSize(mapSize), 0, map) ==
                  GIF_OK &&
              EGifPutImageDesc(gif, 0, 0, indexed.width(), indexed.height(), false, nullptr) == GIF_OK;
    for (int y = 0; ok && y < indexed.height(); ++y) {
        // giflib takes a non-const line but only reads it.
        GifPixelType* line = const_cast<GifPixelType*>(indexed.constScanLine(y));
        ok = EGifPutLine(gif, line, indexed.width()) == GIF_OK;
    }
    if (!ok)
        code = gif->Error;
    GifFreeMapObject(map);

    // Closing writes the trailer and frees the handle even after an error.
    int closeCode = E_GIF_SUCCEEDED;
    if (EGifCloseFile(gif, &closeCode) != GIF_OK && ok) {
        ok = false;
        code = closeCode;
    }
    if (!ok)
        return Fail(error, GifFailure(code));
    return bytes;
}
