#pragma once

#include <functional>

#include "document/IAreasPanelSink.h"
#include "document/ScriptedPrompts.h"
#include "document/TestImages.h"
#include "document/TilemontDoc.h"
#include "view/TilemontView.h"
#include "view/Tool.h"

#include <QApplication>
#include <QImage>
#include <QPaintEvent>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

// Records every call the view makes to the Areas panel.
struct RecordingPanel : IAreasPanelSink
{
    struct Call
    {
        CTilemontDoc* doc;
        IDocumentView* view;
        bool force;
    };
    std::vector<Call> calls;
    void NotifyAreasPanel(CTilemontDoc* doc, IDocumentView* view, bool force) override
    {
        calls.push_back({doc, view, force});
    }
};

// A tool that writes down what the view forwarded to it.
struct RecordingTool : CTool
{
    QStringList calls;
    void OnRButtonDown(unsigned, int x, int y) override { calls << QStringLiteral("rdown %1 %2").arg(x).arg(y); }
    void OnMouseMove(unsigned, int x, int y) override { calls << QStringLiteral("move %1 %2").arg(x).arg(y); }
    void OnLButtonUp(unsigned, int x, int y) override { calls << QStringLiteral("lup %1 %2").arg(x).arg(y); }
    void OnLButtonDown(unsigned, int x, int y) override { calls << QStringLiteral("ldown %1 %2").arg(x).arg(y); }
};

// Counts the viewport's paint events and keeps the last region painted.
struct PaintSpy : QObject
{
    int paints = 0;
    QRegion lastRegion;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            ++paints;
            lastRegion = static_cast<QPaintEvent*>(event)->region();
        }
        return false;
    }
};

inline QImage SolidImage(int w, int h, QRgb colour)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// A view whose client area is exactly client: no frame and no scroll bars
// taking room (the bars still keep their ranges and positions).
inline std::unique_ptr<CTilemontView> ShowView(CTilemontDoc& doc, QSize client, IAreasPanelSink* panel = nullptr)
{
    auto view = std::make_unique<CTilemontView>(doc, panel);
    view->setFrameShape(QFrame::NoFrame);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view->resize(client);
    view->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    EXPECT_EQ(view->viewport()->size(), client);
    view->UpdateScrollSizes();
    return view;
}

// What the view shows now, painted through its own paint handler.
inline QImage Shot(CTilemontView& view)
{
    QApplication::processEvents();
    return view.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// What the window really shows: its backing store, painted only where it
// was invalidated.
inline QImage Shown(CTilemontView& view)
{
    QApplication::processEvents();
    return view.screen()->grabWindow(view.winId()).toImage().convertToFormat(QImage::Format_RGB32);
}

inline QRgb Px(const QImage& image, int x, int y)
{
    return image.pixel(x, y) | 0xFF000000u;
}

class ViewTest : public ::testing::Test
{
protected:
    ScriptedPrompts prompts;
    CTilemontDoc doc{prompts};

    void SetPicture(const QImage& image) { doc.SetPicture(std::make_unique<QImage>(image)); }
    // The area as the document holds it; setup fills in the rest first.
    const CArea& AddArea(const CPolygon& outline, const std::function<void(CArea&)>& setup = {})
    {
        CArea area;
        area.SetOutline(&outline);
        if (setup)
            setup(area);
        return *doc.FindArea(doc.AddArea(std::move(area), "add"));
    }
    QRgb Window(const CTilemontView& view) const
    {
        return view.viewport()->palette().color(QPalette::Base).rgba() | 0xFF000000u;
    }
};
