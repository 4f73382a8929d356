#pragma once

#include <QCoreApplication>
#include <QString>

#include <array>

// The formats an export can write, in the order the dialog lists them.
// listText is an untranslated text of the "ExportFormats" context.
struct CExportFormat
{
    enum class Page { None, Jpeg, Tiff };
    const char* listText;
    int itemId;
    const char* extension;
    const char* mimeType;
    Page page;
};

inline constexpr std::array<CExportFormat, 5> kExportFormats{{
    {QT_TRANSLATE_NOOP("ExportFormats", "BMP"), 1, ".bmp", "image/bmp", CExportFormat::Page::None},
    {QT_TRANSLATE_NOOP("ExportFormats", "Graphics Interchange Format (GIF)"), 2, ".gif", "image/gif",
     CExportFormat::Page::None},
    {QT_TRANSLATE_NOOP("ExportFormats", "JPEG"), 3, ".jpg", "image/jpeg", CExportFormat::Page::Jpeg},
    {QT_TRANSLATE_NOOP("ExportFormats", "PNG"), 5, ".png", "image/png", CExportFormat::Page::None},
    {QT_TRANSLATE_NOOP("ExportFormats", "TIFF"), 6, ".tiff", "image/tiff", CExportFormat::Page::Tiff},
}};

// path with its file name's own extension replaced by extension (added when
// the name has none); dots in folder names are left alone.
QString ReplaceExtension(const QString& path, const QString& extension);
// path with extension added when its file name has none ("half" ->
// "half.jpg"); a name with an extension of its own is left as typed, since
// the user may mean it.
QString WithExtension(const QString& path, const QString& extension);
