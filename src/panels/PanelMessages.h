#pragma once

#include <QString>

// What the Areas panel says: its validation messages and the names its
// edits carry in the history, as untranslated texts the panel translates.
namespace PanelMessages {
inline constexpr const char* kEnterNumber = QT_TRANSLATE_NOOP("CAreasBar", "Please enter a number.");
inline constexpr const char* kEnterNumberBetween =
    QT_TRANSLATE_NOOP("CAreasBar", "Please enter a number between %1 and %2.");
inline constexpr const char* kEnterInteger = QT_TRANSLATE_NOOP("CAreasBar", "Please enter an integer.");
inline constexpr const char* kEnterIntegerBetween =
    QT_TRANSLATE_NOOP("CAreasBar", "Please enter an integer between %1 and %2.");

inline constexpr const char* kStepPickArea = QT_TRANSLATE_NOOP("CAreasBar", "Pick area");
inline constexpr const char* kStepRotation = QT_TRANSLATE_NOOP("CAreasBar", "Texture rotation");
inline constexpr const char* kStepShift = QT_TRANSLATE_NOOP("CAreasBar", "Texture shift");
inline constexpr const char* kStepScale = QT_TRANSLATE_NOOP("CAreasBar", "Texture scale");
inline constexpr const char* kStepShading = QT_TRANSLATE_NOOP("CAreasBar", "Shading strength");
inline constexpr const char* kStepResetSkew = QT_TRANSLATE_NOOP("CAreasBar", "Reset skew");
inline constexpr const char* kStepResetInitialRect =
    QT_TRANSLATE_NOOP("CAreasBar", "Reset initial rect");
} // namespace PanelMessages
