#pragma once

#include "document/TemplateSnapshot.h"

#include <QString>

#include <ostream>

// Reading templates by value in the walk's messages, and what a template
// file keeps of one.
namespace TemplateValues {

// The content without its warps, images shared.
CTemplateSnapshot Plain(const CTemplateSnapshot& content);
// What saving and reading back gives: every image through the template
// file's JPEG coding, no caches.
CTemplateSnapshot AsStored(const CTemplateSnapshot& content, const QByteArray& pictureJpeg = {});

// One line per area: enough to see what differs.
QString Describe(const CTemplateSnapshot& content);
// The first things that differ, or empty when the two are equal.
QString Difference(const CTemplateSnapshot& want, const CTemplateSnapshot& got);

} // namespace TemplateValues

// gtest prints templates by these.
void PrintTo(const CTemplateSnapshot& content, std::ostream* os);
