#include "render/GroupScene.h"
#include "render/LayeredTemplate.h"
#include "render/TemplateCompositor.h"

#include <gtest/gtest.h>

namespace {

// The whole template composed afresh with texture in areas[index]: what an
// export of the template with that texture picked would compose.
QImage Reference(const CGroupScene& scene, std::size_t index, const QImage& texture, const CComposeOptions& options)
{
    std::vector<CArea> areas = scene.Clones();
    areas[index].SetTexture(&texture);
    return ComposeTemplate(scene.picture, areas, {}, options);
}

// Every position of the split area (first, between, last), with and
// without shading: pixel for pixel the template composed whole, and the
// areas above composed only once while none of them blends.
TEST(LayeredTemplate, ComposesAsTheWholeTemplateWithTheTextureInPlace)
{
    const CGroupScene scene;
    const QImage texture = Noise(11, 9, 42);
    for (const bool keepShading : {false, true}) {
        const CComposeOptions options{keepShading};
        for (std::size_t index = 0; index < scene.areas.size(); ++index) {
            CLayeredTemplate layers(scene.picture, scene.areas, index, options);
            ASSERT_TRUE(layers.ComposeLayers());
            EXPECT_TRUE(layers.ComposeWith(layers.AreaWithTexture(texture)) ==
                        Reference(scene, index, texture, options))
                << "area " << index << ", shading " << keepShading;
            EXPECT_TRUE(layers.HasAboveLayer()) << "area " << index << ", shading " << keepShading;
        }
    }
}

// Areas above that blend with what lies beneath cannot be composed ahead:
// a translucent texture, and shading over outline the warp leaves bare. The
// result must still be the same.
TEST(LayeredTemplate, AreasAboveThatBlendAreDrawnForEveryTexture)
{
    const QImage texture = Noise(11, 9, 42);
    CGroupScene translucent;
    QImage glass = Noise(13, 11, 5, QImage::Format_ARGB32);
    glass.fill(qRgba(40, 200, 90, 128));
    translucent.areas[3].SetTexture(&glass);

    CGroupScene bareEdge;
    // The rug's outline reaches past its corners: the warp leaves its right
    // edge bare, and the shading darkens whatever lies there.
    CArea& rug = bareEdge.areas[2];
    rug.GetSkewCorners() = {QPoint(40, 60), QPoint(90, 60), QPoint(40, 99), QPoint(90, 99)};
    rug.SetSkewApplied(true);

    const struct
    {
        const CGroupScene& scene;
        bool keepShading;
    } cases[] = {{translucent, false}, {bareEdge, true}};
    for (const auto& c : cases) {
        const CComposeOptions options{c.keepShading};
        CLayeredTemplate layers(c.scene.picture, c.scene.areas, 1, options);
        ASSERT_TRUE(layers.ComposeLayers());
        EXPECT_FALSE(layers.HasAboveLayer()) << "shading " << c.keepShading;
        EXPECT_TRUE(layers.ComposeWith(layers.AreaWithTexture(texture)) == Reference(c.scene, 1, texture, options))
            << "shading " << c.keepShading;
    }
}

} // namespace
