#pragma once

#include "Area.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

// The contents of a template file: the picture, then the areas in order.
struct CTemplateData
{
    std::unique_ptr<QImage> picture;
    std::vector<CArea> areas;
};

// The whole file in memory; nothing when an image could not be encoded.
std::optional<QByteArray> WriteTemplate(const QImage* picture, const std::vector<CArea>& areas);

// Raises CArchiveError for data that ends too early or counts that cannot
// fit in what is left.
CTemplateData ReadTemplate(QByteArray bytes);

// Reads a template file. On failure returns nothing and sets error to the
// message for the user, naming the file.
std::optional<CTemplateData> LoadTemplateFile(const QString& path, QString* error);

// Writes a template file through a temporary file beside it, which replaces
// the target only once everything was written: a failed save never damages
// the file that was there. On failure sets error to the user's message.
bool SaveTemplateFile(const QString& path, const QImage* picture, const std::vector<CArea>& areas,
                      QString* error);
