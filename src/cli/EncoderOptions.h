#pragma once

#include "codecs/ImageEncoder.h"

#include <QMap>
#include <QSize>
#include <QString>
#include <optional>

// What export and render-group read from their command lines alike. Every
// function raises CUsageError (CliOutput.h) for a value it cannot take.

// An integer as the export dialog reads one.
int ParseInteger(const QString& text);

// The MIME type of a format name (bmp, gif, jpeg or jpg, png, tiff or tif,
// in any case), or empty.
QString MimeForFormat(const QString& format);

// The encoder's parameters as the export dialog would preselect them (the
// largest quality, the last entry of every list), overridden by the options
// in values (--quality, --transformation, --compression, --color-depth, as
// typed).
CEncoderParameters ChooseParameters(const CImageEncoder& encoder, const QMap<QString, QString>& values);

// The size of the image written for a picture: the picture's own, or the
// sides given; with one side given, the other follows the picture's aspect
// ratio, truncated, as in the export dialog.
QSize ExportSize(QSize picture, std::optional<int> width, std::optional<int> height);
