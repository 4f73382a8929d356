#pragma once

#include "document/TemplateFile.h"

#include <QJsonObject>
#include <QString>
#include <optional>

// The template as JSON: the picture's size, then every area with its
// placement, corners, outline, the sizes of its images, its perspective
// mode and, when it has any, its real-size values.
QJsonObject TemplateToJson(const CTemplateData& data);

// Builds a template from JSON of the same shape, where "picture" and
// "texture" name image files relative to baseDir. On failure returns
// nothing and sets error.
std::optional<CTemplateData> TemplateFromJson(const QJsonObject& json, const QString& baseDir,
                                              QString* error);
