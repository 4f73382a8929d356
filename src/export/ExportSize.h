#pragma once

#include <QString>

// The one rule on an exported image's size, for the export, the group
// render and the dialogs that ask for it.
enum class ExportSizeCheck { Ok, TooSmall, TooLarge };

ExportSizeCheck CheckExportSize(int width, int height);

// "… pixels is larger than the … megapixels an export may have."
QString ExportTooLargeMessage(int width, int height);

// What a dialog says to a size the user typed, or empty when it will do.
QString ExportSizeRefusal(int width, int height);
