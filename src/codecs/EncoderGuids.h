#pragma once

#include <QString>
#include <QUuid>

// The published identifiers of encoder parameters, so that stored choices
// and listings mean the same thing everywhere.
namespace EncoderGuid {
inline const QUuid kCompression{"{E09D739D-CCD4-44EE-8EBA-3FBF8BE4FC58}"};
inline const QUuid kColorDepth{"{66087055-AD66-4C7C-9A18-38A2310B8337}"};
inline const QUuid kScanMethod{"{3A4E2661-3109-4E56-8536-42C156E7DCFA}"};
inline const QUuid kVersion{"{24D18C76-814A-41A4-BF53-1C219CCCF797}"};
inline const QUuid kRenderMethod{"{6D42C53A-229A-4825-8BB7-5C99E2B9A8B8}"};
inline const QUuid kQuality{"{1D5BE4B5-FA4A-452D-9CDD-5DB35105E7EB}"};
inline const QUuid kTransformation{"{8D0EB2D1-A58E-4EA8-AA14-108074B7B6F9}"};
inline const QUuid kLuminanceTable{"{EDB33BCE-0266-4A77-B904-27216099E717}"};
inline const QUuid kChrominanceTable{"{F2E455DC-09B3-4316-8260-676ADA32481C}"};
inline const QUuid kSaveFlag{"{292266FC-AC40-47BF-8CFC-A85B89A655DE}"};

// "EncoderQuality" and so on; empty for an identifier not among the ten.
QString Name(const QUuid& guid);
} // namespace EncoderGuid

// Values of the JPEG transformation parameter.
enum JpegTransformation : int {
    kTransformNone = 0,
    kTransformRotate90 = 13,
    kTransformRotate180 = 14,
    kTransformRotate270 = 15,
    kTransformFlipHorizontal = 16,
    kTransformFlipVertical = 17,
};

// Values of the TIFF compression parameter.
enum TiffCompression : int {
    kCompressionLzw = 2,
    kCompressionCcitt3 = 3,
    kCompressionCcitt4 = 4,
    kCompressionRle = 5,
    kCompressionNone = 6,
};
