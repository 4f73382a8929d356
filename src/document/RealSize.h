#pragma once

#include <QLineF>

// What an area knows of real lengths: a reference line drawn on its surface
// (picture pixels) with its real length, and the real width of the texture
// image laid in. Lengths in centimetres; 0 means not known.
struct CRealSize
{
    QLineF reference;
    double referenceCm = 0.0;
    double textureWidthCm = 0.0;

    bool HasReference() const { return referenceCm > 0.0 && reference.length() > 0.0; }
    bool IsEmpty() const { return *this == CRealSize{}; }
    bool operator==(const CRealSize& other) const
    {
        // Exact, unlike QLineF's fuzzy comparison: a template's value is
        // what its file stores, bit for bit.
        const auto same = [](QPointF a, QPointF b) { return a.x() == b.x() && a.y() == b.y(); };
        return same(reference.p1(), other.reference.p1()) && same(reference.p2(), other.reference.p2()) &&
               referenceCm == other.referenceCm &&
               textureWidthCm == other.textureWidthCm;
    }
};
