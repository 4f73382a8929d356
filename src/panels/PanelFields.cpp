#include "PanelFields.h"

#include <QLocale>

#include <climits>

#include <cmath>

namespace PanelFields {

Parse ParseDouble(const QString& text, double lo, double hi, double& value)
{
    bool ok = false;
    const double parsed = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok)
        return Parse::NotANumber;
    value = parsed;
    return parsed >= lo && parsed <= hi ? Parse::Ok : Parse::OutOfRange;
}

Parse ParseInt(const QString& text, int lo, int hi, int& value)
{
    bool ok = false;
    const qlonglong parsed = text.trimmed().toLongLong(&ok, 10);
    if (!ok)
        return Parse::NotANumber;
    if (parsed < lo || parsed > hi) {
        // The value kept is what an int can hold of it.
        value = parsed < lo ? (parsed < INT_MIN ? INT_MIN : int(parsed)) : (parsed > INT_MAX ? INT_MAX : int(parsed));
        return Parse::OutOfRange;
    }
    value = int(parsed);
    return Parse::Ok;
}

QString FormatDouble(double value)
{
    return QString::number(value, 'g', 15);
}

QString FormatFitting(double value, int chars)
{
    for (int precision = 15; precision > 1; --precision) {
        const QString text = QString::number(value, 'g', precision);
        if (text.size() <= chars)
            return text;
    }
    return QString::number(value, 'g', 1);
}

double ShownOrKept(const QString& text, double parsed, double kept, int chars)
{
    return text.trimmed() == FormatFitting(kept, chars) ? kept : parsed;
}

bool ShowsDouble(const QString& text, double value)
{
    bool ok = false;
    const double parsed = QLocale::c().toDouble(text.trimmed(), &ok);
    return ok && parsed == value;
}

bool ShowsInt(const QString& text, int value)
{
    bool ok = false;
    const qlonglong parsed = text.trimmed().toLongLong(&ok, 10);
    return ok && parsed == value;
}

} // namespace PanelFields
