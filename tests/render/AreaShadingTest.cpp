#include "document/TestImages.h"
#include "render/AreaShading.h"
#include "render/TemplateCompositor.h"

#include <gtest/gtest.h>

namespace {

// A 200 x 100 picture whose floor (the lower half) is lit at leftLight on
// its left 40 % and rightLight on the rest, over a fine two-tone pattern
// that the shading must ignore; the wall above is bright.
QImage Room(int leftLight, int rightLight)
{
    QImage picture(200, 100, QImage::Format_RGB32);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x) {
            const int base = y < 50 ? 240 : (x < 80 ? leftLight : rightLight);
            const int v = std::clamp(base + ((x / 2 + y / 2) % 2 ? 12 : -12), 0, 255);
            picture.setPixel(x, y, qRgb(v, v, v));
        }
    return picture;
}

std::vector<CArea> Floor(QRgb colour)
{
    QImage texture(8, 8, QImage::Format_RGB32);
    texture.fill(colour);
    CArea floor;
    const CPolygon outline = RectPolygon(0, 50, 200, 100);
    floor.SetOutline(&outline);
    floor.SetTexture(&texture);
    return {floor};
}

QColor At(const QImage& image, int x, int y)
{
    return QColor(image.pixel(x, y));
}

TEST(AreaShading, TheFloorTakesThePicturesLightRelativeToItsUsualLightAndKeepsItsColour)
{
    const QRgb texture = qRgb(96, 64, 32);
    // Lit twice as brightly as usual on the left: the texture there is
    // twice as bright, the usual part unchanged, hue kept; the wall is
    // untouched and the pattern leaves no trace.
    const QImage picture = Room(200, 100);
    const QImage plain = ComposeTemplate(picture, Floor(texture));
    const QImage shaded = ComposeTemplate(picture, Floor(texture), {}, CComposeOptions{true});
    ASSERT_FALSE(shaded.isNull());
    EXPECT_EQ(At(shaded, 100, 20), At(plain, 100, 20));

    const QColor usual = At(shaded, 170, 80), lit = At(shaded, 30, 80), tex(texture);
    EXPECT_NEAR(usual.red(), tex.red(), 8);
    EXPECT_NEAR(usual.green(), tex.green(), 8);
    EXPECT_NEAR(lit.redF() / usual.redF(), 2.0, 0.2);
    EXPECT_NEAR(lit.greenF() / usual.greenF(), 2.0, 0.2);
    EXPECT_NEAR(lit.blueF() / usual.blueF(), 2.0, 0.3);
    EXPECT_NEAR(lit.hueF(), tex.hueF(), 0.03);
    EXPECT_NEAR(At(shaded, 171, 81).red(), usual.red(), 4);

    // Darker by half beside the usual light.
    const QImage darker = ComposeTemplate(Room(50, 100), Floor(texture), {}, CComposeOptions{true});
    EXPECT_NEAR(At(darker, 30, 80).redF() / At(darker, 170, 80).redF(), 0.5, 0.08);
}

TEST(AreaShading, EvenLightLeavesTheTextureAsItIs)
{
    const QImage picture = Room(120, 120);
    const QImage plain = ComposeTemplate(picture, Floor(qRgb(150, 90, 40)));
    const QImage shaded = ComposeTemplate(picture, Floor(qRgb(150, 90, 40)), {}, CComposeOptions{true});
    int worst = 0;
    for (int y = 0; y < plain.height(); ++y)
        for (int x = 0; x < plain.width(); ++x) {
            const QColor a = At(plain, x, y), b = At(shaded, x, y);
            worst = std::max({worst, std::abs(a.red() - b.red()), std::abs(a.green() - b.green()),
                              std::abs(a.blue() - b.blue())});
        }
    // One step of the 5-6-5 canvas at most.
    EXPECT_LE(worst, 8);
    EXPECT_TRUE(CAreaShading::Measure(picture, RectPolygon(300, 300, 400, 400)).IsNull());
}

} // namespace
