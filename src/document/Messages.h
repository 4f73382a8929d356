#pragma once

#include "UiText.h"

#include <QString>
#include <QtGlobal>

// The texts users see for file and archive failures, the questions the
// document asks and the names of its steps in the history. Each is turned
// into the user's language where it is used; %1 is a file path unless said
// otherwise.
namespace Messages {
inline constexpr CUiText kFailedToOpen{"Messages", QT_TRANSLATE_NOOP("Messages", "Failed to open document.")};
inline constexpr CUiText kFailedToSave{"Messages", QT_TRANSLATE_NOOP("Messages", "Failed to save document.")};
inline constexpr CUiText kSaveChanges{"Messages", QT_TRANSLATE_NOOP("Messages", "Save changes to %1?")};
// Quitting with several unsaved templates: one question, their names below.
inline constexpr CUiText kSaveAllChanges{
    "Messages", QT_TRANSLATE_NOOP("Messages", "Save the changes to these templates?\n\n%1")};
inline constexpr CUiText kUntitled{"Messages", QT_TRANSLATE_NOOP("Messages", "Untitled")};
inline constexpr CUiText kPastEnd{
    "Messages", QT_TRANSLATE_NOOP("Messages", "An attempt was made to access %1 past its end.")};
inline constexpr CUiText kBadFormat{"Messages", QT_TRANSLATE_NOOP("Messages", "%1 has a bad format.")};
inline constexpr CUiText kNotFound{"Messages", QT_TRANSLATE_NOOP("Messages", "%1 was not found.")};
inline constexpr CUiText kAccessDenied{"Messages", QT_TRANSLATE_NOOP("Messages", "Access to %1 was denied.")};
inline constexpr CUiText kReadError{
    "Messages", QT_TRANSLATE_NOOP("Messages", "An unexpected error occurred while reading %1.")};
inline constexpr CUiText kWriteDenied{
    "Messages", QT_TRANSLATE_NOOP("Messages", "Unable to write to %1, it is read-only or opened by someone else.")};
inline constexpr CUiText kWriteError{
    "Messages", QT_TRANSLATE_NOOP("Messages", "An unexpected error occurred while writing %1.")};
inline constexpr CUiText kDiskFull{"Messages", QT_TRANSLATE_NOOP("Messages", "Destination disk drive is full.")};
inline constexpr CUiText kNotAPicture{
    "Messages", QT_TRANSLATE_NOOP("Messages", "%1 could not be read as a picture: the file is damaged or its format "
                                              "is not supported.")};
// A picture of a format known by name that this machine cannot decode
// (a phone's HEIC without its decoder): the format named, and why.
inline constexpr CUiText kFormatUnreadable{
    "Messages", QT_TRANSLATE_NOOP("Messages", "%1: %2 pictures cannot be read: %3.")};
// A picture file the decoder could only partly read (a JPEG cut short):
// said as a warning by the command-line tool, asked about by the editor.
inline constexpr CUiText kDamagedPicture{
    "Messages", QT_TRANSLATE_NOOP("Messages", "%1 is damaged: only part of it could be read.")};
inline constexpr CUiText kUseDamagedPicture{
    "Messages", QT_TRANSLATE_NOOP("Messages", "%1 is damaged: only part of it could be read. Use it anyway?")};
inline constexpr CUiText kDeleteArea{"Messages", QT_TRANSLATE_NOOP("Messages", "Do you want to delete selected area?")};
inline constexpr CUiText kEnterAreaName{"Messages", QT_TRANSLATE_NOOP("Messages", "Enter area name")};
inline constexpr CUiText kDefaultAreaName{"Messages", QT_TRANSLATE_NOOP("Messages", "Area")};
inline constexpr CUiText kTemplateFilter{"Messages", QT_TRANSLATE_NOOP("Messages", "Tilemont files(*.tlm)|*.tlm|")};
// A pattern, not words: the same in every language.
inline const QString kTemplateDefaultExt = QStringLiteral("*.tlm");
// The names of the steps in the history, as "Undo" and "Redo" show them.
inline constexpr CUiText kStepCreateArea{"Messages", QT_TRANSLATE_NOOP("Messages", "Create area")};
inline constexpr CUiText kStepDeleteArea{"Messages", QT_TRANSLATE_NOOP("Messages", "Delete selected area")};
inline constexpr CUiText kStepAddSelection{"Messages", QT_TRANSLATE_NOOP("Messages", "Add selection to existing area")};
inline constexpr CUiText kStepDeleteSelection{
    "Messages", QT_TRANSLATE_NOOP("Messages", "Delete selection from existing area")};
inline constexpr CUiText kStepSelectPicture{"Messages", QT_TRANSLATE_NOOP("Messages", "Select picture")};
inline constexpr CUiText kStepClearSelection{"Messages", QT_TRANSLATE_NOOP("Messages", "Clear selection")};
inline constexpr CUiText kStepMoveArea{"Messages", QT_TRANSLATE_NOOP("Messages", "Move area")};
inline constexpr CUiText kStepSelect{"Messages", QT_TRANSLATE_NOOP("Messages", "Selection")};
inline constexpr CUiText kStepTexture{"Messages", QT_TRANSLATE_NOOP("Messages", "Texture")};
// Dropping a picture where no area can take it as its texture.
inline constexpr CUiText kUseAsPicture{
    "Messages", QT_TRANSLATE_NOOP("Messages", "Do you want to use %1 as the picture of this template?")};
inline constexpr CUiText kPictureTooLarge{
    "Messages", QT_TRANSLATE_NOOP("Messages", "%1 is too large to be used as the picture.")};
// Perspective.
inline constexpr CUiText kStepPerspective{"Messages", QT_TRANSLATE_NOOP("Messages", "Perspective")};
inline constexpr CUiText kStepFitPerspective{"Messages", QT_TRANSLATE_NOOP("Messages", "Fit perspective")};
inline constexpr CUiText kStepRealSize{"Messages", QT_TRANSLATE_NOOP("Messages", "Real size")};
inline constexpr CUiText kNoPerspective{
    "Messages",
    QT_TRANSLATE_NOOP("Messages", "No perspective found in %1: too few straight edges. Drag the corners instead.")};
// Said once when a template opens without its perspective and real-size
// values because the block that holds them is damaged or of a later kind.
inline constexpr CUiText kExtensionSkipped{
    "Messages", QT_TRANSLATE_NOOP("Messages", "%1: the perspective and real-size values could not be read; the "
                                              "template opens without them.")};
// Said once when a template cut short opens with what was whole of it.
inline constexpr CUiText kAreasLost{
    "Messages", QT_TRANSLATE_NOOP("Messages", "%1 is cut short or damaged: the picture and %2 of its %3 areas "
                                              "could be read; the rest is lost.")};
// Laying patterns.
inline constexpr CUiText kStepPattern{"Messages", QT_TRANSLATE_NOOP("Messages", "Pattern")};
// Said once when a template opens without its laying patterns because the
// block that holds them is damaged or of a later kind.
inline constexpr CUiText kPatternSkipped{
    "Messages", QT_TRANSLATE_NOOP("Messages", "%1: the laying patterns could not be read; the areas keep the textures "
                                              "laid from them.")};
} // namespace Messages
