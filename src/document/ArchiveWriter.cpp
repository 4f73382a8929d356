#include "ArchiveWriter.h"

#include "Cp1252.h"

#include <QtEndian>
#include <cstring>

void CArchiveWriter::WriteU8(std::uint8_t v)
{
    m_data.append(static_cast<char>(v));
}

void CArchiveWriter::WriteU16(std::uint16_t v)
{
    const auto le = qToLittleEndian(v);
    m_data.append(reinterpret_cast<const char*>(&le), sizeof le);
}

void CArchiveWriter::WriteU32(std::uint32_t v)
{
    const auto le = qToLittleEndian(v);
    m_data.append(reinterpret_cast<const char*>(&le), sizeof le);
}

void CArchiveWriter::WriteI32(std::int32_t v)
{
    WriteU32(static_cast<std::uint32_t>(v));
}

void CArchiveWriter::WriteF64(double v)
{
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    const auto le = qToLittleEndian(bits);
    m_data.append(reinterpret_cast<const char*>(&le), sizeof le);
}

void CArchiveWriter::WriteBytes(const char* data, qsizetype size)
{
    m_data.append(data, size);
}

void CArchiveWriter::WriteLengthPrefix(quint64 length)
{
    if (length < 0xFF) {
        WriteU8(static_cast<std::uint8_t>(length));
    } else if (length < 0xFFFE) {
        WriteU8(0xFF);
        WriteU16(static_cast<std::uint16_t>(length));
    } else {
        WriteU8(0xFF);
        WriteU16(0xFFFF);
        WriteU32(static_cast<std::uint32_t>(length));
    }
}

void CArchiveWriter::WriteString(const QString& text)
{
    if (const auto bytes = EncodeCp1252(text)) {
        WriteLengthPrefix(static_cast<quint64>(bytes->size()));
        WriteBytes(bytes->constData(), bytes->size());
        return;
    }
    WriteU8(0xFF);
    WriteU16(0xFFFE);
    WriteLengthPrefix(static_cast<quint64>(text.size()));
    for (QChar ch : text)
        WriteU16(ch.unicode());
}
