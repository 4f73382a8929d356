#include "ViewTestSupport.h"

#include "app/ResourceIds.h"

#include <QPainter>

namespace
{

// A picture of noise, so that an ants pixel blended with what lies under it
// rather than painted over it would show.
QImage NoisePicture(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, 0xFF000000u | ((unsigned(x * 7919 + y * 104729) * 2654435761u) >> 8));
    return image;
}

// An outline round most of the picture with square holes and holes traced
// along pixel edges in steps, as selecting by colour leaves them.
CPolygon HoledOutline()
{
    CPolygon set;
    set.contours.push_back({{20, 15}, {1180, 15}, {1180, 885}, {20, 885}});
    for (int row = 0; row < 10; ++row)
        for (int col = 0; col < 14; ++col) {
            const double x = 50 + col * 80, y = 40 + row * 84;
            if ((row + col) % 2)
                set.contours.push_back({{x, y}, {x + 21, y}, {x + 21, y + 17}, {x, y + 17}});
            else {
                CContour stairs;
                for (int s = 0; s < 8; ++s)
                    stairs.insert(stairs.end(), {{x + s, y + s}, {x + s + 1, y + s}});
                for (int s = 8; s > 0; --s)
                    stairs.insert(stairs.end(), {{x + s, y + 16 - s}, {x + s - 1, y + 16 - s}});
                set.contours.push_back(stairs);
            }
        }
    return set;
}

// Brings reference, styled as the view styles its ants, to phase.
void StepTo(CSelectionAnts& reference, float phase)
{
    const CSelection dot(CPolygon{{{{0, 0}, {1, 0}, {1, 1}}}});
    QImage scratch(1, 1, QImage::Format_RGB32);
    QPainter p(&scratch);
    while (reference.GetPhase() < phase)
        reference.Draw(p, dot, 1.0f);
}

} // namespace

using AntsTickTest = ViewTest;

// After every tick the window must show what stroking the whole outline
// over the picture shows: the tick repaints only a strip, and at most zooms
// puts back ants kept from the last round instead of stroking them. The
// client area sits inside a frame, so the window's pixels are not the
// client's.
TEST_F(AntsTickTest, EveryTickShowsTheWholeOutlineStrokedOverThePicture)
{
    SetPicture(NoisePicture(1200, 900));
    auto view = ShowView(doc, QSize(420, 300));
    view->setFrameStyle(QFrame::Box | QFrame::Plain);
    view->setLineWidth(5);
    QApplication::processEvents();
    const QPoint offset = view->viewport()->mapTo(view.get(), QPoint(0, 0));
    ASSERT_EQ(offset, QPoint(5, 5));
    const QRect client(offset, view->viewport()->size());
    const CPolygon outline = HoledOutline();
    const CSelection selection(outline);

    for (const float zoom : {1.0f, 0.25f, 2.0f, 0.8333333f}) {
        doc.SetSelection(nullptr);
        view->SetZoom(zoom, zoom);
        view->UpdateScrollSizes();
        view->SetScrollPosition(int(130 * zoom), int(90 * zoom));
        view->Commands().OnCommand(ID_REFRESH);
        const QImage picture = Shown(*view);
        doc.SetSelection(&outline);
        Shown(*view);
        CSelectionAnts reference;
        reference.SetStyle(0xFF000000, 0xFFFFFFFF, 1.0f, 3.0f, 3.0f, 1.0f);
        for (int tick = 0; tick < 14; ++tick) {
            // Hundreds of ticks on, the dashes must still fall where they did.
            for (int skipped = 0; tick == 9 && skipped < 600; ++skipped) {
                view->OnAntsTick();
                QApplication::processEvents();
            }
            view->OnAntsTick();
            const QImage shown = Shown(*view);
            // The phase the last paint drew at (the window's own timer may
            // have ticked too).
            StepTo(reference, view->GetAnts().GetPhase() - 1.0f);
            const auto [dark, light] = reference.OutlinePens(zoom);
            QImage expected = picture;
            QPainter p(&expected);
            p.setClipRect(client);
            p.translate(offset);
            p.setTransform(view->GetGeometry().Transform(), true);
            p.strokePath(selection.GetPath(), dark);
            p.strokePath(selection.GetPath(), light);
            p.end();
            ASSERT_EQ(shown, expected) << "zoom " << zoom << " tick " << tick;
        }
        // Where the pen is exactly one window pixel wide, the ants are kept,
        // a round of six ticks (three where the dashes are half as long).
        EXPECT_EQ(view->GetAnts().KeptCycleSteps(), zoom == 0.8333333f ? 0 : zoom == 2.0f ? 3 : 6) << zoom;
    }
}
