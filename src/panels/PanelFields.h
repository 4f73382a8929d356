#pragma once

#include <QString>

// Reading and writing the panel's number fields: C-locale numbers with
// surrounding blanks allowed, doubles written in their shortest form.
namespace PanelFields {

enum class Parse { Ok, NotANumber, OutOfRange };

// A double within lo..hi; infinities and NaN are out of range. value is
// set whenever the text is a number, in range or not.
Parse ParseDouble(const QString& text, double lo, double hi, double& value);
// A decimal integer within lo..hi (no fraction, no thousands separator).
Parse ParseInt(const QString& text, int lo, int hi, int& value);

// Up to 15 significant digits, no trailing zeros: 1, 12.5, 0.1.
QString FormatDouble(double value);

// The most precise form of value that fits chars characters (4.06672 for
// 4.0667164 in seven), so a field never shows only the tail of a number.
// What it rounds away stays in the template: see ShownOrKept.
QString FormatFitting(double value, int chars);

// What a field's text means: kept when the text is the fitted form of kept
// (the field was written from it and not edited), else parsed.
double ShownOrKept(const QString& text, double parsed, double kept, int chars);

// Whether the field's text already reads as value, so that writing value
// would change nothing the user can tell ("45." for 45, " 3" for 3).
bool ShowsDouble(const QString& text, double value);
bool ShowsInt(const QString& text, int value);

} // namespace PanelFields
