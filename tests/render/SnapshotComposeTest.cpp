#include "document/ScriptedPrompts.h"
#include "document/TestImages.h"
#include "document/TilemontDoc.h"
#include "render/TemplateCompositor.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

QImage Noise(int w, int h, unsigned seed)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            seed = seed * 1664525u + 1013904223u;
            image.setPixel(x, y, 0xFF000000u | (seed >> 8));
        }
    return image;
}

// An export or batch render composes a snapshot on other threads while the
// user goes on editing: the snapshot must come out exactly as it was taken,
// two workers drawing the same areas (which build the missing warped texture
// on demand) must not trip over each other, and the editor's own drawing
// must not disturb them. Under the sanitizers this also checks memory and
// thread safety.
TEST(SnapshotCompose, WorkerComposesTheTemplateAsTakenWhileTheEditorChangesIt)
{
    ScriptedPrompts prompts;
    CTilemontDoc doc(prompts);
    std::vector<CArea> areas(2);
    const CPolygon floor = RectPolygon(10, 60, 150, 110), wall = RectPolygon(0, 0, 160, 60);
    const QImage wood = Noise(16, 12, 7), tile = QuadrantImage(10, 10);
    areas[0].SetOutline(&floor);
    areas[0].SetTexture(&wood);
    areas[0].GetSkewCorners() = {QPoint(30, 60), QPoint(130, 60), QPoint(5, 115), QPoint(155, 115)};
    areas[0].SetSkewApplied(true); // no warped texture yet: drawing builds it
    areas[1].SetOutline(&wall);
    areas[1].SetTexture(&tile);
    areas[1].SetRotation(30);
    doc.ResetContent(std::make_unique<QImage>(Noise(160, 120, 3)), std::move(areas));

    const CTemplateSnapshot snapshot = doc.Snapshot();
    const QImage expected = ComposeTemplate(*doc.Snapshot().picture, doc.Snapshot().areas);
    ASSERT_FALSE(expected.isNull());

    std::atomic<int> done{0};
    std::vector<QImage> composed[2];
    const auto work = [&](std::vector<QImage>& out) {
        for (int i = 0; i < 4; ++i)
            out.push_back(ComposeTemplate(*snapshot.picture, snapshot.areas, {},
                                          CComposeOptions{false, snapshot.warps.get()}));
        ++done;
    };
    std::thread first(work, std::ref(composed[0])), second(work, std::ref(composed[1]));
    const AreaId floorId = doc.AreaIdAt(0), wallId = doc.AreaIdAt(1);
    int edits = 0;
    while (done < 2 || edits < 20) {
        doc.NudgeArea(floorId, 1, 0, false);
        doc.EditArea(wallId, "Rotate", [edits](CArea& a) { a.SetRotation(edits % 90); });
        doc.EditArea(floorId, "Corner", [](CArea& a) {
            a.GetSkewCorners()[CArea::TopLeft] += QPoint(1, 0);
        });
        ComposeTemplate(*doc.GetPicture(), doc.GetAreas(), {}, CComposeOptions{false, &doc.Warps()});
        if (edits % 3 == 0)
            doc.OnEditUndo();
        ++edits;
    }
    first.join();
    second.join();

    for (const auto& images : composed) {
        ASSERT_EQ(images.size(), 4u);
        for (const QImage& image : images)
            EXPECT_EQ(image, expected);
    }
    EXPECT_EQ(ComposeTemplate(*snapshot.picture, snapshot.areas), expected);
}

} // namespace
