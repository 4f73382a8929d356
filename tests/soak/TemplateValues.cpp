#include "TemplateValues.h"

#include "document/ImageCodec.h"

#include <QStringList>

namespace TemplateValues {

namespace {

QString ImageText(const QImage* image)
{
    return image ? QStringLiteral("%1x%2#%3").arg(image->width()).arg(image->height()).arg(image->cacheKey())
                 : QStringLiteral("none");
}

QString PointsText(const CArea::Corners& c)
{
    QStringList points;
    for (const QPoint& p : c)
        points << QStringLiteral("%1,%2").arg(p.x()).arg(p.y());
    return points.join(u' ');
}

QString AreaText(const CArea& a)
{
    int vertices = 0;
    for (const CContour& contour : a.GetOutline().contours)
        vertices += int(contour.size());
    const CIntRect& r = a.GetInitialRect();
    return QStringLiteral("'%1' outline %2/%3 texture %4 rot %5 shift %6,%7 scale %8 skew %9 corners [%10] "
                          "rect %11,%12,%13,%14")
        .arg(a.GetName().left(20))
        .arg(a.GetOutline().contours.size())
        .arg(vertices)
        .arg(ImageText(a.GetTexture()))
        .arg(a.GetRotation())
        .arg(a.GetShiftX())
        .arg(a.GetShiftY())
        .arg(a.GetScale())
        .arg(a.IsSkewApplied())
        .arg(PointsText(a.GetSkewCorners()))
        .arg(r.left)
        .arg(r.top)
        .arg(r.right)
        .arg(r.bottom);
}

// Which of an area's stored values differ.
QString FieldsDiffering(const CArea& a, const CArea& b)
{
    const auto same = [](const QImage* x, const QImage* y) { return x && y ? *x == *y : !x && !y; };
    QStringList fields;
    const std::pair<bool, const char*> checks[] = {
        {a.GetOutline() == b.GetOutline(), "outline"},
        {a.GetName() == b.GetName(), "name"},
        {same(a.GetTexture(), b.GetTexture()), "texture"},
        {a.GetRotation() == b.GetRotation(), "rotation"},
        {a.GetShiftX() == b.GetShiftX() && a.GetShiftY() == b.GetShiftY(), "shift"},
        {a.GetScale() == b.GetScale(), "scale"},
        {a.IsSkewApplied() == b.IsSkewApplied(), "skew"},
        {a.GetSkewCorners() == b.GetSkewCorners(), "corners"},
        {a.GetInitialRect() == b.GetInitialRect(), "initial rect"},
    };
    for (const auto& [equal, name] : checks)
        if (!equal)
            fields << QLatin1String(name);
    return fields.join(QStringLiteral(", "));
}

// What a file gives back of an image: the JPEG it is kept as, or else its
// pixels encoded once.
std::unique_ptr<QImage> ThroughFile(const QImage* image, const QByteArray& jpeg = {})
{
    if (!image)
        return nullptr;
    return DecodeImage(!jpeg.isEmpty() ? jpeg : EncodeJpeg(*image, kTemplateImageQuality), false);
}

} // namespace

CTemplateSnapshot Plain(const CTemplateSnapshot& content)
{
    CTemplateSnapshot plain;
    plain.picture = content.picture;
    // A copy takes the stored value only.
    plain.areas.assign(content.areas.begin(), content.areas.end());
    return plain;
}

CTemplateSnapshot AsStored(const CTemplateSnapshot& content, const QByteArray& pictureJpeg)
{
    CTemplateSnapshot stored = Plain(content);
    if (stored.picture) {
        const auto picture = ThroughFile(&*stored.picture, pictureJpeg);
        stored.picture = picture ? std::optional<QImage>(*picture) : std::nullopt;
    }
    for (CArea& area : stored.areas) {
        if (const auto texture = ThroughFile(area.GetTexture(), area.GetTextureJpeg())) {
            // SetTexture keeps the warp as it is unless the skew is
            // applied; the value does not count it either way.
            area.SetTexture(texture.get());
        }
    }
    return stored;
}

QString Describe(const CTemplateSnapshot& content)
{
    QStringList lines{QStringLiteral("picture %1, %2 areas")
                          .arg(ImageText(content.picture ? &*content.picture : nullptr))
                          .arg(content.areas.size())};
    for (const CArea& area : content.areas)
        lines << QStringLiteral("  ") + AreaText(area);
    return lines.join(u'\n');
}

QString Difference(const CTemplateSnapshot& want, const CTemplateSnapshot& got)
{
    QStringList diff;
    if (want.picture != got.picture)
        diff << QStringLiteral("picture %1 != %2")
                    .arg(ImageText(want.picture ? &*want.picture : nullptr),
                         ImageText(got.picture ? &*got.picture : nullptr));
    if (want.areas.size() != got.areas.size())
        diff << QStringLiteral("%1 areas != %2").arg(want.areas.size()).arg(got.areas.size());
    for (std::size_t i = 0; i < std::min(want.areas.size(), got.areas.size()); ++i) {
        if (!(want.areas[i] == got.areas[i])) {
            diff << QStringLiteral("area %1 differs in %2").arg(i).arg(FieldsDiffering(want.areas[i], got.areas[i]));
            diff << QStringLiteral("area %1 want %2").arg(i).arg(AreaText(want.areas[i]));
            diff << QStringLiteral("area %1  got %2").arg(i).arg(AreaText(got.areas[i]));
        }
    }
    return diff.join(u'\n');
}

} // namespace TemplateValues

void PrintTo(const CTemplateSnapshot& content, std::ostream* os)
{
    *os << TemplateValues::Describe(content).toStdString();
}
