#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

// Little-endian binary input over a whole file held in memory. Every read
// checks the remaining bytes first and raises CArchiveError (end of file)
// rather than reading past the end; counts read from the file are checked
// the same way before anything is reserved for them.
class CArchiveReader
{
public:
    explicit CArchiveReader(QByteArray data) : m_data(std::move(data)) {}

    std::uint8_t ReadU8();
    std::uint16_t ReadU16();
    std::uint32_t ReadU32();
    std::int32_t ReadI32();
    double ReadF64();
    QByteArray ReadBytes(quint64 size);
    QString ReadString();

    qsizetype Remaining() const { return m_data.size() - m_pos; }
    qsizetype Position() const { return m_pos; }
    // Raises the end-of-file error unless count items of itemSize bytes each
    // can still follow.
    void Require(quint64 count, quint64 itemSize) const;

private:
    quint64 ReadLengthPrefix();
    const char* Take(qsizetype size);

    QByteArray m_data;
    qsizetype m_pos = 0;
};
