#pragma once

#include <QString>

// What the Areas panel says: its validation messages and the names its
// edits carry in the history.
namespace PanelMessages {
inline const QString kEnterNumber = QStringLiteral("Please enter a number.");
inline const QString kEnterNumberBetween = QStringLiteral("Please enter a number between %1 and %2.");
inline const QString kEnterInteger = QStringLiteral("Please enter an integer.");
inline const QString kEnterIntegerBetween = QStringLiteral("Please enter an integer between %1 and %2.");

inline const QString kStepPickArea = QStringLiteral("Pick area");
inline const QString kStepRotation = QStringLiteral("Texture rotation");
inline const QString kStepShift = QStringLiteral("Texture shift");
inline const QString kStepScale = QStringLiteral("Texture scale");
inline const QString kStepResetSkew = QStringLiteral("Reset skew");
inline const QString kStepResetInitialRect = QStringLiteral("Reset initial rect");
} // namespace PanelMessages
