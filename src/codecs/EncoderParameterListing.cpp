#include "EncoderGuids.h"
#include "EncoderRegistry.h"

QString EncoderParameterListing(const std::vector<CEncoderParameterInfo>& params)
{
    const QString crlf = QStringLiteral("\r\n");
    QString text;
    for (const CEncoderParameterInfo& p : params) {
        const QString name = EncoderGuid::Name(p.guid);
        if (!name.isEmpty())
            text += name + QLatin1Char('.');
        text += QStringLiteral(" The GUID is ") + p.guid.toString(QUuid::WithBraces).toUpper() +
                QLatin1Char('.') + crlf;
        text += QStringLiteral("   The value type is %1.").arg(p.valueType) + crlf;
        text += QStringLiteral("   The number of values is %1.").arg(p.numberOfValues) + crlf;
        if (p.valueType == kValueTypeShort || p.valueType == kValueTypeLong) {
            text += QStringLiteral("Values:");
            for (std::int32_t v : p.values)
                text += QString::number(v) + QLatin1Char(';');
            text += crlf;
        } else if (p.valueType == kValueTypeLongRange) {
            // A malformed range without its two bounds lists none rather than
            // reading past the values.
            if (p.values.size() >= 2) {
                text += QStringLiteral("   The minimum possible quality value is %1.").arg(p.values[0]) +
                        crlf;
                text += QStringLiteral("   The maximum possible quality value is %1.").arg(p.values[1]) +
                        crlf;
            }
        }
        text += QString(38, QLatin1Char('-')) + crlf;
    }
    return text;
}
