#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

// Little-endian binary output for template files, built in memory so that
// nothing reaches the disk until the whole file has been produced.
class CArchiveWriter
{
public:
    void WriteU8(std::uint8_t v);
    void WriteU16(std::uint16_t v);
    void WriteU32(std::uint32_t v);
    void WriteI32(std::int32_t v);
    void WriteF64(double v);
    void WriteBytes(const char* data, qsizetype size);
    // Windows-1252 bytes when the code page can hold the text, otherwise the
    // UTF-16 form that readers of the format also accept.
    void WriteString(const QString& text);

    const QByteArray& Data() const { return m_data; }

private:
    void WriteLengthPrefix(quint64 length);

    QByteArray m_data;
};
