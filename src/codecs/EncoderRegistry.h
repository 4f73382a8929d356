#pragma once

#include "ImageEncoder.h"

#include <QString>
#include <QUuid>
#include <vector>

// The installed encoders, in a fixed order: image/bmp, image/jpeg, image/gif,
// image/tiff, image/png.
const std::vector<const CImageEncoder*>& InstalledEncoders();

// Finds the encoder whose MIME type equals mimeType exactly (case counts),
// stores its identifier in clsid and returns its index; returns -1 and
// leaves clsid untouched when there is none.
int GetEncoderClsid(const QString& mimeType, QUuid* clsid);

// The encoder with that identifier, or null.
const CImageEncoder* FindEncoder(const QUuid& clsid);

// The diagnostic listing of an encoder's parameters, lines ending in CRLF;
// empty for an encoder without parameters.
QString EncoderParameterListing(const std::vector<CEncoderParameterInfo>& params);
