#pragma once

#include "BenchEnd.h"
#include "BenchTemplate.h"

#include "document/IDocumentPrompts.h"
#include "document/TilemontDoc.h"
#include "view/TilemontView.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

struct SilentPrompts : IDocumentPrompts
{
    std::optional<QString> AskName(const QString&, const QString&, const QString&) override { return {}; }
    Answer Ask(const QString&, bool) override { return Answer::No; }
    std::optional<QString> AskOpenFileName(const QString&, const QString&) override { return {}; }
    std::optional<QString> AskSaveFileName(const QString&, const QString&) override { return {}; }
    void ShowError(const QString&) override {}
};

// One shown view of the 24-megapixel template, kept for all the benchmarks.
struct ViewFixture
{
    SilentPrompts prompts;
    CTilemontDoc doc{prompts};
    std::unique_ptr<CTilemontView> view;

    ViewFixture()
    {
        BenchTemplate t;
        doc.ResetContent(std::make_unique<QImage>(t.picture), std::move(t.areas));
        doc.SetSelectedIndex(2);
        doc.SetSelection(&doc.GetAreas()[2].GetOutline());
        view = std::make_unique<CTilemontView>(doc, nullptr);
        view->setFrameShape(QFrame::NoFrame);
        view->resize(1600, 1050);
        view->show();
        QApplication::processEvents();
    }

    void Zoom(float z)
    {
        view->SetZoom(z, z);
        view->UpdateScrollSizes();
        view->viewport()->repaint();
    }
};

inline ViewFixture& Fixture()
{
    static ViewFixture* fixture = [] {
        auto* made = new ViewFixture;
        AtBenchEnd([made] { delete made; });
        return made;
    }();
    return *fixture;
}

// Times each iteration on its own and reports the median as well.
template <typename Body>
void TimeEach(benchmark::State& state, Body body)
{
    std::vector<double> ms;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        body();
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(elapsed.count());
        ms.push_back(elapsed.count() * 1e3);
    }
    std::sort(ms.begin(), ms.end());
    if (!ms.empty())
        state.counters["median_ms"] = ms[ms.size() / 2];
}

