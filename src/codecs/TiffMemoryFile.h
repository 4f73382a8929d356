#pragma once

#include <QByteArray>
#include <QString>
#include <cstdarg>
#include <tiffio.h>

// A growable in-memory file for libtiff to write into (it seeks back to
// patch directory offsets). Also collects libtiff's error messages for this
// handle instead of letting them go to stderr.
class CTiffMemoryFile
{
public:
    // Opens the buffer for writing; null on failure (see LastError()).
    TIFF* OpenForWriting();

    const QByteArray& Bytes() const { return m_bytes; }
    // The last error libtiff reported for this file, empty when none.
    const QString& LastError() const { return m_lastError; }

private:
    static tmsize_t Read(thandle_t handle, void* data, tmsize_t size);
    static tmsize_t Write(thandle_t handle, void* data, tmsize_t size);
    static toff_t Seek(thandle_t handle, toff_t offset, int whence);
    static int Close(thandle_t handle);
    static toff_t Size(thandle_t handle);
    static int Map(thandle_t handle, void** base, toff_t* size);
    static void Unmap(thandle_t handle, void* base, toff_t size);
    static int OnError(TIFF* tif, void* user, const char* module, const char* format, va_list args);
    static int OnWarning(TIFF* tif, void* user, const char* module, const char* format, va_list args);

    QByteArray m_bytes;
    qint64 m_position = 0;
    QString m_lastError;
};
