#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// The last steps every export shares, so that a batch render writes the very
// bytes a single export of the same template would.

// The composition at the size asked for: unchanged at its own size, else
// smoothly scaled and brought back to 5-6-5 colour. Null when memory runs
// out.
QImage ScaleForExport(const QImage& composed, int width, int height);

// Writes bytes to path through a temporary file beside it that takes the
// name only once complete, so that a failure or an interruption never leaves
// part of a file. On failure sets why (when given) to the reason.
bool WriteWholeFile(const QString& path, const QByteArray& bytes, QString* why);
