#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Names are stored as single Windows-1252 bytes whenever that code page can
// hold them, which keeps files readable by older readers of the format.

// The bytes of text in Windows-1252, or nothing when some character has no
// single-byte form.
std::optional<QByteArray> EncodeCp1252(const QString& text);

QString DecodeCp1252(const char* data, qsizetype size);
