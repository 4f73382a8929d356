#pragma once

#include <QString>

// Whether the volume that would hold path has less room than size bytes:
// what a failed write most often means, and what the system's own words
// for it ("Unknown error" from a buffered write's last flush) do not say.
bool DiskFullFor(const QString& path, qint64 size);
