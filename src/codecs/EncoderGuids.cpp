#include "EncoderGuids.h"

#include <array>
#include <utility>

QString EncoderGuid::Name(const QUuid& guid)
{
    static const std::array<std::pair<const QUuid*, const char*>, 10> kNames{{
        {&kCompression, "EncoderCompression"},
        {&kColorDepth, "EncoderColorDepth"},
        {&kScanMethod, "EncoderScanMethod"},
        {&kVersion, "EncoderVersion"},
        {&kRenderMethod, "EncoderRenderMethod"},
        {&kQuality, "EncoderQuality"},
        {&kTransformation, "EncoderTransformation"},
        {&kLuminanceTable, "EncoderLuminanceTable"},
        {&kChrominanceTable, "EncoderChrominanceTable"},
        {&kSaveFlag, "EncoderSaveFlag"},
    }};
    for (const auto& [id, name] : kNames) {
        if (*id == guid)
            return QString::fromLatin1(name);
    }
    return {};
}
