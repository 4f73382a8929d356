#include "TemplateJson.h"

#include "CliOutput.h"
#include "document/ImageCodec.h"
#include "document/Messages.h"

#include <QColor>
#include <QDir>
#include <QJsonArray>
#include <cmath>
#include <limits>

namespace {

QJsonValue SizeJson(const QImage* image)
{
    if (!image)
        return QJsonValue::Null;
    return QJsonObject{{"width", image->width()}, {"height", image->height()}};
}

QJsonArray PointJson(double x, double y)
{
    return QJsonArray{x, y};
}

QJsonObject AreaToJson(const CArea& area)
{
    QJsonArray corners;
    for (const QPoint& p : area.GetSkewCorners())
        corners.append(PointJson(p.x(), p.y()));
    QJsonArray outline;
    for (const CContour& contour : area.GetOutline().contours) {
        QJsonArray points;
        for (const QPointF& v : contour)
            points.append(PointJson(v.x(), v.y()));
        outline.append(points);
    }
    const CIntRect& r = area.GetInitialRect();
    QJsonObject json{
        {"name", area.GetName()},
        {"texture", SizeJson(area.GetTexture())},
        {"skewedTexture", SizeJson(area.GetStoredWarp().get())},
        {"rotation", area.GetRotation()},
        {"shiftX", area.GetShiftX()},
        {"shiftY", area.GetShiftY()},
        {"scale", area.GetScale()},
        {"skew", area.IsSkewApplied()},
        {"skewCorners", corners},
        {"outline", outline},
        {"initialRect", QJsonArray{r.left, r.top, r.right, r.bottom}},
        {"perspective", area.IsPerspective()},
    };
    // Only when set: templates without it describe as they always did.
    if (area.GetShadingStrength() != CArea::kDefaultShading)
        json.insert("shadingStrength", area.GetShadingStrength());
    const CRealSize& real = area.GetRealSize();
    if (!real.IsEmpty()) {
        const QLineF& line = real.reference;
        json.insert("realSize", QJsonObject{{"reference", QJsonArray{line.x1(), line.y1(), line.x2(), line.y2()}},
                                            {"referenceCm", real.referenceCm},
                                            {"textureWidthCm", real.textureWidthCm}});
    }
    if (const CLayingPattern* p = area.GetPattern()) {
        static const char* const kOrigins[] = {"corner", "centre", "point", "balanced"};
        QJsonObject pattern{{"layout", LayoutName(p->layout)},
                            {"pieceCm", QJsonArray{p->widthCm, p->heightCm}},
                            {"variants", static_cast<int>(p->variants.size())},
                            {"angle", p->angleDeg},
                            {"jointMm", p->jointMm},
                            {"jointColour", QColor(p->jointColour).name()},
                            {"seed", static_cast<qint64>(p->seed)},
                            {"turn180", p->turn180},
                            {"turn90", p->turn90},
                            {"origin", kOrigins[static_cast<int>(p->origin)]}};
        if (p->origin == EPatternOrigin::Point)
            pattern.insert("originPoint", QJsonArray{p->originPoint.x(), p->originPoint.y()});
        json.insert("pattern", pattern);
    }
    return json;
}

// Reading JSON reports the first problem by its place in the document.
struct CJsonError
{
    QString message;
};

[[noreturn]] void Fail(const QString& where, const QString& what)
{
    throw CJsonError{QStringLiteral("%1: %2").arg(where, what)};
}

double Number(const QJsonValue& v, const QString& where)
{
    if (!v.isDouble())
        Fail(where, QStringLiteral("a number is expected"));
    return v.toDouble();
}

std::int32_t Int32(const QJsonValue& v, const QString& where)
{
    const double d = Number(v, where);
    if (d != std::trunc(d) || d < std::numeric_limits<std::int32_t>::min() ||
        d > std::numeric_limits<std::int32_t>::max())
        Fail(where, QStringLiteral("a whole number within 32 bits is expected"));
    return static_cast<std::int32_t>(d);
}

QJsonArray Array(const QJsonValue& v, const QString& where, qsizetype size = -1)
{
    if (!v.isArray() || (size >= 0 && v.toArray().size() != size))
        Fail(where, size >= 0 ? QStringLiteral("an array of %1 items is expected").arg(size)
                              : QStringLiteral("an array is expected"));
    return v.toArray();
}

bool Bool(const QJsonValue& v, const QString& where)
{
    if (!v.isUndefined() && !v.isBool())
        Fail(where, QStringLiteral("true or false is expected"));
    return v.toBool();
}

// A length in centimetres: 0 stands for "not known", as in the file.
double Centimetres(const QJsonValue& v, const QString& where)
{
    const double cm = Number(v, where);
    if (!(cm >= 0.0))
        Fail(where, QStringLiteral("a length of 0 or more is expected"));
    return cm;
}

CRealSize RealSizeFromJson(const QJsonValue& value, const QString& where)
{
    if (!value.isObject())
        Fail(where, QStringLiteral("an object is expected"));
    const QJsonObject o = value.toObject();
    CRealSize real;
    if (o.contains("reference")) {
        const QString at = where + ".reference";
        const QJsonArray line = Array(o.value("reference"), at, 4);
        real.reference = QLineF(Number(line[0], at), Number(line[1], at), Number(line[2], at), Number(line[3], at));
    }
    if (o.contains("referenceCm"))
        real.referenceCm = Centimetres(o.value("referenceCm"), where + ".referenceCm");
    if (o.contains("textureWidthCm"))
        real.textureWidthCm = Centimetres(o.value("textureWidthCm"), where + ".textureWidthCm");
    return real;
}

std::optional<CStoredImage> Image(const QJsonValue& v, const QString& baseDir, const QString& where)
{
    if (v.isNull() || v.isUndefined())
        return std::nullopt;
    if (!v.isString())
        Fail(where, QStringLiteral("an image file path or null is expected"));
    QString error;
    bool damaged = false;
    const QString path = QDir(baseDir).filePath(v.toString());
    auto image = LoadStoredImage(path, &error, &damaged);
    if (!image)
        Fail(where, error);
    // Used as it is, as the editor's Yes would: a script has nobody to ask.
    if (damaged)
        PrintError(QStringLiteral("warning: ") + Messages::kDamagedPicture.arg(QDir::toNativeSeparators(path)));
    return image;
}

CArea AreaFromJson(const QJsonValue& value, const QString& baseDir, const QString& where)
{
    if (!value.isObject())
        Fail(where, QStringLiteral("an object is expected"));
    const QJsonObject o = value.toObject();
    CArea area;
    const QJsonValue name = o.value("name");
    if (!name.isUndefined() && !name.isString())
        Fail(where + ".name", QStringLiteral("a string is expected"));
    area.SetName(name.toString());
    if (o.contains("rotation"))
        area.SetRotation(Number(o.value("rotation"), where + ".rotation"));
    if (o.contains("scale"))
        area.SetScale(Number(o.value("scale"), where + ".scale"));
    area.SetShift(o.contains("shiftX") ? Int32(o.value("shiftX"), where + ".shiftX") : 0,
                  o.contains("shiftY") ? Int32(o.value("shiftY"), where + ".shiftY") : 0);
    if (o.contains("skewCorners")) {
        const QJsonArray corners = Array(o.value("skewCorners"), where + ".skewCorners", 4);
        for (int i = 0; i < 4; ++i) {
            const QString at = QStringLiteral("%1.skewCorners[%2]").arg(where).arg(i);
            const QJsonArray p = Array(corners[i], at, 2);
            area.GetSkewCorners()[static_cast<std::size_t>(i)] = QPoint(Int32(p[0], at), Int32(p[1], at));
        }
    }
    if (o.contains("initialRect")) {
        const QString at = where + ".initialRect";
        const QJsonArray r = Array(o.value("initialRect"), at, 4);
        area.SetInitialRect({Int32(r[0], at), Int32(r[1], at), Int32(r[2], at), Int32(r[3], at)});
    }
    CPolygon outline;
    const QJsonArray contours = o.contains("outline") ? Array(o.value("outline"), where + ".outline") : QJsonArray();
    for (qsizetype c = 0; c < contours.size(); ++c) {
        const QString at = QStringLiteral("%1.outline[%2]").arg(where).arg(c);
        CContour contour;
        for (const QJsonValue& pv : Array(contours[c], at)) {
            const QJsonArray p = Array(pv, at, 2);
            contour.emplace_back(Number(p[0], at), Number(p[1], at));
        }
        outline.contours.push_back(std::move(contour));
    }
    area.SetOutline(&outline);
    area.SetSkewApplied(Bool(o.value("skew"), where + ".skew"));
    area.SetPerspective(Bool(o.value("perspective"), where + ".perspective"));
    if (o.contains("realSize"))
        area.SetRealSize(RealSizeFromJson(o.value("realSize"), where + ".realSize"));
    if (o.contains("shadingStrength")) {
        const std::int32_t percent = Int32(o.value("shadingStrength"), where + ".shadingStrength");
        if (percent < CArea::kMinShading || percent > CArea::kMaxShading)
            Fail(where + ".shadingStrength", QStringLiteral("a percent from 0 to 150 is expected"));
        area.SetShadingStrength(percent);
    }
    // Last, so that with the skew applied the warped texture is built from
    // the final placement, as a finished corner drag builds it.
    if (auto texture = Image(o.value("texture"), baseDir, where + ".texture"))
        area.SetTexture(*texture);
    return area;
}

} // namespace

QJsonObject TemplateToJson(const CTemplateData& data)
{
    QJsonArray areas;
    for (const CArea& area : data.areas)
        areas.append(AreaToJson(area));
    return QJsonObject{{"picture", SizeJson(data.picture.get())}, {"areas", areas}};
}

std::optional<CTemplateData> TemplateFromJson(const QJsonObject& json, const QString& baseDir,
                                              QString* error)
{
    try {
        CTemplateData data;
        if (auto picture = Image(json.value("picture"), baseDir, QStringLiteral("picture"))) {
            data.picture = std::make_unique<QImage>(picture->Image());
            data.pictureJpeg = picture->Jpeg();
        }
        const QJsonValue areas = json.value("areas");
        if (!areas.isUndefined()) {
            const QJsonArray list = Array(areas, QStringLiteral("areas"));
            for (qsizetype i = 0; i < list.size(); ++i)
                data.areas.push_back(AreaFromJson(list[i], baseDir, QStringLiteral("areas[%1]").arg(i)));
        }
        return data;
    } catch (const CJsonError& e) {
        if (error)
            *error = e.message;
        return std::nullopt;
    }
}
