#pragma once

#include <QUuid>
#include <cstdint>
#include <vector>

// Value type codes as encoders report them.
enum EncoderValueType : int {
    kValueTypeShort = 3,
    kValueTypeLong = 4,
    kValueTypeLongRange = 6,
};

// One parameter an encoder accepts, with the values it offers. For a long
// range, numberOfValues is 1 and values holds the minimum and the maximum.
struct CEncoderParameterInfo
{
    QUuid guid;
    int valueType = kValueTypeLong;
    int numberOfValues = 0;
    std::vector<std::int32_t> values;
};

// One chosen value, handed to the encoder with the image.
struct CEncoderParameterValue
{
    QUuid guid;
    std::int32_t value = 0;
    bool operator==(const CEncoderParameterValue&) const = default;
};

using CEncoderParameters = std::vector<CEncoderParameterValue>;
