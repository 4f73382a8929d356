#pragma once

#include <QString>

// The texts users see for file and archive failures. %1 is a file path.
namespace Messages {
inline const QString kFailedToOpen = QStringLiteral("Failed to open document.");
inline const QString kFailedToSave = QStringLiteral("Failed to save document.");
inline const QString kSaveChanges = QStringLiteral("Save changes to %1?");
inline const QString kUntitled = QStringLiteral("Untitled");
inline const QString kPastEnd = QStringLiteral("An attempt was made to access %1 past its end.");
inline const QString kBadFormat = QStringLiteral("%1 has a bad format.");
inline const QString kNotFound = QStringLiteral("%1 was not found.");
inline const QString kAccessDenied = QStringLiteral("Access to %1 was denied.");
inline const QString kReadError = QStringLiteral("An unexpected error occurred while reading %1.");
inline const QString kWriteDenied =
    QStringLiteral("Unable to write to %1, it is read-only or opened by someone else.");
inline const QString kWriteError = QStringLiteral("An unexpected error occurred while writing %1.");
inline const QString kDiskFull = QStringLiteral("Destination disk drive is full.");
inline const QString kNotAPicture =
    QStringLiteral("%1 could not be read as a picture: the file is damaged or its format is not supported.");
// A picture file the decoder could only partly read (a JPEG cut short):
// said as a warning by the command-line tool, asked about by the editor.
inline const QString kDamagedPicture = QStringLiteral("%1 is damaged: only part of it could be read.");
inline const QString kUseDamagedPicture =
    QStringLiteral("%1 is damaged: only part of it could be read. Use it anyway?");
inline const QString kDeleteArea = QStringLiteral("Do you want to delete selected area?");
inline const QString kEnterAreaName = QStringLiteral("Enter area name");
inline const QString kDefaultAreaName = QStringLiteral("Area");
inline const QString kTemplateFilter = QStringLiteral("Tilemont files(*.tlm)|*.tlm|");
inline const QString kTemplateDefaultExt = QStringLiteral("*.tlm");
// The names of the steps in the history, as "Undo" and "Redo" show them.
inline const QString kStepCreateArea = QStringLiteral("Create area");
inline const QString kStepDeleteArea = QStringLiteral("Delete selected area");
inline const QString kStepAddSelection = QStringLiteral("Add selection to existing area");
inline const QString kStepDeleteSelection = QStringLiteral("Delete selection from existing area");
inline const QString kStepSelectPicture = QStringLiteral("Select picture");
inline const QString kStepClearSelection = QStringLiteral("Clear selection");
inline const QString kStepMoveArea = QStringLiteral("Move area");
inline const QString kStepSelect = QStringLiteral("Selection");
inline const QString kStepTexture = QStringLiteral("Texture");
// Dropping a picture where no area can take it as its texture.
inline const QString kUseAsPicture = QStringLiteral("Do you want to use %1 as the picture of this template?");
inline const QString kPictureTooLarge = QStringLiteral("%1 is too large to be used as the picture.");
// Perspective.
inline const QString kStepPerspective = QStringLiteral("Perspective");
inline const QString kStepFitPerspective = QStringLiteral("Fit perspective");
inline const QString kStepRealSize = QStringLiteral("Real size");
inline const QString kNoPerspective =
    QStringLiteral("No perspective found in %1: too few straight edges. Drag the corners instead.");
// Said once when a template opens without its perspective and real-size
// values because the block that holds them is damaged or of a later kind.
inline const QString kExtensionSkipped =
    QStringLiteral("%1: the perspective and real-size values could not be read; the template opens without them.");
} // namespace Messages
