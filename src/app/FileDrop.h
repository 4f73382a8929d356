#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class QMimeData;

// What files dragged onto the editor mean: templates open, a picture becomes
// a texture or the template's picture, anything else is refused before the
// drop so the user sees the no-drop cursor instead of an error afterwards.
class CFileDrop
{
public:
    enum class Kind { Template, Image, Other };

    // The local files a drag carries; links to elsewhere are not files.
    static QStringList LocalFiles(const QMimeData* data);
    // By the name alone: a drag has to be answered before any file is read.
    static Kind Classify(const QString& path);
    // The templates among paths, in their order.
    static QStringList Templates(const QStringList& paths);
    // The one picture a drop onto a template window lays in, or nothing when
    // paths is not exactly one picture.
    static std::optional<QString> SingleImage(const QStringList& paths);
};
