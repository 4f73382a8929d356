#include "TiffMemoryFile.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>

TIFF* CTiffMemoryFile::OpenForWriting()
{
    m_bytes.clear();
    m_position = 0;
    m_lastError.clear();
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    if (!options) {
        m_lastError = QStringLiteral("out of memory");
        return nullptr;
    }
    TIFFOpenOptionsSetErrorHandlerExtR(options, &CTiffMemoryFile::OnError, this);
    TIFFOpenOptionsSetWarningHandlerExtR(options, &CTiffMemoryFile::OnWarning, this);
    TIFF* tif = TIFFClientOpenExt("memory", "w", static_cast<thandle_t>(this), &Read, &Write, &Seek,
                                  &Close, &Size, &Map, &Unmap, options);
    TIFFOpenOptionsFree(options);
    return tif;
}

tmsize_t CTiffMemoryFile::Read(thandle_t handle, void* data, tmsize_t size)
{
    auto* self = static_cast<CTiffMemoryFile*>(handle);
    if (size <= 0 || self->m_position >= self->m_bytes.size())
        return 0;
    const qint64 n = std::min<qint64>(size, self->m_bytes.size() - self->m_position);
    std::memcpy(data, self->m_bytes.constData() + self->m_position, static_cast<size_t>(n));
    self->m_position += n;
    return static_cast<tmsize_t>(n);
}

tmsize_t CTiffMemoryFile::Write(thandle_t handle, void* data, tmsize_t size)
{
    auto* self = static_cast<CTiffMemoryFile*>(handle);
    if (size < 0)
        return -1;
    const qint64 end = self->m_position + size;
    if (end > std::numeric_limits<qsizetype>::max() / 2)
        return -1;
    if (end > self->m_bytes.size())
        self->m_bytes.resize(end, '\0');  // a seek past the end leaves a zero gap
    std::memcpy(self->m_bytes.data() + self->m_position, data, static_cast<size_t>(size));
    self->m_position = end;
    return size;
}

toff_t CTiffMemoryFile::Seek(thandle_t handle, toff_t offset, int whence)
{
    auto* self = static_cast<CTiffMemoryFile*>(handle);
    // toff_t is unsigned; relative seeks arrive as two's complement.
    const qint64 delta = static_cast<qint64>(offset);
    qint64 target = 0;
    switch (whence) {
    case SEEK_SET:
        target = delta;
        break;
    case SEEK_CUR:
        target = self->m_position + delta;
        break;
    case SEEK_END:
        target = self->m_bytes.size() + delta;
        break;
    default:
        return static_cast<toff_t>(-1);
    }
    if (target < 0)
        return static_cast<toff_t>(-1);
    self->m_position = target;
    return static_cast<toff_t>(target);
}

int CTiffMemoryFile::Close(thandle_t)
{
    return 0;
}

toff_t CTiffMemoryFile::Size(thandle_t handle)
{
    return static_cast<toff_t>(static_cast<CTiffMemoryFile*>(handle)->m_bytes.size());
}

int CTiffMemoryFile::Map(thandle_t, void**, toff_t*)
{
    return 0;
}

void CTiffMemoryFile::Unmap(thandle_t, void*, toff_t) {}

int CTiffMemoryFile::OnError(TIFF*, void* user, const char* module, const char* format,
                             va_list args)
{
    char text[512];
    std::vsnprintf(text, sizeof text, format, args);
    auto* self = static_cast<CTiffMemoryFile*>(user);
    self->m_lastError = module && *module
                            ? QStringLiteral("%1: %2").arg(QString::fromUtf8(module), QString::fromUtf8(text))
                            : QString::fromUtf8(text);
    return 1;
}

int CTiffMemoryFile::OnWarning(TIFF*, void*, const char*, const char*, va_list)
{
    // Warnings do not stop the write; keeping them off stderr is all we want.
    return 1;
}
