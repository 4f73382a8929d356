#include "ArchiveReader.h"

#include "ArchiveError.h"
#include "Cp1252.h"

#include <QtEndian>
#include <cstring>

void CArchiveReader::Require(quint64 count, quint64 itemSize) const
{
    const auto remaining = static_cast<quint64>(Remaining());
    if (itemSize != 0 && count > remaining / itemSize)
        throw CArchiveError(CArchiveError::Kind::EndOfFile, "read past the end of the archive");
}

const char* CArchiveReader::Take(qsizetype size)
{
    Require(static_cast<quint64>(size), 1);
    const char* p = m_data.constData() + m_pos;
    m_pos += size;
    return p;
}

std::uint8_t CArchiveReader::ReadU8()
{
    return static_cast<std::uint8_t>(*Take(1));
}

std::uint16_t CArchiveReader::ReadU16()
{
    return qFromLittleEndian<std::uint16_t>(Take(2));
}

std::uint32_t CArchiveReader::ReadU32()
{
    return qFromLittleEndian<std::uint32_t>(Take(4));
}

std::int32_t CArchiveReader::ReadI32()
{
    return static_cast<std::int32_t>(ReadU32());
}

double CArchiveReader::ReadF64()
{
    const auto bits = qFromLittleEndian<std::uint64_t>(Take(8));
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

QByteArray CArchiveReader::ReadBytes(quint64 size)
{
    Require(size, 1);
    const auto n = static_cast<qsizetype>(size);
    return QByteArray(Take(n), n);
}

quint64 CArchiveReader::ReadLengthPrefix()
{
    const std::uint8_t b = ReadU8();
    if (b < 0xFF)
        return b;
    const std::uint16_t w = ReadU16();
    if (w < 0xFFFE)
        return w;
    if (w == 0xFFFF)
        return ReadU32();
    // 0xFFFE is the marker of the UTF-16 form, which is handled by the caller.
    return ~quint64(0);
}

QString CArchiveReader::ReadString()
{
    const quint64 length = ReadLengthPrefix();
    if (length != ~quint64(0)) {
        Require(length, 1);
        const auto n = static_cast<qsizetype>(length);
        return DecodeCp1252(Take(n), n);
    }
    const quint64 units = ReadLengthPrefix();
    if (units == ~quint64(0))
        throw CArchiveError(CArchiveError::Kind::BadFormat, "nested text marker");
    Require(units, 2);
    const auto n = static_cast<qsizetype>(units);
    const char* p = Take(n * 2);
    QString text(n, Qt::Uninitialized);
    for (qsizetype i = 0; i < n; ++i)
        text[i] = QChar(qFromLittleEndian<std::uint16_t>(p + 2 * i));
    return text;
}
